#include "forms/GrifftabForm.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStatusTipEvent>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QToolTip>
#include <QVBoxLayout>

#include "erkennung/Treffer.h"
#include "forms/Cp1252Eingabe.h"
#include "forms/ElidedItemTips.h"
#include "forms/MeldungZeigen.h"
#include "forms/ModelText.h"
#include "grip/AkkordDaten.h"
#include "table/AkkordDepot.h"
#include "theory/Intervalle.h"

namespace {

const QString typeMimeFormat = QStringLiteral("application/x-zupfwerk-akkordtyp");
constexpr int rootCount = 12;

// Designed widths of the header sections and their limits.
constexpr int rootWidth = 41;
constexpr int rootMinWidth = 20;
constexpr int rootMaxWidth = 100;
constexpr int rootCountShown = 12;
constexpr int typeWidth = 66;
constexpr int typeMinWidth = 50;
constexpr int fretWidth = 26;

// A list box as the design knows it: a press chooses, a click never deselects, the right button
// chooses the row under it before its pop-up acts on it, and a drag is the window's business.
class ChoiceList : public QListWidget
{
public:
    using QListWidget::QListWidget;

    std::function<void()> chosen;
    std::function<void()> dragStarted;
    std::function<bool()> dropAllowed;
    std::function<void(int row)> dropped;
    std::function<void()> dragEnded;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override
    {
        if (!index.isValid())
            return QItemSelectionModel::NoUpdate;
        const QItemSelectionModel::SelectionFlags flags = QListWidget::selectionCommand(index, event);
        if (flags.testFlag(QItemSelectionModel::Deselect) || flags.testFlag(QItemSelectionModel::Toggle))
            return QItemSelectionModel::ClearAndSelect;
        return flags;
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::RightButton) {
            const QListWidgetItem* item = itemAt(event->position().toPoint());
            if (item && row(item) != currentRow()) {
                setCurrentRow(row(item));
                if (chosen)
                    chosen();
            }
            event->accept();
            return;
        }
        QListWidget::mousePressEvent(event);
        m_pressRow = currentRow();
        if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) && chosen)
            chosen();
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QListWidget::mouseReleaseEvent(event);
        // Dragging with the button held can move the selection after the press.
        if (event->button() == Qt::LeftButton && currentRow() >= 0 && currentRow() != m_pressRow && chosen)
            chosen();
        m_pressRow = -1;
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        const int before = currentRow();
        QListWidget::keyPressEvent(event);
        if (currentRow() >= 0 && currentRow() != before && chosen)
            chosen();
    }

    void startDrag(Qt::DropActions /*supportedActions*/) override
    {
        if (dragStarted)
            dragStarted();
        auto* drag = new QDrag(this);
        auto* data = new QMimeData; // owned by the drag from here on
        data->setData(typeMimeFormat, QByteArray::number(currentRow()));
        drag->setMimeData(data);
        drag->exec(Qt::MoveAction);
        if (dragEnded)
            dragEnded();
    }

    void dragEnterEvent(QDragEnterEvent* event) override { acceptWhenAllowed(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { acceptWhenAllowed(event); }

    void dropEvent(QDropEvent* event) override
    {
        if (!(dropAllowed && dropAllowed())) {
            event->ignore();
            return;
        }
        event->acceptProposedAction();
        const QModelIndex index = indexAt(event->position().toPoint());
        if (dropped)
            dropped(index.isValid() ? index.row() : -1);
    }

private:
    void acceptWhenAllowed(QDropEvent* event)
    {
        if (dropAllowed && dropAllowed())
            event->acceptProposedAction();
        else
            event->ignore();
    }

    int m_pressRow = -1;
};

// An up-down control: only the arrows, the interval shows in its own label.
class ArrowSpinBox : public QSpinBox
{
public:
    using QSpinBox::QSpinBox;

    QSize sizeHint() const override
    {
        QStyleOptionSpinBox option;
        initStyleOption(&option);
        const int probeWidth = 80;
        option.rect = QRect(0, 0, probeWidth, QSpinBox::sizeHint().height());
        const QRect field =
            style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxEditField, this);
        return {probeWidth - field.width() + 2, option.rect.height()};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    QString textFromValue(int /*value*/) const override { return {}; }
    int valueFromText(const QString& /*text*/) const override { return value(); }
    QValidator::State validate(QString& input, int& /*pos*/) const override
    {
        return input.isEmpty() ? QValidator::Acceptable : QValidator::Invalid;
    }
};

void hint(QWidget* widget, const QString& text)
{
    widget->setStatusTip(text);
}

int selectedRow(const QListWidget* list)
{
    const int row = list->currentRow();
    return row >= 0 && list->item(row)->isSelected() ? row : -1;
}

void selectRow(QListWidget* list, int row)
{
    list->setCurrentRow(row >= 0 && row < list->count() ? row : -1);
}

// The texts of frets 0..MaxBund, shared by every list item instead of formatted per grip.
QString fretText(int fret)
{
    static const QStringList texts = [] {
        QStringList list;
        for (int i = 0; i <= MaxBund; ++i)
            list << QString::number(i);
        return list;
    }();
    return fret >= 0 && fret <= MaxBund ? texts[fret] : QString::number(fret);
}

} // namespace

