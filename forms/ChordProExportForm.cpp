#include "forms/ChordProExportForm.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TF_ChordProExportForm::TF_ChordProExportForm(QWidget* parent, int griffAnzahl) : QDialog(parent)
{
    setObjectName(QStringLiteral("TF_ChordProExportForm"));
    setWindowTitle(QStringLiteral("Als ChordPro exportieren"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("%1 Griffe als {define}-Zeilen; mehrere Griffe eines Akkords heißen \"Am\", \"Am_2\" ...")
            .arg(griffAnzahl),
        this));
    CB_Finger = new QCheckBox(QStringLiteral("&Fingersatz schreiben (ältere Programme wie chordii 4.5 "
                                             "warnen dabei)"),
                              this);
    CB_Finger->setObjectName(QStringLiteral("CB_Finger"));
    CB_Finger->setChecked(true);
    RB_International = new QRadioButton(QStringLiteral("&Internationale Tonnamen (B statt H, Bb statt B)"), this);
    RB_International->setObjectName(QStringLiteral("RB_International"));
    RB_International->setChecked(true);
    RB_Tabelle = new QRadioButton(QStringLiteral("&Tonnamen der Grifftabelle"), this);
    RB_Tabelle->setObjectName(QStringLiteral("RB_Tabelle"));
    layout->addWidget(CB_Finger);
    layout->addWidget(RB_International);
    layout->addWidget(RB_Tabelle);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Exportieren..."));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Abbruch"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool TF_ChordProExportForm::mitFingern() const
{
    return CB_Finger->isChecked();
}

Tonnamen TF_ChordProExportForm::tonnamen() const
{
    return RB_Tabelle->isChecked() ? Tonnamen::Tabelle : Tonnamen::International;
}
