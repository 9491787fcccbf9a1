#include "forms/NeuForm.h"

#include <QAction>
#include <QCheckBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "forms/Cp1252Eingabe.h"
#include "forms/ModelText.h"
#include "table/AkkordDepot.h"

namespace {

const QString stringMimeType = QStringLiteral("application/x-zupfwerk-saite");

void hint(QWidget* widget, const QString& text)
{
    widget->setStatusTip(text);
    widget->setToolTip(text);
}

// The string list carries its own drags: a drop moves a string inside the tuning instead of moving
// list items, so the list is always rebuilt from the tuning.
class StringList : public QListWidget
{
public:
    StringList(TF_Neu* owner, QWidget* parent) : QListWidget(parent), m_owner(owner)
    {
        setSelectionMode(QAbstractItemView::SingleSelection);
        setDragDropMode(QAbstractItemView::DragDrop);
        setDefaultDropAction(Qt::MoveAction);
    }

protected:
    // The tuning keys are read from the key itself, not matched as shortcuts: an X keyboard offers a
    // shifted key both as its shifted and as its plain symbol with Shift ("*" and "Shift++" on a German
    // layout, "+" needs Shift on a US one), which the shortcut map takes as two matches and drops.
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride && tuningItem(static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        return QListWidget::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (QAction* item = tuningItem(event)) {
            item->trigger();
            event->accept();
            return;
        }
        QListWidget::keyPressEvent(event);
    }

    void startDrag(Qt::DropActions /*supportedActions*/) override
    {
        if (currentRow() < 0)
            return;
        m_owner->LB_SaitenStartDrag();
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setData(stringMimeType, QByteArray::number(currentRow()));
        drag->setMimeData(data);
        drag->exec(Qt::MoveAction);
        m_owner->dragFinished();
    }