TF_GrifftabForm::TF_GrifftabForm(AkkordDepotClass& dokument, Benachrichtigung benachrichtigen,
                                 Hinweis hinweis, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_dokument(dokument),
      m_benachrichtigen(std::move(benachrichtigen)), m_hinweis(std::move(hinweis)),
      m_griffe(std::make_unique<int[]>(MaxGriffe))
{
    setObjectName(QStringLiteral("TF_GrifftabForm"));
    setWindowTitle(QStringLiteral("Grifftabelle"));
    // The designed 8-point face: the root names fit their 41-pixel column.
    QFont designed = font();
    designed.setPointSizeF(8.0);
    setFont(designed);
    createControls();
    createEditPanel();
    createActions();
    createMenus();
    connectControls();
    GrundtoeneFuellen();
    // The designed widths cut off titles and names in larger fonts: the sections start wide enough.
    for (int section = 0; section < 2; ++section)
        HC_Kopf->resizeSection(section, std::max(HC_Kopf->sectionSize(section), spaltenMinimum(section)));
    minimumSizeUpdate();
    resize(std::max(141, Standardbreite()), 312);
    arrangeControls();
}

TF_GrifftabForm::~TF_GrifftabForm() = default;

void TF_GrifftabForm::createControls()
{
    HC_Kopf = new QHeaderView(Qt::Horizontal, this);
    HC_Kopf->setObjectName(QStringLiteral("HC_Kopf"));
    auto* sections = new QStandardItemModel(0, 3, HC_Kopf);
    sections->setHorizontalHeaderLabels(
        {QStringLiteral("Grundton"), QStringLiteral("Akkord"), QStringLiteral("Bund")});
    HC_Kopf->setModel(sections);
    HC_Kopf->setSectionsClickable(true);
    HC_Kopf->setTextElideMode(Qt::ElideRight);
    HC_Kopf->setHighlightSections(false);
    HC_Kopf->setSectionsMovable(false);
    HC_Kopf->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    HC_Kopf->setMinimumSectionSize(rootMinWidth);
    HC_Kopf->setStretchLastSection(false);
    HC_Kopf->resizeSection(0, rootWidth);
    HC_Kopf->resizeSection(1, typeWidth);
    HC_Kopf->resizeSection(2, fretWidth);

    const auto makeList = [this](const char* name, const QString& hintText) {
        auto* list = new ChoiceList(this);
        list->setObjectName(QString::fromLatin1(name));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setUniformItemSizes(true);
        list->setTextElideMode(Qt::ElideRight);
        list->setItemDelegate(new ElidedItemTips(list));
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        hint(list, hintText);
        return list;
    };
    auto* roots = makeList("LB_Grund", QStringLiteral("Die Grundtöne der jeweiligen Akkorde"));
    auto* types = makeList("LB_Akkorde", QStringLiteral("Die Akkordbezeichnungen"));
    auto* frets = makeList("LB_Buende", QStringLiteral("Die vorhandenen Griffe. Angezeigt werden die Bünde"));
    roots->chosen = [this] { LB_GrundClick(); };
    types->chosen = [this] { LB_AkkordeClick(); };
    frets->chosen = [this] { LB_BuendeClick(); };
    types->setDragEnabled(true);
    types->setAcceptDrops(true);
    types->setDragDropMode(QAbstractItemView::DragDrop);
    types->setDefaultDropAction(Qt::MoveAction);
    types->setDropIndicatorShown(false);
    types->dragStarted = [this] { LB_AkkordeStartDrag(); };
    types->dropAllowed = [this] { return LB_AkkordeDragOver(); };
    types->dropped = [this](int row) { LB_AkkordeDragDrop(row); };
    types->dragEnded = [this] { LB_AkkordeEndDrag(); };
    LB_Grund = roots;
    LB_Akkorde = types;
    LB_Buende = frets;

    E_GrundBez = new QLineEdit(QStringLiteral("----"), LB_Grund->viewport());
    E_GrundBez->setObjectName(QStringLiteral("E_GrundBez"));
    E_GrundBez->setFrame(false);
    QFont small = E_GrundBez->font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() - 1.0));
    E_GrundBez->setFont(small);
    E_GrundBez->setValidator(new Cp1252Eingabe(E_GrundBez));
    E_GrundBez->setEnabled(false);
    E_GrundBez->hide();
    hint(E_GrundBez, QStringLiteral("Grundtonbezeichnung"));

    P_OkAbbruch = new QFrame(this);
    P_OkAbbruch->setObjectName(QStringLiteral("P_OkAbbruch"));
    CB_Bearbeiten = new QCheckBox(QStringLiteral("&Erkennung bearbeiten"), P_OkAbbruch);
    CB_Bearbeiten->setObjectName(QStringLiteral("CB_Bearbeiten"));
    hint(CB_Bearbeiten, QStringLiteral("Akkorderkennung bearbeiten"));
    auto* bottom = new QHBoxLayout(P_OkAbbruch);
    bottom->setContentsMargins(2, 0, 0, 0);
    bottom->addWidget(CB_Bearbeiten);
    bottom->addStretch();
}

