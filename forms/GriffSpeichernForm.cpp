#include "forms/GriffSpeichernForm.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

TF_GriffSpeichern::Antwort& installed()
{
    static TF_GriffSpeichern::Antwort antwort;
    return antwort;
}

void hint(QWidget* widget, const QString& text)
{
    widget->setStatusTip(text);
    widget->setToolTip(text);
}

} // namespace

int TF_GriffSpeichern::s_vonBund = 1;
int TF_GriffSpeichern::s_bisBund = 12;

TF_GriffSpeichern::TF_GriffSpeichern(int tiefsterBund, QWidget* owner, int spanne) : QDialog(owner)
{
    m_letzterBund = std::max(m_ersterBund, 30 - std::max(0, spanne));
    setObjectName(QStringLiteral("TF_GriffSpeichern"));
    setWindowTitle(QStringLiteral("Griff in Grifftabelle speichern"));

    RB_Bund = new QRadioButton(QStringLiteral("&Nur am ausgewählten Bund %1").arg(tiefsterBund), this);
    RB_Bund->setObjectName(QStringLiteral("RB_Bund"));
    RB_Bund->setChecked(true);
    hint(RB_Bund, QStringLiteral("Wird nur einmal in der Grifftabelle gespeichert"));
    RB_BundBereich = new QRadioButton(QStringLiteral("Automatisch &transponieren auf...."), this);
    RB_BundBereich->setObjectName(QStringLiteral("RB_BundBereich"));
    hint(RB_BundBereich, QStringLiteral("Automatisch transponieren und im gesamten Bereich speichern"));

    TCB_VonBund = new QComboBox(this);
    TCB_VonBund->setObjectName(QStringLiteral("TCB_VonBund"));
    hint(TCB_VonBund, QStringLiteral("Ab diesem Bund speichern"));
    L_VonBund = new QLabel(QStringLiteral("&Bund"), this);
    L_VonBund->setObjectName(QStringLiteral("L_VonBund"));
    L_VonBund->setBuddy(TCB_VonBund);
    TCB_BisBund = new QComboBox(this);
    TCB_BisBund->setObjectName(QStringLiteral("TCB_BisBund"));
    hint(TCB_BisBund, QStringLiteral("Bis zu diesem Bund speichern"));
    L_BisBund = new QLabel(QStringLiteral("bis B&und"), this);
    L_BisBund->setObjectName(QStringLiteral("L_BisBund"));
    L_BisBund->setBuddy(TCB_BisBund);

    B_Ok = new QPushButton(QStringLiteral("&Speichern"), this);
    B_Ok->setObjectName(QStringLiteral("B_Ok"));
    B_Ok->setDefault(true);
    hint(B_Ok, QStringLiteral("Speichern"));
    B_Abbruch = new QPushButton(QStringLiteral("&Abbruch"), this);
    B_Abbruch->setObjectName(QStringLiteral("B_Abbruch"));
    hint(B_Abbruch, QStringLiteral("Nicht speichern"));

    auto* frets = new QGridLayout;
    frets->addWidget(L_VonBund, 0, 0);
    frets->addWidget(TCB_VonBund, 0, 1);
    frets->addWidget(L_BisBund, 1, 0);
    frets->addWidget(TCB_BisBund, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_Ok);
    buttons->addWidget(B_Abbruch);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RB_Bund);
    layout->addWidget(RB_BundBereich);
    layout->addLayout(frets);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    fill(TCB_VonBund, m_ersterBund);
    select(TCB_VonBund, s_vonBund);
    fill(TCB_BisBund, vonBund());
    select(TCB_BisBund, s_bisBund);

    connect(RB_Bund, &QRadioButton::clicked, this, &TF_GriffSpeichern::RB_BundClick);
    connect(RB_BundBereich, &QRadioButton::clicked, this, &TF_GriffSpeichern::RB_BundBereichClick);
    // An access key presses a choice but checks and clicks it only 100 ms later: keys typed in between
    // must already reach the choice and the lists it brings into use.
    connect(RB_Bund, &QRadioButton::pressed, this, [this] {
        RB_Bund->setChecked(true);
        RB_BundClick();
    });
    connect(RB_BundBereich, &QRadioButton::pressed, this, [this] {
        RB_BundBereich->setChecked(true);
        RB_BundBereichClick();
    });
    connect(B_Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(B_Abbruch, &QPushButton::clicked, this, &QDialog::reject);
    // The end list follows the start at once, so the dialog always shows the range it stores.
    connect(TCB_VonBund, &QComboBox::currentIndexChanged, this, &TF_GriffSpeichern::TCB_VonBundExit);
    TCB_VonBund->installEventFilter(this);
    FormActivate();
}

int TF_GriffSpeichern::ausfuehren()
{
    const int result = installed() ? installed()(*this) : exec();
    TCB_VonBundExit();
    if (result == QDialog::Accepted && bereich()) {
        s_vonBund = vonBund();
        s_bisBund = bisBund();
    }
    return result;
}

TF_GriffSpeichern::Antwort TF_GriffSpeichern::SetzeAntwort(Antwort antwort)
{
    Antwort previous = std::move(installed());
    installed() = std::move(antwort);
    return previous;
}

bool TF_GriffSpeichern::bereich() const
{
    return RB_BundBereich->isChecked();
}

int TF_GriffSpeichern::vonBund() const
{
    return TCB_VonBund->currentText().toInt();
}

int TF_GriffSpeichern::bisBund() const
{
    return TCB_BisBund->currentText().toInt();
}

void TF_GriffSpeichern::fill(QComboBox* list, int from)
{
    QStringList frets;
    for (int fret = from; fret <= m_letzterBund; ++fret)
        frets << QString::number(fret);
    list->clear();
    list->addItems(frets);
}

void TF_GriffSpeichern::FormActivate()
{
    const bool range = RB_BundBereich->isChecked();
    for (QWidget* control : {static_cast<QWidget*>(TCB_BisBund), static_cast<QWidget*>(TCB_VonBund),
                             static_cast<QWidget*>(L_BisBund), static_cast<QWidget*>(L_VonBund)})
        control->setEnabled(range);
}

void TF_GriffSpeichern::RB_BundClick()
{
    FormActivate();
}

void TF_GriffSpeichern::RB_BundBereichClick()
{
    FormActivate();
    TCB_VonBund->setFocus();
}

void TF_GriffSpeichern::select(QComboBox* list, int bund)
{
    const int first = list->count() > 0 ? list->itemText(0).toInt() : 0;
    list->setCurrentIndex(std::clamp(bund - first, 0, std::max(0, list->count() - 1)));
}

void TF_GriffSpeichern::TCB_VonBundExit()
{
    // The end list starts at the chosen start; the last fret shown stays while it lies behind it.
    const int start = vonBund();
    const int shown = bisBund();
    if (TCB_BisBund->count() > 0 && TCB_BisBund->itemText(0).toInt() == start)
        return;
    const QSignalBlocker blocker(TCB_BisBund);
    fill(TCB_BisBund, start);
    select(TCB_BisBund, std::max(shown, start));
}

bool TF_GriffSpeichern::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TCB_VonBund && event->type() == QEvent::FocusOut)
        TCB_VonBundExit();
    return QDialog::eventFilter(watched, event);
}