    void dragEnterEvent(QDragEnterEvent* event) override { acceptOwnDrag(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { acceptOwnDrag(event); }

    void dropEvent(QDropEvent* event) override
    {
        if (!ownDrag(event)) {
            event->ignore();
            return;
        }
        event->setDropAction(Qt::MoveAction);
        event->accept();
        m_owner->LB_SaitenDragDrop(indexAt(event->position().toPoint()).row());
    }

private:
    QAction* tuningItem(const QKeyEvent* event) const
    {
        const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return nullptr;
        switch (event->key()) {
        case Qt::Key_Asterisk:
            return m_owner->PMI_StimmOktHoch;
        case Qt::Key_Underscore:
            return m_owner->PMI_StimmOktTief;
        case Qt::Key_Plus:
            return shift ? m_owner->PMI_StimmOktHoch : m_owner->PMI_StimmTonHoch;
        case Qt::Key_Minus:
            return shift ? m_owner->PMI_StimmOktTief : m_owner->PMI_StimmTonTief;
        default:
            return nullptr;
        }
    }

    bool ownDrag(const QDropEvent* event) const
    {
        return m_owner->LB_SaitenDragOver() && event->mimeData() &&
               event->mimeData()->hasFormat(stringMimeType);
    }

    void acceptOwnDrag(QDragMoveEvent* event)
    {
        if (ownDrag(event)) {
            event->setDropAction(Qt::MoveAction);
            event->accept();
        } else {
            event->ignore();
        }
    }

    TF_Neu* m_owner;
};

QAction* createItem(QWidget* owner, const char* name, const QString& caption, const QList<QKeySequence>& keys,
                    const QString& hintText)
{
    auto* action = new QAction(caption, owner);
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(keys);
    // The keys work while the string list (or the open menu) has the focus, not in the text fields.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    action->setStatusTip(hintText);
    action->setToolTip(hintText);
    return action;
}

// The note of a string shown by its name ("E", "F#/Gb") instead of its number; typing a name works too.
class NoteBox : public QSpinBox
{
public:
    NoteBox(const NotenClass& namen, QWidget* parent) : QSpinBox(parent), m_namen(namen) {}

protected:
    QString textFromValue(int value) const override { return modelToQt(m_namen.TonName(value, true)); }
    int valueFromText(const QString& text) const override
    {
        for (int ton = 0; ton < 12; ++ton)
            if (text.compare(textFromValue(ton), Qt::CaseInsensitive) == 0)
                return ton;
        return value();
    }
    QValidator::State validate(QString& text, int&) const override
    {
        for (int ton = 0; ton < 12; ++ton) {
            const QString name = textFromValue(ton);
            if (text.compare(name, Qt::CaseInsensitive) == 0)
                return QValidator::Acceptable;
            if (name.startsWith(text, Qt::CaseInsensitive))
                return QValidator::Intermediate;
        }
        return QValidator::Invalid;
    }

private:
    const NotenClass& m_namen;
};

void stepWithoutSignal(QSpinBox* box, int step)
{
    const QSignalBlocker blocker(box);
    box->setValue(box->value() + step); // the box clamps: no wrap at either end
}

} // namespace

TF_Neu::TF_Neu(QWidget* owner, const AkkordDepotClass& dokument) : QDialog(owner), m_stimmung(dokument)
{
    setObjectName(QStringLiteral("TF_Neu"));
    setWindowTitle(QStringLiteral("Neue Grifftabelle"));
    createControls();
    createActions();
    createLayout();

    connect(LB_Saiten, &QListWidget::currentRowChanged, this, &TF_Neu::LB_SaitenClick);
    connect(LB_Saiten, &QWidget::customContextMenuRequested, this, &TF_Neu::showStringMenu);
    connect(UD_Ton, &QSpinBox::valueChanged, this, &TF_Neu::UD_TonClick);
    connect(UD_Oktave, &QSpinBox::valueChanged, this, &TF_Neu::UD_OktaveClick);
    connect(BB_Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(BB_Abbruch, &QPushButton::clicked, this, &QDialog::reject);

    FormCreate();

    adjustSize();
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

QString TF_Neu::instrument() const
{
    return E_Instrument->text();
}

QString TF_Neu::info() const
{
    return M_Info->toPlainText();
}

bool TF_Neu::erkennungBehalten() const
{
    return CB_ErkennungBehalten->isChecked();
}

void TF_Neu::createControls()
{
    PC_Neu = new QTabWidget(this);
    PC_Neu->setObjectName(QStringLiteral("PC_Neu"));
    hint(PC_Neu, QStringLiteral("Infos zur neuen Grifftabelle"));

    TS_Saiten = new QWidget;
    TS_Saiten->setObjectName(QStringLiteral("TS_Saiten"));
    hint(TS_Saiten, QStringLiteral("Saiteneinstellung"));
    LB_Saiten = new StringList(this, TS_Saiten);
    LB_Saiten->setObjectName(QStringLiteral("LB_Saiten"));
    LB_Saiten->setContextMenuPolicy(Qt::CustomContextMenu);
    hint(LB_Saiten, QStringLiteral("Die einzelnen Saiten"));
    L_Saiten = new QLabel(QStringLiteral("&Saiten"), TS_Saiten);
    L_Saiten->setObjectName(QStringLiteral("L_Saiten"));
    L_Saiten->setBuddy(LB_Saiten);
    GB_Stimmen = new QGroupBox(QStringLiteral("Saite stimmen"), TS_Saiten);
    GB_Stimmen->setObjectName(QStringLiteral("GB_Stimmen"));
    UD_Ton = new NoteBox(m_stimmung, GB_Stimmen);
    UD_Ton->setObjectName(QStringLiteral("UD_Ton"));
    UD_Ton->setRange(0, 11);
    UD_Ton->setWrapping(false);
    hint(UD_Ton, QStringLiteral("Tonhöhe der ausgewählten Saite"));
    L_TonAendern = new QLabel(QStringLiteral("Ton"), GB_Stimmen);
    L_TonAendern->setObjectName(QStringLiteral("L_TonAendern"));
    L_TonAendern->setBuddy(UD_Ton);
    UD_Oktave = new QSpinBox(GB_Stimmen);
    UD_Oktave->setObjectName(QStringLiteral("UD_Oktave"));
    UD_Oktave->setRange(-8, 8);
    UD_Oktave->setWrapping(false);
    hint(UD_Oktave, QStringLiteral("In welcher Oktave liegt der Ton"));
    L_OktaveAendern = new QLabel(QStringLiteral("Oktave"), GB_Stimmen);
    L_OktaveAendern->setObjectName(QStringLiteral("L_OktaveAendern"));
    L_OktaveAendern->setBuddy(UD_Oktave);

    TS_Info = new QWidget;
    TS_Info->setObjectName(QStringLiteral("TS_Info"));
    E_Instrument = new QLineEdit(TS_Info);
    E_Instrument->setObjectName(QStringLiteral("E_Instrument"));
    E_Instrument->setValidator(new Cp1252Eingabe(E_Instrument));
    hint(E_Instrument, QStringLiteral("Instrumentenbezeichnung"));
    L_Instumentenbez = new QLabel(QStringLiteral("&Instrument"), TS_Info);
    L_Instumentenbez->setObjectName(QStringLiteral("L_Instumentenbez"));
    L_Instumentenbez->setBuddy(E_Instrument);
    M_Info = new QPlainTextEdit(TS_Info);
    M_Info->setObjectName(QStringLiteral("M_Info"));
    nurCp1252(M_Info);
    hint(M_Info, QStringLiteral("Infotext zur neuen Grifftabelle"));
    L_Info = new QLabel(QStringLiteral("In&fo"), TS_Info);
    L_Info->setObjectName(QStringLiteral("L_Info"));
    L_Info->setBuddy(M_Info);

    TS_Sonst = new QWidget;
    TS_Sonst->setObjectName(QStringLiteral("TS_Sonst"));
    hint(TS_Sonst, QStringLiteral("Sonstige Einstellungen"));
    CB_ErkennungBehalten = new QCheckBox(QStringLiteral("A&kkorderkennung behalten"), TS_Sonst);
    CB_ErkennungBehalten->setObjectName(QStringLiteral("CB_ErkennungBehalten"));
    CB_ErkennungBehalten->setChecked(true);
    hint(CB_ErkennungBehalten,
         QStringLiteral("Die neue Grifftabelle übernimmt die vorhandene Akkorderkennung"));

    PC_Neu->addTab(TS_Saiten, QStringLiteral("Saiten"));
    PC_Neu->setTabToolTip(0, TS_Saiten->toolTip());
    PC_Neu->addTab(TS_Info, QStringLiteral("Info"));
    PC_Neu->addTab(TS_Sonst, QStringLiteral("Sonst"));
    PC_Neu->setTabToolTip(2, TS_Sonst->toolTip());

    BB_Ok = new QPushButton(QStringLiteral("Anle&gen"), this);
    BB_Ok->setObjectName(QStringLiteral("BB_Ok"));
    BB_Ok->setDefault(true);
    hint(BB_Ok, QStringLiteral("Neue Grifftabelle anlegen"));
    BB_Abbruch = new QPushButton(QStringLiteral("&Laß mal"), this);
    BB_Abbruch->setObjectName(QStringLiteral("BB_Abbruch"));
    hint(BB_Abbruch, QStringLiteral("Doch lieber keine neue Grifftabelle"));
}

void TF_Neu::createActions()
{
    // Plus and minus of the main keyboard. Shift with them yields '*' and '_' on German keyboards,
    // while a US keyboard reports Shift+'+' for the plus key itself: all of these raise or lower the
    // octave, the bare keys the note.
    PMI_Hoch = createItem(this, "PMI_Hoch", QStringLiteral("&Hoch"), {QKeySequence(Qt::CTRL | Qt::Key_H)},
                          QStringLiteral("Saite nach oben verschieben"));
    PMI_Runter =
        createItem(this, "PMI_Runter", QStringLiteral("&Runter"), {QKeySequence(Qt::CTRL | Qt::Key_R)},
                   QStringLiteral("Saite nach unten verschieben"));
    PMI_SaiteZufuegen = createItem(this, "PMI_SaiteZufuegen", QStringLiteral("&Zufügen"),
                                   {QKeySequence(Qt::Key_Insert)}, QStringLiteral("Saite zufügen"));
    PMI_SaiteEntfernen = createItem(this, "PMI_SaiteEntfernen", QStringLiteral("&Entfernen"),
                                    {QKeySequence(Qt::Key_Delete)}, QStringLiteral("Saite entfernen"));
    PMI_StimmTonHoch =
        createItem(this, "PMI_StimmTonHoch", QStringLiteral("&Ton höher stimmen"),
                   {QKeySequence(Qt::Key_Plus)}, QStringLiteral("Saite um einen Halbton höher stimmen"));
    PMI_StimmTonTief =
        createItem(this, "PMI_StimmTonTief", QStringLiteral("Ton tie&fer stimmen"),
                   {QKeySequence(Qt::Key_Minus)}, QStringLiteral("Saite um einen Halbton tiefer stimmen"));
    PMI_StimmOktHoch = createItem(this, "PMI_StimmOktHoch", QStringLiteral("&Oktave höher stimmen"),
                                  {QKeySequence(Qt::SHIFT | Qt::Key_Plus), QKeySequence(Qt::Key_Asterisk)},
                                  QStringLiteral("Saite um eine Oktave höher stimmen"));
    PMI_StimmOktTief = createItem(this, "PMI_StimmOktTief", QStringLiteral("Okt&ave tiefer stimmen"),
                                  {QKeySequence(Qt::SHIFT | Qt::Key_Minus), QKeySequence(Qt::Key_Underscore)},
                                  QStringLiteral("Saite um eine Oktave tiefer stimmen"));

    PM_Saiten = new QMenu(this);
    PM_Saiten->setObjectName(QStringLiteral("PM_Saiten"));
    PM_Saiten->setToolTipsVisible(true);
    PM_Saiten->addActions({PMI_Hoch, PMI_Runter});
    PM_Saiten->addSeparator();
    PM_Saiten->addActions({PMI_SaiteZufuegen, PMI_SaiteEntfernen});
    PM_Saiten->addSeparator();
    PM_Saiten->addActions({PMI_StimmTonHoch, PMI_StimmTonTief, PMI_StimmOktHoch, PMI_StimmOktTief});
    LB_Saiten->addActions({PMI_Hoch, PMI_Runter, PMI_SaiteZufuegen, PMI_SaiteEntfernen, PMI_StimmTonHoch,
                           PMI_StimmTonTief, PMI_StimmOktHoch, PMI_StimmOktTief});

    connect(PMI_Hoch, &QAction::triggered, this, &TF_Neu::PMI_HochClick);
    connect(PMI_Runter, &QAction::triggered, this, &TF_Neu::PMI_RunterClick);
    connect(PMI_SaiteZufuegen, &QAction::triggered, this, &TF_Neu::PMI_SaiteZufuegenClick);
    connect(PMI_SaiteEntfernen, &QAction::triggered, this, &TF_Neu::PMI_SaiteEntfernenClick);
    connect(PMI_StimmTonHoch, &QAction::triggered, this, &TF_Neu::PMI_StimmTonHochClick);
    connect(PMI_StimmTonTief, &QAction::triggered, this, &TF_Neu::PMI_StimmTonTiefClick);
    connect(PMI_StimmOktHoch, &QAction::triggered, this, &TF_Neu::PMI_StimmOktHochClick);
    connect(PMI_StimmOktTief, &QAction::triggered, this, &TF_Neu::PMI_StimmOktTiefClick);
}

void TF_Neu::createLayout()
{
    auto* tuning = new QGridLayout(GB_Stimmen);
    tuning->addWidget(L_TonAendern, 0, 0);
    tuning->addWidget(UD_Ton, 0, 1);
    tuning->addWidget(L_OktaveAendern, 1, 0);
    tuning->addWidget(UD_Oktave, 1, 1);
    tuning->setRowStretch(2, 1);

    auto* list = new QVBoxLayout;
    list->addWidget(L_Saiten);
    list->addWidget(LB_Saiten);
    auto* strings = new QHBoxLayout(TS_Saiten);
    strings->addLayout(list, 1);
    strings->addWidget(GB_Stimmen);

    auto* texts = new QVBoxLayout(TS_Info);
    texts->addWidget(L_Instumentenbez);
    texts->addWidget(E_Instrument);
    texts->addWidget(L_Info);
    texts->addWidget(M_Info, 1);

    auto* other = new QVBoxLayout(TS_Sonst);
    other->addWidget(CB_ErkennungBehalten);
    other->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BB_Ok);
    buttons->addWidget(BB_Abbruch);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PC_Neu);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    LB_Saiten->setFixedSize(160, 130);
    M_Info->setFixedHeight(90);
}

void TF_Neu::FormCreate()
{
    listFill(0);
    controlsUpdate();
}

int TF_Neu::selectedLine() const
{
    return LB_Saiten->currentRow();
}

int TF_Neu::positionOfLine(int line) const
{
    return m_stimmung.SaitenAnzahl() - 1 - line;
}

void TF_Neu::listFill(int line)
{
    const QSignalBlocker blocker(LB_Saiten);
    LB_Saiten->clear();
    const int count = m_stimmung.SaitenAnzahl();
    for (int n = count; n >= 1; --n)
        LB_Saiten->addItem(modelToQt(m_stimmung.SaitenBezeichnung(n)));
    // A selection below the shortened list moves to its last line.
    if (count > 0)
        LB_Saiten->setCurrentRow(line < 0 ? 0 : std::min(line, count - 1));
}

void TF_Neu::controlsUpdate()
{
    const int n = LB_Saiten->count();
    const int s = selectedLine();
    PMI_Runter->setEnabled(n > 1 && s >= 0 && s < n - 1);
    PMI_Hoch->setEnabled(n >= 2 && s >= 1);
    PMI_SaiteEntfernen->setEnabled(n > 0);
    PMI_SaiteZufuegen->setEnabled(n < MaxSaiten);
    BB_Ok->setEnabled(n > 1);
    UD_Ton->setEnabled(n > 0);
    UD_Oktave->setEnabled(n > 0);
    for (QAction* action : {PMI_StimmTonHoch, PMI_StimmTonTief, PMI_StimmOktHoch, PMI_StimmOktTief})
        action->setEnabled(n > 0);

    StimmSaiteClass string;
    if (s < 0 || m_stimmung.SaiteLesen(positionOfLine(s) + 1, &string) == KeinTon)
        return;
    const QSignalBlocker octaveBlocker(UD_Oktave);
    const QSignalBlocker noteBlocker(UD_Ton);
    UD_Oktave->setValue(string.Oktave);
    UD_Ton->setValue(string.Ton);
}

void TF_Neu::LB_SaitenClick()
{
    controlsUpdate();
}

void TF_Neu::LB_SaitenStartDrag()
{
    m_ziehen = true;
}

void TF_Neu::LB_SaitenDragDrop(int zielZeile)
{
    const int source = selectedLine();
    const int count = m_stimmung.SaitenAnzahl();
    if (m_ziehen && source >= 0 && zielZeile >= 0 && zielZeile < count && zielZeile != source) {
        int position = positionOfLine(source);
        const int target = positionOfLine(zielZeile);
        const int step = target > position ? 1 : -1;
        for (; position != target; position += step)
            m_stimmung.SaitenTauschen(position, position + step);
        listFill(zielZeile);
        controlsUpdate();
    }
    m_ziehen = false;
}

void TF_Neu::selectedStringWrite()
{
    const int s = selectedLine();
    if (s < 0)
        return;
    StimmSaiteClass string;
    string.Ton = static_cast<std::uint8_t>(UD_Ton->value());
    string.Oktave = UD_Oktave->value();
    m_stimmung.SaiteSetzen(positionOfLine(s) + 1, string);
    listFill(s);
    controlsUpdate();
}

void TF_Neu::UD_TonClick()
{
    selectedStringWrite();
}

void TF_Neu::UD_OktaveClick()
{
    selectedStringWrite();
}

void TF_Neu::PMI_HochClick()
{
    const int s = selectedLine();
    if (s < 1)
        return;
    const int position = positionOfLine(s);
    m_stimmung.SaitenTauschen(position, position + 1);
    listFill(s - 1);
    controlsUpdate();
}

void TF_Neu::PMI_RunterClick()
{
    const int s = selectedLine();
    if (s < 0 || s >= LB_Saiten->count() - 1)
        return;
    const int position = positionOfLine(s);
    m_stimmung.SaitenTauschen(position, position - 1);
    listFill(s + 1);
    controlsUpdate();
}

void TF_Neu::PMI_SaiteZufuegenClick()
{
    if (!m_stimmung.SaiteZufuegen())
        return;
    listFill(0);
    controlsUpdate();
}

void TF_Neu::PMI_SaiteEntfernenClick()
{
    const int s = selectedLine();
    if (s < 0 || !m_stimmung.SaiteEntfernen(positionOfLine(s)))
        return;
    listFill(s);
    controlsUpdate();
}

void TF_Neu::PMI_StimmTonHochClick()
{
    stepWithoutSignal(UD_Ton, 1);
    UD_TonClick();
}

void TF_Neu::PMI_StimmTonTiefClick()
{
    stepWithoutSignal(UD_Ton, -1);
    UD_TonClick();
}

void TF_Neu::PMI_StimmOktHochClick()
{
    stepWithoutSignal(UD_Oktave, 1);
    UD_OktaveClick();
}

void TF_Neu::PMI_StimmOktTiefClick()
{
    stepWithoutSignal(UD_Oktave, -1);
    UD_OktaveClick();
}

void TF_Neu::showStringMenu(const QPoint& position)
{
    PM_Saiten->popup(LB_Saiten->viewport()->mapToGlobal(position));
}