void TF_GrifftabForm::createEditPanel()
{
    P_Bearbeiten = new QFrame(this);
    P_Bearbeiten->setObjectName(QStringLiteral("P_Bearbeiten"));
    P_Bearbeiten->setFrameShape(QFrame::StyledPanel);

    CB_NameOrIntervall = new QCheckBox(QStringLiteral("&N"), P_Bearbeiten);
    CB_NameOrIntervall->setObjectName(QStringLiteral("CB_NameOrIntervall"));
    hint(CB_NameOrIntervall, QStringLiteral("Bezeichner bearbeiten oder Intervall anzeigen (Alt+N)"));
    L_Pfeil = new QLabel(QStringLiteral(">>"), P_Bearbeiten);
    L_Pfeil->setObjectName(QStringLiteral("L_Pfeil"));
    E_AName = new QLineEdit(P_Bearbeiten);
    E_AName->setObjectName(QStringLiteral("E_AName"));
    E_AName->setMaxLength(MaxTypNameLaenge);
    E_AName->setValidator(new Cp1252Eingabe(E_AName));
    hint(E_AName, QStringLiteral("Intervalle oder Akkordbezeichnung"));

    UP_Intervall = new ArrowSpinBox(P_Bearbeiten);
    UP_Intervall->setObjectName(QStringLiteral("UP_Intervall"));
    UP_Intervall->setRange(0, AnzahlIntervallcodes - 1);
    UP_Intervall->setWrapping(false);
    hint(UP_Intervall, QStringLiteral("Intervall auswählen"));

    P_Intervall = new QFrame(P_Bearbeiten);
    P_Intervall->setObjectName(QStringLiteral("P_Intervall"));
    P_Intervall->setFrameShape(QFrame::Panel);
    P_Intervall->setFrameShadow(QFrame::Sunken);
    L_Intervall = new QLabel(QStringLiteral("------"), P_Intervall);
    L_Intervall->setObjectName(QStringLiteral("L_Intervall"));
    L_Intervall->setAlignment(Qt::AlignCenter);
    QFont bold = L_Intervall->font();
    bold.setBold(true);
    L_Intervall->setFont(bold);
    hint(L_Intervall, QStringLiteral("Ausgewähltes Akkordintervall"));
    auto* intervalLayout = new QHBoxLayout(P_Intervall);
    intervalLayout->setContentsMargins(1, 1, 1, 1);
    intervalLayout->addWidget(L_Intervall);

    B_add = new QPushButton(QStringLiteral("+"), P_Bearbeiten);
    B_add->setObjectName(QStringLiteral("B_add"));
    hint(B_add, QStringLiteral("Ausgewähltes Intervall zu Akkord zufügen / Neuer Akkord (Shift)"));
    B_sub = new QPushButton(QStringLiteral("-"), P_Bearbeiten);
    B_sub->setObjectName(QStringLiteral("B_sub"));
    hint(B_sub, QStringLiteral("Ausgewähltes Intervall aus Akkord entfernen /  Akkord entfernen (Shift)"));
    const int buttonWidth = std::max(22, B_add->fontMetrics().horizontalAdvance(QStringLiteral("+")) + 12);
    B_add->setFixedWidth(buttonWidth);
    B_sub->setFixedWidth(buttonWidth);

    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(2);
    nameRow->addWidget(CB_NameOrIntervall);
    nameRow->addWidget(L_Pfeil);
    nameRow->addWidget(E_AName, 1);
    auto* intervalRow = new QHBoxLayout;
    intervalRow->setSpacing(2);
    intervalRow->addWidget(UP_Intervall);
    intervalRow->addWidget(P_Intervall, 1);
    intervalRow->addWidget(B_add);
    intervalRow->addWidget(B_sub);
    auto* layout = new QVBoxLayout(P_Bearbeiten);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(3);
    layout->addLayout(nameRow);
    layout->addLayout(intervalRow);

    P_Bearbeiten->setEnabled(false);
    P_Bearbeiten->hide();
}

QAction* TF_GrifftabForm::createAction(QWidget* list, const char* name, const QString& caption,
                                       const QKeySequence& key, const QString& hintText)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    if (!hintText.isEmpty()) {
        action->setStatusTip(hintText);
        action->setToolTip(hintText);
    }
    if (!key.isEmpty()) {
        // The shortcut belongs to its list: Del removes a chord type in one list, a grip in the other.
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        list->addAction(action);
    }
    return action;
}

void TF_GrifftabForm::createActions()
{
    PMI_Hoch =
        createAction(LB_Akkorde, "PMI_Hoch", QStringLiteral("&Hoch"), QKeySequence(Qt::CTRL | Qt::Key_H),
                     QStringLiteral("Akkord nach oben verschieben"));
    PMI_Runter =
        createAction(LB_Akkorde, "PMI_Runter", QStringLiteral("&Runter"), QKeySequence(Qt::CTRL | Qt::Key_R),
                     QStringLiteral("Akkord nach unten verschieben"));
    PMI_TypZufuegen = createAction(LB_Akkorde, "PMI_TypZufuegen", QStringLiteral("&Zufügen"),
                                   QKeySequence(Qt::Key_Insert), QString());
    PMI_TypEntfernen =
        createAction(LB_Akkorde, "PMI_TypEntfernen", QStringLiteral("&Entfernen"),
                     QKeySequence(Qt::Key_Delete), QStringLiteral("Ausgewählter Akkordtyp wird entfernt"));
    PMI_AkkordeSort =
        createAction(LB_Buende, "PMI_AkkordeSort", QStringLiteral("&Alle sortieren"), QKeySequence(),
                     QStringLiteral("Alle gespeicherten Akkorde werden nach Bünde sortiert"));
    PMI_NrEntfernen =
        createAction(LB_Buende, "PMI_NrEntfernen", QStringLiteral("&Entfernen"), QKeySequence(Qt::Key_Delete),
                     QStringLiteral("Angezeigter Griff wird entfernt"));
    PMI_Umbenennen = createAction(LB_Grund, "PMI_Umbenennen", QStringLiteral("&Umbennen"), QKeySequence(),
                                  QStringLiteral("Die Tonbezeichnung ändern"));
    PMI_UmbenennenKurz =
        createAction(LB_Grund, "PMI_UmbenennenKurz", QStringLiteral("Umbennen, &Kurzform"), QKeySequence(),
                     QStringLiteral("Die Kurzbezeichnung des Tons umbenennen"));

    connect(PMI_Hoch, &QAction::triggered, this, &TF_GrifftabForm::PMI_HochClick);
    connect(PMI_Runter, &QAction::triggered, this, &TF_GrifftabForm::PMI_RunterClick);
    connect(PMI_TypZufuegen, &QAction::triggered, this, &TF_GrifftabForm::PMI_TypZufuegenClick);
    connect(PMI_TypEntfernen, &QAction::triggered, this, &TF_GrifftabForm::PMI_TypEntfernenClick);
    connect(PMI_AkkordeSort, &QAction::triggered, this, &TF_GrifftabForm::PMI_AkkordeSortClick);
    connect(PMI_NrEntfernen, &QAction::triggered, this, &TF_GrifftabForm::PMI_NrEntfernenClick);
    connect(PMI_Umbenennen, &QAction::triggered, this, &TF_GrifftabForm::PMI_UmbenennenClick);
    connect(PMI_UmbenennenKurz, &QAction::triggered, this, &TF_GrifftabForm::PMI_UmbenennenKurzClick);
}

