#include "forms/LiedblattForm.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TF_LiedblattForm::TF_LiedblattForm(QWidget* parent, const QString& titel, const QString& akkorde) : QDialog(parent)
{
    setObjectName(QStringLiteral("TF_LiedblattForm"));
    setWindowTitle(QStringLiteral("Liedblatt"));
    auto* layout = new QVBoxLayout(this);
    auto* beschreibung = new QLabel(QStringLiteral("<b>%1</b><br>%2").arg(titel.toHtmlEscaped(), akkorde.toHtmlEscaped()),
                                    this);
    beschreibung->setWordWrap(true);
    layout->addWidget(beschreibung);
    auto* form = new QFormLayout;
    SE_Transponieren = new QSpinBox(this);
    SE_Transponieren->setObjectName(QStringLiteral("SE_Transponieren"));
    SE_Transponieren->setRange(-11, 11);
    SE_Transponieren->setSuffix(QStringLiteral(" Halbtöne"));
    SE_Kapo = new QSpinBox(this);
    SE_Kapo->setObjectName(QStringLiteral("SE_Kapo"));
    SE_Kapo->setRange(0, 12);
    SE_Kapo->setSpecialValueText(QStringLiteral("ohne"));
    auto* transponieren = new QLabel(QStringLiteral("&Transponieren:"), this);
    transponieren->setBuddy(SE_Transponieren);
    auto* kapo = new QLabel(QStringLiteral("&Kapodaster im Bund:"), this);
    kapo->setBuddy(SE_Kapo);
    form->addRow(transponieren, SE_Transponieren);
    form->addRow(kapo, SE_Kapo);
    layout->addLayout(form);
    CB_ErsterGriff = new QCheckBox(QStringLiteral("&Erster gespeicherter Griff je Akkord (statt der Wahl "
                                                  "für das ganze Lied)"),
                                   this);
    CB_ErsterGriff->setObjectName(QStringLiteral("CB_ErsterGriff"));
    CB_Finger = new QCheckBox(QStringLiteral("&Fingersatz in die {define}-Zeilen schreiben"), this);
    CB_Finger->setObjectName(QStringLiteral("CB_Finger"));
    CB_Finger->setChecked(true);
    layout->addWidget(CB_ErsterGriff);
    layout->addWidget(CB_Finger);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Speichern..."));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Abbruch"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

LiedblattEinstellung TF_LiedblattForm::einstellung() const
{
    LiedblattEinstellung e;
    e.transponieren = SE_Transponieren->value();
    e.kapo = SE_Kapo->value();
    e.wahl = CB_ErsterGriff->isChecked() ? Griffwahl::ErsterGespeicherter : Griffwahl::GanzesLied;
    return e;
}

bool TF_LiedblattForm::mitFingern() const
{
    return CB_Finger->isChecked();
}
