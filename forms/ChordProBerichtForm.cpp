#include "forms/ChordProBerichtForm.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TF_ChordProBerichtForm::TF_ChordProBerichtForm(QWidget* parent, const QString& datei,
                                               const QString& zusammenfassung, const QStringList& zeilen)
    : QDialog(parent), m_zeilen(zeilen)
{
    setObjectName(QStringLiteral("TF_ChordProBerichtForm"));
    setWindowTitle(QStringLiteral("ChordPro-Akkorde importiert: %1").arg(datei));
    auto* layout = new QVBoxLayout(this);
    LB_Zusammenfassung = new QLabel(zusammenfassung, this);
    LB_Zusammenfassung->setObjectName(QStringLiteral("LB_Zusammenfassung"));
    LB_Zusammenfassung->setWordWrap(true);
    M_Bericht = new QPlainTextEdit(this);
    M_Bericht->setObjectName(QStringLiteral("M_Bericht"));
    M_Bericht->setReadOnly(true);
    M_Bericht->setPlainText(zeilen.join(QLatin1Char('\n')));
    M_Bericht->setMinimumSize(520, 300);
    layout->addWidget(LB_Zusammenfassung);
    layout->addWidget(M_Bericht);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Ok"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}