void TF_GrifftabForm::createMenus()
{
    PM_ATypen = new QMenu(this);
    PM_ATypen->setObjectName(QStringLiteral("PM_ATypen"));
    PM_ATypen->addAction(PMI_Hoch);
    PM_ATypen->addAction(PMI_Runter);
    PM_ATypen->addSeparator();
    PM_ATypen->addAction(PMI_TypZufuegen);
    PM_ATypen->addAction(PMI_TypEntfernen);

    PM_Buende = new QMenu(this);
    PM_Buende->setObjectName(QStringLiteral("PM_Buende"));
    PM_Buende->addAction(PMI_AkkordeSort);
    PM_Buende->addAction(PMI_NrEntfernen);

    PM_AGrund = new QMenu(this);
    PM_AGrund->setObjectName(QStringLiteral("PM_AGrund"));
    PM_AGrund->addAction(PMI_Umbenennen);
    PM_AGrund->addAction(PMI_UmbenennenKurz);

    const std::pair<QListWidget*, QMenu*> popups[] = {
        {LB_Akkorde, PM_ATypen}, {LB_Buende, PM_Buende}, {LB_Grund, PM_AGrund}};
    for (const auto& [list, menu] : popups) {
        connect(list, &QWidget::customContextMenuRequested, menu,
                [list = list, menu = menu](const QPoint& pos) {
                    menu->popup(list->viewport()->mapToGlobal(pos));
                });
    }
}

void TF_GrifftabForm::connectControls()
{
    connect(HC_Kopf, &QHeaderView::sectionClicked, this, &TF_GrifftabForm::HC_KopfSectionClick);
    connect(HC_Kopf, &QHeaderView::sectionResized, this, &TF_GrifftabForm::HC_KopfSectionResize);
    connect(CB_Bearbeiten, &QCheckBox::clicked, this, &TF_GrifftabForm::CB_BearbeitenClick);
    connect(CB_NameOrIntervall, &QCheckBox::clicked, this, &TF_GrifftabForm::CB_NameOrIntervallClick);
    connect(UP_Intervall, &QSpinBox::valueChanged, this, &TF_GrifftabForm::UP_IntervallClick);
    connect(E_AName, &QLineEdit::returnPressed, this, &TF_GrifftabForm::E_ANameExit);
    // Mouse-down only: the buttons' own clicked signal, which the keyboard also sends, stays unused.
    HC_Kopf->viewport()->installEventFilter(this);
    for (QObject* watched : {static_cast<QObject*>(B_add), static_cast<QObject*>(B_sub),
                             static_cast<QObject*>(L_Intervall), static_cast<QObject*>(P_Intervall),
                             static_cast<QObject*>(E_AName), static_cast<QObject*>(E_GrundBez)})
        watched->installEventFilter(this);
}

void TF_GrifftabForm::arrangeControls()
{
    const int w = width();
    const int h = height();
    const int headerHeight = std::max(17, HC_Kopf->sizeHint().height());
    const int bottomHeight = std::max(22, P_OkAbbruch->sizeHint().height());
    const int editHeight =
        P_Bearbeiten->isVisibleTo(this) ? std::max(64, P_Bearbeiten->sizeHint().height()) : 0;
    HC_Kopf->setGeometry(0, 0, w, headerHeight);
    P_OkAbbruch->setGeometry(0, h - bottomHeight, w, bottomHeight);
    P_Bearbeiten->setGeometry(0, h - bottomHeight - editHeight, w, editHeight);

    const int listHeight = std::max(0, h - headerHeight - bottomHeight - editHeight);
    // A narrower window narrows the chord types, then the roots, before the fret list gets too narrow.
    m_anordnen = true;
    for (int section : {1, 0}) {
        const int least = spaltenMinimum(section);
        const int room = w - HC_Kopf->sectionSize(1 - section) - fretListMinimum();
        if (HC_Kopf->sectionSize(section) > room)
            HC_Kopf->resizeSection(section, std::max(least, room));
    }
    m_anordnen = false;
    const int rootListWidth = HC_Kopf->sectionSize(0);
    const int typeListWidth = HC_Kopf->sectionSize(1);
    LB_Grund->setGeometry(0, headerHeight, rootListWidth, listHeight);
    LB_Akkorde->setGeometry(rootListWidth, headerHeight, typeListWidth, listHeight);
    LB_Buende->setGeometry(rootListWidth + typeListWidth, headerHeight,
                           std::max(0, w - rootListWidth - typeListWidth), listHeight);
    if (HC_Kopf->sectionSize(2) != LB_Buende->width())
        HC_Kopf->resizeSection(2, LB_Buende->width());
}

void TF_GrifftabForm::Benachrichtigen(int code)
{
    if (!m_benachrichtigen)
        return;
    if (m_benachrichtigungenAn) {
        m_benachrichtigen(code);
        return;
    }
    // A name typed here can be stored while the main window fills this window; the main window still
    // learns of it, once it has finished.
    if (code == 5 || code == 6)
        QTimer::singleShot(0, this, [this, code] { Benachrichtigen(code); });
}

bool TF_GrifftabForm::bearbeiten(Bearbeitung art, const QString& was, int von, int nach,
                                 const std::function<bool()>& edit)
{
    return m_bearbeiten ? m_bearbeiten(art, was, von, nach, edit) : edit();
}

void TF_GrifftabForm::GrundtoeneFuellen()
{
    const int kept = selectedRow(LB_Grund);
    QStringList names;
    for (int ton = 0; ton < rootCount; ++ton)
        names << modelToQt(m_dokument.TonName(ton, false));
    LB_Grund->clear();
    LB_Grund->addItems(names);
    selectRow(LB_Grund, kept);
    spaltenAnpassen();
}

void TF_GrifftabForm::TypenFuellen()
{
    const int kept = std::max(0, selectedRow(LB_Akkorde));
    QStringList names;
    for (int typ = 0; typ < m_dokument.TypAnzahl(); ++typ)
        names << modelToQt(m_dokument.TypName(typ));
    LB_Akkorde->clear();
    LB_Akkorde->addItems(names);
    selectRow(LB_Akkorde, std::min(kept, LB_Akkorde->count() - 1));
    spaltenAnpassen();
}

void TF_GrifftabForm::GriffeFuellen(bool vorauswahl)
{
    const int kept = selectedRow(LB_Buende);
    const int root = selectedRow(LB_Grund);
    const int typ = selectedRow(LB_Akkorde);
    int count = 0;
    if (root >= 0 && typ >= 0)
        count = std::min(m_dokument.GriffeAuflisten(root, typ, m_griffe.get(), MaxGriffe), MaxGriffe);

    QStringList frets;
    frets.reserve(count);
    int nearest = -1;
    int nearestDistance = INT_MAX;
    for (int i = 0; i < count; ++i) {
        const int fret = TiefsterBundVon(m_dokument.Element(m_griffe[i]));
        frets << fretText(fret);
        // Strictly nearer only: on equal distance the grip listed first stays.
        const int distance = std::abs(fret - VorzugsBund);
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = i;
        }
    }
    LB_Buende->clear();
    LB_Buende->addItems(frets);
    // Each grip's hint names it as the main window does, over its bass in the bass mode.
    for (int i = 0; i < count; ++i) {
        const int bass = m_dokument.SchraegstrichBass(root, m_dokument.Element(m_griffe[i]));
        LB_Buende->item(i)->setStatusTip(modelToQt(m_dokument.AkkordName(root, typ, bass)));
    }
    selectRow(LB_Buende, vorauswahl ? nearest : kept);
}

void TF_GrifftabForm::updateControls()
{
    const int count = LB_Akkorde->count();
    const int typ = selectedRow(LB_Akkorde);
    PMI_Runter->setEnabled(count > 1 && typ >= 0 && typ < count - 1);
    PMI_Hoch->setEnabled(count >= 2 && typ > 0);

    // A name typed and not yet stored is stored before the field shows anything else.
    E_ANameExit();
    const bool showName = CB_NameOrIntervall->isChecked();
    // Enabled state first: disabling the focused edit renames the type with the name it still shows.
    E_AName->setEnabled(showName);
    // The limit is for typing a name; the intervals of a type can be longer.
    E_AName->setMaxLength(showName ? MaxTypNameLaenge : 32767);
    const int shown = selectedRow(LB_Akkorde);
    m_nameTyp = shown;
    if (shown < 0 || shown >= m_dokument.TypAnzahl())
        E_AName->clear();
    else if (showName)
        E_AName->setText(modelToQt(m_dokument.TypName(shown)));
    else
        E_AName->setText(modelToQt(m_dokument.IntervallText(shown)));

    const QString interval = modelToQt(IntervallBezeichnung(UP_Intervall->value()));
    L_Intervall->setText(m_optional ? QStringLiteral("(%1)").arg(interval) : interval);
}

void TF_GrifftabForm::PanelAktualisieren()
{
    updateControls();
    GriffeFuellen(true);
}

void TF_GrifftabForm::GrundtonWaehlen(int index)
{
    selectRow(LB_Grund, index);
}

void TF_GrifftabForm::TypWaehlen(int index)
{
    selectRow(LB_Akkorde, index);
}

void TF_GrifftabForm::GriffWaehlen(int index)
{
    selectRow(LB_Buende, index);
}

bool TF_GrifftabForm::Auswahl(TrefferClass& treffer) const
{
    const int root = selectedRow(LB_Grund);
    const int typ = selectedRow(LB_Akkorde);
    const int griff = selectedRow(LB_Buende);
    if (root < 0 || typ < 0 || griff < 0)
        return false;
    treffer.Grundton = static_cast<std::uint8_t>(root);
    treffer.AkkordTyp = typ;
    treffer.GriffIndex = griff;
    return true;
}

int TF_GrifftabForm::GewaehlterGrundton() const
{
    return std::max(0, selectedRow(LB_Grund));
}

void TF_GrifftabForm::AuswahlSetzen(const TrefferClass& treffer)
{
    m_benachrichtigungenAn = false;
    bool chordChanged = false;
    if (selectedRow(LB_Grund) != treffer.Grundton) {
        GrundtonWaehlen(treffer.Grundton);
        TypenFuellen();
        TypWaehlen(treffer.AkkordTyp);
        chordChanged = true;
    } else if (selectedRow(LB_Akkorde) != treffer.AkkordTyp) {
        TypenFuellen();
        TypWaehlen(treffer.AkkordTyp);
        chordChanged = true;
    }
    if (chordChanged)
        updateControls(); // the edit panel must not keep showing the previous type
    if (chordChanged || selectedRow(LB_Buende) != treffer.GriffIndex) {
        GriffeFuellen(false);
        int griff = treffer.GriffIndex;
        if (griff >= LB_Buende->count())
            griff = 0;
        GriffWaehlen(griff);
        const int shown = selectedRow(LB_Buende);
        if (shown >= 0)
            VorzugsBund = LB_Buende->item(shown)->text().toInt();
    }
    m_benachrichtigungenAn = true;
}

int TF_GrifftabForm::Kopfbreite(int section) const
{
    return HC_Kopf->sectionSize(section);
}

int TF_GrifftabForm::Standardbreite() const
{
    return HC_Kopf->sectionSize(0) + HC_Kopf->sectionSize(1) + std::max(fretListMinimum(), titleWidth(2));
}

int TF_GrifftabForm::fretListMinimum() const
{
    const QStyle* style = LB_Buende->style();
    // Two digits with the item's text margins, the frame and the scroll bar beside them.
    const int textMargin = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, LB_Buende) + 1);
    return LB_Buende->fontMetrics().horizontalAdvance(QStringLiteral("30")) + textMargin + 2 +
           2 * LB_Buende->frameWidth() + style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, LB_Buende);
}

int TF_GrifftabForm::titleWidth(int section) const
{
    const QString title = HC_Kopf->model()->headerData(section, Qt::Horizontal).toString();
    const int margin = HC_Kopf->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, HC_Kopf);
    return HC_Kopf->fontMetrics().horizontalAdvance(title) + 2 * margin + 2;
}

void TF_GrifftabForm::minimumSizeUpdate()
{
    const int headerHeight = std::max(17, HC_Kopf->sizeHint().height());
    const int bottomHeight = std::max(22, P_OkAbbruch->sizeHint().height());
    const int editHeight =
        P_Bearbeiten->isVisibleTo(this) ? std::max(64, P_Bearbeiten->sizeHint().height()) : 0;
    // Room for a few list lines; the edit check box may be cut at the narrowest.
    const int rows = 4 * LB_Grund->fontMetrics().height() + 2 * LB_Grund->frameWidth();
    // The check box and the buttons below the lists read whole as well.
    const int width = std::max(spaltenMinimum(0) + spaltenMinimum(1) + fretListMinimum(),
                               P_OkAbbruch->minimumSizeHint().width());
    setMinimumSize(width, headerHeight + rows + editHeight + bottomHeight);
}

int TF_GrifftabForm::spaltenMinimum(int section) const
{
    if (section != 0 && section != 1)
        return 0;
    const QListWidget* list = section == 0 ? LB_Grund : LB_Akkorde;
    const QFontMetrics metrics = list->fontMetrics();
    int widest = 0;
    // From the document, not the list: the saved widths are restored before the lists are filled.
    if (section == 0) {
        for (int ton = 0; ton < rootCountShown; ++ton)
            widest = std::max(widest, metrics.horizontalAdvance(modelToQt(m_dokument.TonName(ton, false))));
    } else {
        for (int typ = 0; typ < m_dokument.TypAnzahl(); ++typ)
            widest = std::max(widest, metrics.horizontalAdvance(modelToQt(m_dokument.TypName(typ))));
    }
    const QStyle* style = list->style();
    const int textMargin = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
    // The catalogue is longer than the list is high: its scroll bar takes room from the names.
    const int scrollBar = section == 1 ? style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list) : 0;
    const int entry = widest + textMargin + 2 + 2 * list->frameWidth() + scrollBar;
    return std::max({section == 0 ? rootMinWidth : typeMinWidth, titleWidth(section), entry});
}

void TF_GrifftabForm::spaltenAnpassen()
{
    for (int section = 0; section < 2; ++section)
        if (HC_Kopf->sectionSize(section) < spaltenMinimum(section))
            HC_Kopf->resizeSection(section, spaltenMinimum(section));
    minimumSizeUpdate();
    arrangeControls();
}

void TF_GrifftabForm::SetzeKopfbreite(int section, int breite)
{
    // A width saved narrower than the titles and names need comes back at that minimum.
    if (section >= 0 && section < HC_Kopf->count())
        HC_Kopf->resizeSection(section, std::max(breite, spaltenMinimum(section)));
}

void TF_GrifftabForm::HinweiseAnzeigen(bool an)
{
    const QList<QWidget*> widgets = findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (!widget->statusTip().isEmpty())
            widget->setToolTip(an ? widget->statusTip() : QString());
    }
    for (QMenu* menu : {PM_ATypen, PM_Buende, PM_AGrund})
        menu->setToolTipsVisible(an);
}

void TF_GrifftabForm::LB_GrundClick()
{
    if (m_grundBezOffen)
        closeRootEditor(); // opened on another root: nothing is stored
    m_letzteListe = 1;
    PanelAktualisieren();
    Benachrichtigen(1);
}

void TF_GrifftabForm::LB_AkkordeClick()
{
    m_letzteListe = 2;
    PanelAktualisieren();
    Benachrichtigen(1);
}

void TF_GrifftabForm::LB_BuendeClick()
{
    m_letzteListe = 3;
    TrefferClass chosen;
    if (Auswahl(chosen))
        VorzugsBund = LB_Buende->item(chosen.GriffIndex)->text().toInt();
    Benachrichtigen(1);
}

void TF_GrifftabForm::CB_BearbeitenClick()
{
    const bool editing = CB_Bearbeiten->isChecked();
    P_Bearbeiten->setEnabled(editing);
    P_Bearbeiten->setVisible(editing);
    minimumSizeUpdate();
    arrangeControls();
    PanelAktualisieren();
    LB_Akkorde->setFocus();
}

void TF_GrifftabForm::CB_NameOrIntervallClick()
{
    PanelAktualisieren();
    if (CB_NameOrIntervall->isChecked())
        E_AName->setFocus();
    else
        LB_Akkorde->setFocus();
}

void TF_GrifftabForm::E_ANameExit()
{
    // The name belongs to the type the field was filled for, whatever is selected by now.
    const int typ = m_nameTyp;
    if (typ < 0 || typ >= m_dokument.TypAnzahl() || !CB_NameOrIntervall->isChecked() || !E_AName->isModified())
        return;
    E_AName->setModified(false);
    std::string name;
    if (!qtToModel(E_AName->text(), name) || name == m_dokument.TypName(typ))
        return;
    bearbeiten(Bearbeitung::Katalog, QStringLiteral("Akkordtyp umbenennen"), -1, -1, [&] {
        m_dokument.TypUmbenennen(typ, name);
        return true;
    });
    TypenFuellen();
    Benachrichtigen(5);
}

void TF_GrifftabForm::UP_IntervallClick()
{
    // "1" is the root and never optional.
    if (UP_Intervall->value() == 0)
        m_optional = false;
    PanelAktualisieren();
}

void TF_GrifftabForm::L_IntervallClick()
{
    m_optional = UP_Intervall->value() != 0 && !m_optional;
    PanelAktualisieren();
}

void TF_GrifftabForm::B_addMouseDown(Qt::KeyboardModifiers shift)
{
    if (shift.testFlag(Qt::ShiftModifier)) {
        addChordType();
        return;
    }
    const int typ = selectedRow(LB_Akkorde);
    const int code = UP_Intervall->value();
    const bool optional = m_optional && code != 0;
    if (typ < 0 || !bearbeiten(Bearbeitung::Katalog,
                               optional ? QStringLiteral("Intervall optional hinzufügen")
                                        : QStringLiteral("Intervall hinzufügen"),
                               -1, -1, [&] { return m_dokument.IntervallZufuegen(typ, code, optional); }))
        return;
    m_optional = false;
    PanelAktualisieren();
    Benachrichtigen(5);
}

void TF_GrifftabForm::B_subMouseDown(Qt::KeyboardModifiers shift)
{
    if (shift.testFlag(Qt::ShiftModifier)) {
        removeChordType();
        return;
    }
    const int typ = selectedRow(LB_Akkorde);
    if (typ < 0 || !bearbeiten(Bearbeitung::Katalog, QStringLiteral("Intervall entfernen"), -1, -1,
                               [&] { return m_dokument.IntervallEntfernen(typ, UP_Intervall->value()); }))
        return;
    PanelAktualisieren();
    Benachrichtigen(5);
    if (m_hinweis)
        m_hinweis(QStringLiteral("Intervall wurde entfernt"));
}

void TF_GrifftabForm::addChordType()
{
    if (!bearbeiten(Bearbeitung::Katalog, QStringLiteral("Akkordtyp hinzufügen"), -1, -1,
                    [this] { return m_dokument.TypZufuegen(); })) {
        MeldungZeigen(this, 1, QStringLiteral("Es können keine weiteren Akkorde aufgenommen werden!"),
                      QStringLiteral("Abbruch"), 2);
        return;
    }
    TypenFuellen();
    TypWaehlen(LB_Akkorde->count() - 1);
    PanelAktualisieren();
    Benachrichtigen(5);
}

void TF_GrifftabForm::removeChordType()
{
    const int typ = selectedRow(LB_Akkorde);
    int answer = 0;
    bool removed = false;
    if (m_dokument.TypAnzahl() >= 1 && typ >= 0) {
        // The type's grips under all twelve roots go with it.
        int grips = 0;
        for (int i = 0; i < m_dokument.Anzahl(); ++i)
            grips += m_dokument.Element(i).AkkordTyp == typ ? 1 : 0;
        QString question = QStringLiteral("Soll der Akkord wirklich entfernen werden? ");
        if (grips == 1)
            question = QStringLiteral("Soll der Akkord mit seinem zugehörigen Griff wirklich entfernen werden? ");
        else if (grips > 1)
            question =
                QStringLiteral("Soll der Akkord mit seinen %1 zugehörigen Griffen wirklich entfernen werden? ")
                    .arg(grips);
        answer = MeldungZeigen(this, 0, question, QStringLiteral("Löschen bestätigen"), 0);
        if (answer == 6 && bearbeiten(Bearbeitung::TypEntfernen, QStringLiteral("Akkordtyp entfernen"), typ, -1,
                                      [&] { return m_dokument.AkkordtypLoeschen(typ); })) {
            removed = true;
            TypWaehlen(0);
            TypenFuellen();
            PanelAktualisieren();
            Benachrichtigen(5);
        }
    }
    if (!removed && answer != 7)
        MeldungZeigen(this, 0, QStringLiteral("Der Akkordtyp konnte nicht gelöscht werden!"),
                      QStringLiteral("Abbruch"), 2);
}

void TF_GrifftabForm::PMI_HochClick()
{
    const int typ = selectedRow(LB_Akkorde);
    if (typ > 0)
        moveType(typ, typ - 1);
}

void TF_GrifftabForm::PMI_RunterClick()
{
    const int typ = selectedRow(LB_Akkorde);
    if (typ >= 0 && typ + 1 < m_dokument.TypAnzahl())
        moveType(typ, typ + 1);
}

void TF_GrifftabForm::moveType(int from, int to)
{
    // Neighbour by neighbour, so the types in between shift by one place and keep their order.
    const int step = to > from ? 1 : -1;
    bearbeiten(Bearbeitung::TypVerschieben, QStringLiteral("Akkordtyp verschieben"), from, to, [&] {
        for (int typ = from; typ != to; typ += step)
            m_dokument.AkkordtypenTauschen(typ, typ + step);
        return true;
    });
    TypWaehlen(to);
    TypenFuellen();
    PanelAktualisieren();
    Benachrichtigen(5);
}

void TF_GrifftabForm::PMI_TypZufuegenClick()
{
    addChordType();
}

void TF_GrifftabForm::PMI_TypEntfernenClick()
{
    removeChordType();
}

void TF_GrifftabForm::sortGrips()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bearbeiten(Bearbeitung::Reihenfolge, QStringLiteral("Alle sortieren"), -1, -1, [this] {
        m_dokument.SetzeEigeneReihenfolge(false);
        return true;
    });
    PanelAktualisieren(); // fills the grips with preselection
    QApplication::restoreOverrideCursor();
    // The shown grip's place among the grips of its chord may have moved: the main window counts again.
    Benachrichtigen(5);
}

void TF_GrifftabForm::PMI_AkkordeSortClick()
{
    sortGrips();
}

void TF_GrifftabForm::HC_KopfSectionClick(int section)
{
    if (section == 2)
        sortGrips();
}

void TF_GrifftabForm::HC_KopfSectionResize(int section, int /*oldSize*/, int newSize)
{
    int allowed = newSize;
    if (section == 0)
        allowed = std::clamp(newSize, spaltenMinimum(0), std::max(rootMaxWidth, spaltenMinimum(0)));
    else if (section == 1)
        allowed = std::max(newSize, spaltenMinimum(1));
    // Widening a section never pushes the fret list out of the window.
    if (section < 2 && !m_anordnen) {
        const int least = spaltenMinimum(section);
        allowed = std::max(least, std::min(allowed, width() - HC_Kopf->sectionSize(1 - section) -
                                                        fretListMinimum()));
    }
    if (allowed != newSize) {
        HC_Kopf->resizeSection(section, allowed);
        return;
    }
    arrangeControls();
}

void TF_GrifftabForm::PMI_NrEntfernenClick()
{
    Benachrichtigen(2);
}

void TF_GrifftabForm::PMI_UmbenennenClick()
{
    openRootEditor(false);
}

void TF_GrifftabForm::PMI_UmbenennenKurzClick()
{
    openRootEditor(true);
}

void TF_GrifftabForm::LB_AkkordeStartDrag()
{
    m_ziehen = 2;
}

bool TF_GrifftabForm::LB_AkkordeDragOver() const
{
    return m_ziehen == 2;
}

void TF_GrifftabForm::LB_AkkordeDragDrop(int ziel)
{
    const bool dragging = m_ziehen == 2;
    m_ziehen = 0;
    const int from = selectedRow(LB_Akkorde);
    if (!dragging || from < 0 || ziel < 0 || ziel >= m_dokument.TypAnzahl() || ziel == from)
        return;
    moveType(from, ziel);
}

void TF_GrifftabForm::LB_AkkordeEndDrag()
{
    m_ziehen = 0;
}

void TF_GrifftabForm::openRootEditor(bool kurz)
{
    const int root = selectedRow(LB_Grund);
    if (root < 0)
        return;
    m_kurzname = kurz;
    m_grundBezTon = root;
    QListWidgetItem* item = LB_Grund->item(root);
    LB_Grund->scrollToItem(item);
    const QRect itemRect = LB_Grund->visualItemRect(item);
    E_GrundBez->setGeometry(itemRect.x() + 2, itemRect.y() + 1, itemRect.width() - 1, itemRect.height() - 1);
    E_GrundBez->setMaxLength(kurz ? 5 : 10);
    E_GrundBez->setText(modelToQt(m_dokument.TonName(root, kurz)));
    E_GrundBez->setEnabled(true);
    E_GrundBez->show();
    E_GrundBez->raise();
    m_grundBezOffen = true;
    E_GrundBez->setFocus();
    E_GrundBez->selectAll();
}

void TF_GrifftabForm::closeRootEditor()
{
    // Taking the focus away runs E_GrundBezExit through the focus-out; the call after it covers an
    // inactive window, which gets no focus events.
    if (LB_Grund->isVisible() && LB_Grund->isEnabled())
        LB_Grund->setFocus();
    E_GrundBezExit();
}

bool TF_GrifftabForm::E_GrundBezKeyDown(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) {
        closeRootEditor();
        return true;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // The root the editor was opened on, or nothing.
        std::string name;
        if (m_grundBezTon >= 0 && m_grundBezTon == selectedRow(LB_Grund) && qtToModel(E_GrundBez->text(), name) &&
            name != m_dokument.TonName(m_grundBezTon, m_kurzname)) {
            bearbeiten(Bearbeitung::Grundtoene, QStringLiteral("Grundton umbenennen"), -1, -1, [&] {
                m_dokument.TonUmbenennen(m_grundBezTon, name, m_kurzname);
                return true;
            });
            m_grundBezGespeichert = true;
        }
        closeRootEditor();
        return true;
    }
    case Qt::Key_Escape:
        closeRootEditor();
        return true;
    default:
        return false;
    }
}

void TF_GrifftabForm::E_GrundBezExit()
{
    if (!m_grundBezOffen)
        return;
    m_grundBezOffen = false;
    m_grundBezTon = -1;
    E_GrundBez->setEnabled(false);
    E_GrundBez->hide();
    const bool stored = std::exchange(m_grundBezGespeichert, false);
    if (!stored)
        return;
    if (m_kurzname)
        Benachrichtigen(6); // chord names in the main window use the short names: only a repaint
    else
        GrundtoeneFuellen();
}

bool TF_GrifftabForm::event(QEvent* event)
{
    // The hint of the control under the mouse goes to the main window's status message.
    if (event->type() == QEvent::StatusTip) {
        if (m_hinweis)
            m_hinweis(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QWidget::event(event);
}

bool TF_GrifftabForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == HC_Kopf->viewport() && type == QEvent::ToolTip) {
        // A header title that does not fit its section shows whole as a tooltip.
        const auto* help = static_cast<QHelpEvent*>(event);
        const int section = HC_Kopf->logicalIndexAt(help->pos());
        if (section >= 0 && titleWidth(section) > HC_Kopf->sectionSize(section)) {
            QToolTip::showText(help->globalPos(),
                               HC_Kopf->model()->headerData(section, Qt::Horizontal).toString(), HC_Kopf);
            return true;
        }
        return false;
    }
    if ((watched == B_add || watched == B_sub) &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* button = static_cast<QPushButton*>(watched);
        if (mouse->button() != Qt::LeftButton || !button->isEnabled())
            return false;
        // Taken here, so the button never goes down: a message box may open before the release.
        if (button == B_add)
            B_addMouseDown(mouse->modifiers());
        else
            B_subMouseDown(mouse->modifiers());
        return true;
    }
    if ((watched == L_Intervall || watched == P_Intervall) && type == QEvent::MouseButtonPress) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && L_Intervall->isEnabled())
            L_IntervallClick();
        return true;
    }
    if (type == QEvent::FocusOut && (watched == E_AName || watched == E_GrundBez)) {
        // Switching windows or opening a pop-up menu is no leaving of the edit.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == E_AName)
                E_ANameExit();
            else
                E_GrundBezExit();
        }
        return false;
    }
    if (watched == E_GrundBez && type == QEvent::ShortcutOverride) {
        // Alt and Ctrl combinations close the editor instead of reaching the window's shortcuts.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) {
            key->accept();
            return true;
        }
        return false;
    }
    if (watched == E_GrundBez && type == QEvent::KeyPress)
        return E_GrundBezKeyDown(static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

void TF_GrifftabForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    QListWidget* const lists[] = {nullptr, LB_Grund, LB_Akkorde, LB_Buende};
    if (m_letzteListe > 0 && m_letzteListe < 4)
        lists[m_letzteListe]->setFocus();
}

void TF_GrifftabForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    arrangeControls();
}

void TF_GrifftabForm::closeEvent(QCloseEvent* event)
{
    Benachrichtigen(0);
    event->accept();
}

void TF_GrifftabForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange) {
        // A root-name editor left open in an inactive window would rename whatever is chosen later.
        if (!isActiveWindow() && m_grundBezOffen)
            closeRootEditor();
        Benachrichtigen(isActiveWindow() ? 3 : 4);
    }
    QWidget::changeEvent(event);
}
