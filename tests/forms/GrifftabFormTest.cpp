#include <algorithm>
#include <memory>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "erkennung/Treffer.h"
#include "forms/GrifftabForm.h"
#include "forms/MeldungZeigen.h"
#include "grip/AkkordDaten.h"
#include "table/AkkordDepot.h"

namespace {

// The question counts the grips that go with the type: two in these cases.
const QString longQuestion =
    QStringLiteral("Soll der Akkord mit seinen 2 zugehörigen Griffen wirklich entfernen werden? ");
const QString shortQuestion = QStringLiteral("Soll der Akkord wirklich entfernen werden? ");
const QString notRemoved = QStringLiteral("Der Akkordtyp konnte nicht gelöscht werden!");

// A chord table with named types, the chord-table window on it, and everything the window reports.
class Fixture
{
public:
    explicit Fixture(int typeCount) : doc(std::make_unique<AkkordDepotClass>())
    {
        for (int t = 0; t < typeCount; ++t) {
            doc->TypZufuegen();
            doc->TypUmbenennen(t, "T" + std::to_string(t));
        }
        SetzeMeldungsAntwort([this](const MeldungsAnfrage& anfrage) {
            asked << anfrage;
            return answers.isEmpty() ? 6 : answers.takeFirst();
        });
    }
    ~Fixture() { SetzeMeldungsAntwort(nullptr); }
    Fixture(const Fixture&) = delete;
    Fixture& operator=(const Fixture&) = delete;

    // One grip per call; the fret and string make it differ from the others of its chord.
    void store(int root, int type, int fret, int string = 1)
    {
        doc->Loeschen();
        doc->FingerSetzen(fret, string, 1);
        doc->AkkordSetzen(root, type);
        QVERIFY(doc->GriffAufnehmen() > 0);
    }

    // Opens the window the way the main window fills it at start-up.
    TF_GrifftabForm& open(bool active = false)
    {
        form = std::make_unique<TF_GrifftabForm>(
            *doc, [this](int code) { codes << code; }, [this](const QString& text) { hints << text; });
        form->GrundtoeneFuellen();
        form->GrundtonWaehlen(0);
        form->TypenFuellen();
        form->TypWaehlen(0);
        form->GriffeFuellen(true);
        form->GriffWaehlen(0);
        form->PanelAktualisieren();
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qWarning("window not exposed");
        if (active) {
            form->activateWindow();
            if (!QTest::qWaitForWindowActive(form.get()))
                qWarning("window not active");
        }
        return *form;
    }

    // The notifications other than activation and deactivation.
    QList<int> choices() const
    {
        QList<int> result;
        for (int code : codes) {
            if (code != 3 && code != 4)
                result << code;
        }
        return result;
    }

    int gripWithFret(int fret) const
    {
        for (int i = 0; i < doc->Anzahl(); ++i) {
            if (TiefsterBundVon(doc->Element(i)) == fret)
                return i;
        }
        return -1;
    }

    QStringList typeNames() const
    {
        QStringList names;
        for (int t = 0; t < doc->TypAnzahl(); ++t)
            names << QString::fromLatin1(doc->TypName(t));
        return names;
    }

    std::unique_ptr<AkkordDepotClass> doc;
    std::unique_ptr<TF_GrifftabForm> form;
    QList<int> codes;
    QStringList hints;
    QList<MeldungsAnfrage> asked;
    QList<int> answers; // 6 once they run out
};

QStringList texts(const QListWidget* list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

void clickItem(QListWidget* list, int row)
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(list->item(row)).center());
}

void clickSection(QHeaderView* header, int section)
{
    const QPoint centre(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
}

// Types text as key presses; keyClicks takes only ASCII.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void startEditing(TF_GrifftabForm& form)
{
    QTest::mouseClick(form.CB_Bearbeiten, Qt::LeftButton);
}

} // namespace

class GrifftabFormTest : public QObject
{
    Q_OBJECT

private slots:
    void opensAsStayOnTopToolWindowWithTheDesignedSizes();
    void listsFollowTheHeaderWithinItsLimits();
    void controlsCarryTheirHintsAndShowTooltipsOnRequest_data();
    void controlsCarryTheirHintsAndShowTooltipsOnRequest();
    void editPanelAppearsOnlyWhileEditing();
    void clicksOnTheListsNotifyASelection();
    void rightClickChoosesTheRowAndOpensThePopup();
    void preselectionTakesTheNearestFretAndTheEarlierOnTies_data();
    void preselectionTakesTheNearestFretAndTheEarlierOnTies();
    void fretHeaderClickSortsAndPreselects();
    void dropMovesTheTypeThroughItsNeighbours();
    void dragEventsAreAcceptedOnlyWhileDraggingFromTheTypes();
    void removingAChordTypeAsksFirst_data();
    void removingAChordTypeAsksFirst();
    void removingWithoutSelectionReportsFailure();
    void deleteKeyActsOnTheFocusedList();
    void fortyFirstTypeIsRefused();
    void addWithShiftCreatesAnUnnamedType();
    void addPutsTheShownIntervalAndClearsTheOptionalToggle();
    void buttonsIgnoreTheKeyboard();
    void intervalLabelClickTogglesOptional_data();
    void intervalLabelClickTogglesOptional();
    void subtractRemovesTheIntervalAndSendsTheHint();
    void intervalsLongerThanANameAreShownInFull();
    void leavingTheNameEditRenamesTheType();
    void upAndDownShortcutsMoveTheTypeWithItsGrips();
    void rootEditorTakesFiveCharactersForTheShortName();
    void rootEditorEnterStoresTheLongNameAndRefillsTheRoots();
    void rootEditorCancels_data();
    void rootEditorCancels();
    void setSelectionShowsAChordWithoutNotifying();
    void activationAndClosingNotify();
    void showingFocusesTheListUsedLast();
    void tenThousandGripsOfOneChordFillOnAClick();
};

void GrifftabFormTest::opensAsStayOnTopToolWindowWithTheDesignedSizes()
{
    Fixture f(1);
    TF_GrifftabForm& form = f.open();
    QCOMPARE(form.windowTitle(), QStringLiteral("Grifftabelle"));
    QVERIFY(form.windowFlags().testFlag(Qt::Tool));
    QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // At least the designed 141 x 312 with sections of 41 and 66 pixels, and wider where the header
    // titles need it.
    QCOMPARE(form.size(), QSize(std::max(141, form.Standardbreite()), 312));
    QVERIFY(form.Kopfbreite(0) >= 41);
    QCOMPARE(form.Kopfbreite(1), 66);
    QCOMPARE(form.HC_Kopf->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Grundton"));
    QCOMPARE(form.HC_Kopf->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Akkord"));
    QCOMPARE(form.HC_Kopf->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Bund"));
    QCOMPARE(form.LB_Grund->count(), 12);
    QCOMPARE(form.LB_Grund->item(1)->text(), QStringLiteral("C#/Db"));
    QCOMPARE(form.LB_Grund->item(11)->text(), QStringLiteral("H"));
    QCOMPARE(form.UP_Intervall->maximum(), 17);
    QVERIFY(!form.UP_Intervall->wrapping());
    QVERIFY(form.E_GrundBez->isHidden());
    QCOMPARE(form.VorzugsBundWert(), 1);
    for (const char* name :
         {"HC_Kopf", "LB_Grund", "LB_Akkorde", "LB_Buende", "P_Bearbeiten", "P_OkAbbruch", "CB_Bearbeiten",
          "CB_NameOrIntervall", "L_Pfeil", "E_AName", "UP_Intervall", "P_Intervall", "L_Intervall", "B_add",
          "B_sub", "E_GrundBez", "PM_ATypen", "PM_Buende", "PM_AGrund"})
        QVERIFY2(form.findChild<QWidget*>(QString::fromLatin1(name)), name);
}

void GrifftabFormTest::listsFollowTheHeaderWithinItsLimits()
{
    Fixture f(1);
    TF_GrifftabForm& form = f.open();
    // Wide enough for both sections beside the fret list.
    form.resize(240, 312);
    form.SetzeKopfbreite(0, 60);
    form.SetzeKopfbreite(1, 80);
    QCOMPARE(form.LB_Grund->width(), 60);
    QCOMPARE(form.LB_Akkorde->x(), 60);
    QCOMPARE(form.LB_Akkorde->width(), 80);
    QCOMPARE(form.LB_Buende->x(), 140);

    form.SetzeKopfbreite(0, 150);
    QCOMPARE(form.Kopfbreite(0), 100);
    // The floor is what the title and the longest name need.
    form.SetzeKopfbreite(0, 5);
    const int roots = form.Kopfbreite(0);
    QVERIFY(roots >= 20);
    QVERIFY(roots >= form.LB_Grund->fontMetrics().horizontalAdvance(QStringLiteral("Grundton")));
    form.SetzeKopfbreite(1, 10);
    const int types = form.Kopfbreite(1);
    QVERIFY(types >= 50);

    form.resize(240, 400);
    QTRY_COMPARE(form.LB_Buende->width(), 240 - roots - types);
    QCOMPARE(form.Kopfbreite(2), form.LB_Buende->width());
    // The fret section cannot be set apart from its list.
    form.SetzeKopfbreite(2, 30);
    QCOMPARE(form.Kopfbreite(2), form.LB_Buende->width());
}

void GrifftabFormTest::controlsCarryTheirHintsAndShowTooltipsOnRequest_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("hint");
    QTest::newRow("roots") << "LB_Grund"
                           << "Die Grundtöne der jeweiligen Akkorde";
    QTest::newRow("types") << "LB_Akkorde"
                           << "Die Akkordbezeichnungen";
    QTest::newRow("grips") << "LB_Buende"
                           << "Die vorhandenen Griffe. Angezeigt werden die Bünde";
    QTest::newRow("editing") << "CB_Bearbeiten"
                             << "Akkorderkennung bearbeiten";
    QTest::newRow("name or intervals") << "CB_NameOrIntervall"
                                       << "Bezeichner bearbeiten oder Intervall anzeigen (Alt+N)";
    QTest::newRow("name") << "E_AName"
                          << "Intervalle oder Akkordbezeichnung";
    QTest::newRow("up-down") << "UP_Intervall"
                             << "Intervall auswählen";
    QTest::newRow("interval") << "L_Intervall"
                              << "Ausgewähltes Akkordintervall";
    QTest::newRow("add") << "B_add"
                         << "Ausgewähltes Intervall zu Akkord zufügen / Neuer Akkord (Shift)";
    QTest::newRow("subtract") << "B_sub"
                              << "Ausgewähltes Intervall aus Akkord entfernen /  Akkord entfernen (Shift)";
    QTest::newRow("root name") << "E_GrundBez"
                               << "Grundtonbezeichnung";
}

void GrifftabFormTest::controlsCarryTheirHintsAndShowTooltipsOnRequest()
{
    QFETCH(QString, control);
    QFETCH(QString, hint);
    Fixture f(1);
    TF_GrifftabForm& form = f.open();
    QWidget* widget = form.findChild<QWidget*>(control);
    QVERIFY(widget);
    QCOMPARE(widget->statusTip(), hint);
    QVERIFY(widget->toolTip().isEmpty());
    form.HinweiseAnzeigen(true);
    QCOMPARE(widget->toolTip(), hint);
    form.HinweiseAnzeigen(false);
    QVERIFY(widget->toolTip().isEmpty());
}

void GrifftabFormTest::editPanelAppearsOnlyWhileEditing()
{
    Fixture f(2);
    TF_GrifftabForm& form = f.open(true);
    QVERIFY(form.P_Bearbeiten->isHidden());
    QVERIFY(!form.P_Bearbeiten->isEnabled());
    QCOMPARE(form.CB_Bearbeiten->text(), QStringLiteral("&Erkennung bearbeiten"));
    const int fullHeight = form.LB_Grund->height();
    startEditing(form);
    QVERIFY(form.P_Bearbeiten->isVisible());
    QVERIFY(form.P_Bearbeiten->isEnabled());
    QVERIFY(form.LB_Grund->height() < fullHeight);
    QVERIFY(form.LB_Akkorde->hasFocus());
    QCOMPARE(form.E_AName->text(), QStringLiteral("1"));
    QVERIFY(!form.E_AName->isEnabled());
    QCOMPARE(form.L_Intervall->text(), QStringLiteral("1"));
    QVERIFY(form.L_Intervall->font().bold());
    startEditing(form);
    QVERIFY(form.P_Bearbeiten->isHidden());
    QCOMPARE(form.LB_Grund->height(), fullHeight);
}

void GrifftabFormTest::clicksOnTheListsNotifyASelection()
{
    Fixture f(2);
    f.store(4, 1, 3);
    f.store(4, 1, 9);
    TF_GrifftabForm& form = f.open();
    f.codes.clear();
    clickItem(form.LB_Grund, 4);
    QCOMPARE(f.choices(), QList<int>{1});
    clickItem(form.LB_Akkorde, 1);
    QCOMPARE(texts(form.LB_Buende), (QStringList{"3", "9"}));
    clickItem(form.LB_Buende, 1);
    QCOMPARE(f.choices(), (QList<int>{1, 1, 1}));
    QCOMPARE(form.VorzugsBundWert(), 9);
    TrefferClass chosen;
    QVERIFY(form.Auswahl(chosen));
    QCOMPARE(static_cast<int>(chosen.Grundton), 4);
    QCOMPARE(chosen.AkkordTyp, 1);
    QCOMPARE(chosen.GriffIndex, 1);
    QCOMPARE(form.GewaehlterGrundton(), 4);
    // Choosing the grip shown again fetches it again.
    clickItem(form.LB_Buende, 1);
    QCOMPARE(f.choices().size(), 4);
    // The keyboard chooses as well.
    form.LB_Buende->setFocus();
    QTest::keyClick(form.LB_Buende, Qt::Key_Up);
    QCOMPARE(form.LB_Buende->currentRow(), 0);
    QCOMPARE(f.choices().size(), 5);

    form.GrundtonWaehlen(-1);
    QVERIFY(!form.Auswahl(chosen));
    QCOMPARE(form.GewaehlterGrundton(), 0);
}

void GrifftabFormTest::rightClickChoosesTheRowAndOpensThePopup()
{
    Fixture f(2);
    TF_GrifftabForm& form = f.open(true);
    f.codes.clear();
    const QRect item = form.LB_Akkorde->visualItemRect(form.LB_Akkorde->item(1));
    QTest::mouseClick(form.LB_Akkorde->viewport(), Qt::RightButton, Qt::NoModifier, item.center());
    // Test mouse events make no context-menu event of their own.
    QContextMenuEvent menuRequest(QContextMenuEvent::Mouse, item.center(),
                                  form.LB_Akkorde->viewport()->mapToGlobal(item.center()));
    QApplication::sendEvent(form.LB_Akkorde->viewport(), &menuRequest);
    QTRY_VERIFY(form.PM_ATypen->isVisible());
    form.PM_ATypen->hide();
    // The pop-up acts on the row clicked, which is chosen as by a left click.
    QCOMPARE(form.LB_Akkorde->currentRow(), 1);
    QCOMPARE(f.choices(), QList<int>{1});
    const QStringList captions = {QStringLiteral("&Hoch"), QStringLiteral("&Runter"), QString(),
                                  QStringLiteral("&Zufügen"), QStringLiteral("&Entfernen")};
    QStringList shown;
    for (const QAction* action : form.PM_ATypen->actions())
        shown << action->text();
    QCOMPARE(shown, captions);
    QCOMPARE(form.PMI_Hoch->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
    QCOMPARE(form.PMI_TypZufuegen->shortcut(), QKeySequence(Qt::Key_Insert));
    QCOMPARE(form.PMI_Umbenennen->text(), QStringLiteral("&Umbennen"));
    QCOMPARE(form.PMI_UmbenennenKurz->text(), QStringLiteral("Umbennen, &Kurzform"));
    QCOMPARE(form.PMI_AkkordeSort->text(), QStringLiteral("&Alle sortieren"));
}

void GrifftabFormTest::preselectionTakesTheNearestFretAndTheEarlierOnTies_data()
{
    QTest::addColumn<QList<int>>("frets");
    QTest::addColumn<int>("expected");
    QTest::newRow("3 and 7 equally near, 3 first") << QList<int>{1, 3, 7} << 1;
    QTest::newRow("7 and 3 equally near, 7 first") << QList<int>{7, 3, 1} << 0;
    QTest::newRow("a later grip only when strictly nearer") << QList<int>{1, 9, 6} << 2;
    QTest::newRow("the chosen fret itself") << QList<int>{8, 5, 5} << 1;
}

void GrifftabFormTest::preselectionTakesTheNearestFretAndTheEarlierOnTies()
{
    QFETCH(QList<int>, frets);
    QFETCH(int, expected);
    Fixture f(1);
    f.store(0, 0, 2);
    f.store(0, 0, 5);
    for (int i = 0; i < frets.size(); ++i)
        f.store(2, 0, frets[i], i + 1);
    TF_GrifftabForm& form = f.open();
    QCOMPARE(form.LB_Buende->currentRow(), 0);
    clickItem(form.LB_Buende, 1);
    QCOMPARE(form.VorzugsBundWert(), 5);
    clickItem(form.LB_Grund, 2);
    QStringList shown;
    for (int fret : frets)
        shown << QString::number(fret);
    QCOMPARE(texts(form.LB_Buende), shown);
    QCOMPARE(form.LB_Buende->currentRow(), expected);
}

void GrifftabFormTest::fretHeaderClickSortsAndPreselects()
{
    Fixture f(1);
    f.store(0, 0, 7);
    f.store(0, 0, 1);
    f.store(0, 0, 3);
    f.doc->SetzeEigeneReihenfolge(true);
    TF_GrifftabForm& form = f.open();
    QCOMPARE(texts(form.LB_Buende), (QStringList{"7", "1", "3"}));
    form.VorzugsBund = 5;

    clickSection(form.HC_Kopf, 0);
    clickSection(form.HC_Kopf, 1);
    QCOMPARE(texts(form.LB_Buende), (QStringList{"7", "1", "3"}));

    clickSection(form.HC_Kopf, 2);
    QCOMPARE(texts(form.LB_Buende), (QStringList{"1", "3", "7"}));
    QCOMPARE(form.LB_Buende->currentRow(), 1);
    QCOMPARE(TiefsterBundVon(f.doc->Element(0)), 1);
    QVERIFY(!f.doc->EigeneReihenfolge());
    QVERIFY(!QApplication::overrideCursor());

    f.doc->SetzeEigeneReihenfolge(true);
    f.store(0, 0, 2);
    form.VorzugsBund = 1;
    form.PMI_AkkordeSort->trigger();
    QCOMPARE(texts(form.LB_Buende), (QStringList{"1", "2", "3", "7"}));
    QCOMPARE(form.LB_Buende->currentRow(), 0);
    QVERIFY(!QApplication::overrideCursor());
}

void GrifftabFormTest::dropMovesTheTypeThroughItsNeighbours()
{
    Fixture f(3);
    f.store(0, 0, 1);
    f.store(0, 1, 2);
    f.store(0, 2, 3);
    TF_GrifftabForm& form = f.open();
    clickItem(form.LB_Akkorde, 2);

    // Without a drag from the list a drop does nothing.
    QVERIFY(!form.LB_AkkordeDragOver());
    form.LB_AkkordeDragDrop(0);
    QCOMPARE(f.typeNames(), (QStringList{"T0", "T1", "T2"}));

    form.LB_AkkordeStartDrag();
    QVERIFY(form.LB_AkkordeDragOver());
    form.LB_AkkordeDragDrop(0);
    QVERIFY(!form.LB_AkkordeDragOver());
    QCOMPARE(f.typeNames(), (QStringList{"T2", "T0", "T1"}));
    QCOMPARE(texts(form.LB_Akkorde), (QStringList{"T2", "T0", "T1"}));
    QCOMPARE(form.LB_Akkorde->currentRow(), 0);
    QCOMPARE(f.doc->Element(f.gripWithFret(3)).AkkordTyp, 0);
    QCOMPARE(f.doc->Element(f.gripWithFret(1)).AkkordTyp, 1);
    QCOMPARE(f.doc->Element(f.gripWithFret(2)).AkkordTyp, 2);
    QCOMPARE(texts(form.LB_Buende), QStringList{"3"});

    // Onto the selected type itself, or past the last: nothing moves, the drag is over.
    form.LB_AkkordeStartDrag();
    form.LB_AkkordeDragDrop(0);
    form.LB_AkkordeStartDrag();
    form.LB_AkkordeDragDrop(-1);
    QVERIFY(!form.LB_AkkordeDragOver());
    QCOMPARE(f.typeNames(), (QStringList{"T2", "T0", "T1"}));

    // And downwards again.
    form.LB_AkkordeStartDrag();
    form.LB_AkkordeDragDrop(2);
    QCOMPARE(f.typeNames(), (QStringList{"T0", "T1", "T2"}));
    QCOMPARE(form.LB_Akkorde->currentRow(), 2);
    QCOMPARE(f.doc->Element(f.gripWithFret(3)).AkkordTyp, 2);
}

void GrifftabFormTest::dragEventsAreAcceptedOnlyWhileDraggingFromTheTypes()
{
    Fixture f(3);
    TF_GrifftabForm& form = f.open();
    clickItem(form.LB_Akkorde, 2);
    QMimeData data;
    data.setText(QStringLiteral("T2"));
    const QPoint target = form.LB_Akkorde->visualItemRect(form.LB_Akkorde->item(0)).center();
    QWidget* viewport = form.LB_Akkorde->viewport();

    QDragEnterEvent foreign(target, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &foreign);
    QVERIFY(!foreign.isAccepted());

    form.LB_AkkordeStartDrag();
    QDragEnterEvent own(target, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &own);
    QVERIFY(own.isAccepted());
    QDropEvent drop(QPointF(target), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(f.typeNames(), (QStringList{"T2", "T0", "T1"}));
    QVERIFY(!form.LB_AkkordeDragOver());
}

void GrifftabFormTest::removingAChordTypeAsksFirst_data()
{
    QTest::addColumn<bool>("withGrips");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<bool>("failureShown");
    QTest::newRow("with grips, yes") << true << 6 << longQuestion << true << false;
    QTest::newRow("without grips, yes") << false << 6 << shortQuestion << true << false;
    QTest::newRow("no keeps it") << true << 7 << longQuestion << false << false;
    QTest::newRow("closed box keeps it and reports") << false << 2 << shortQuestion << false << true;
}

void GrifftabFormTest::removingAChordTypeAsksFirst()
{
    QFETCH(bool, withGrips);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(bool, removed);
    QFETCH(bool, failureShown);
    Fixture f(2);
    if (withGrips) {
        f.store(0, 0, 1);
        f.store(0, 0, 4);
    }
    f.store(0, 1, 9);
    const int grips = f.doc->Anzahl();
    TF_GrifftabForm& form = f.open();
    startEditing(form);
    f.answers << answer;
    QTest::mouseClick(form.B_sub, Qt::LeftButton, Qt::ShiftModifier);

    QVERIFY(!f.asked.isEmpty());
    QCOMPARE(f.asked[0].meldung, question);
    QCOMPARE(f.asked[0].titel, QStringLiteral("Löschen bestätigen"));
    QCOMPARE(f.asked[0].symbol, 0);
    QCOMPARE(f.asked[0].knopfsatz, 0);
    if (removed) {
        QCOMPARE(f.typeNames(), QStringList{"T1"});
        QCOMPARE(texts(form.LB_Akkorde), QStringList{"T1"});
        QCOMPARE(form.LB_Akkorde->currentRow(), 0);
        QCOMPARE(f.doc->Anzahl(), 1);
        QCOMPARE(f.doc->Element(0).AkkordTyp, 0);
        QCOMPARE(texts(form.LB_Buende), QStringList{"9"});
    } else {
        QCOMPARE(f.typeNames(), (QStringList{"T0", "T1"}));
        QCOMPARE(f.doc->Anzahl(), grips);
    }
    QCOMPARE(f.asked.size(), failureShown ? 2 : 1);
    if (failureShown) {
        QCOMPARE(f.asked[1].meldung, notRemoved);
        QCOMPARE(f.asked[1].titel, QStringLiteral("Abbruch"));
        QCOMPARE(f.asked[1].symbol, 0);
        QCOMPARE(f.asked[1].knopfsatz, 2);
    }
}

void GrifftabFormTest::removingWithoutSelectionReportsFailure()
{
    Fixture f(2);
    TF_GrifftabForm& form = f.open();
    form.TypWaehlen(-1);
    form.PMI_TypEntfernen->trigger();
    QCOMPARE(f.asked.size(), 1);
    QCOMPARE(f.asked[0].meldung, notRemoved);
    QCOMPARE(f.typeNames(), (QStringList{"T0", "T1"}));

    Fixture empty(0);
    TF_GrifftabForm& emptyForm = empty.open();
    emptyForm.PMI_TypEntfernen->trigger();
    QCOMPARE(empty.asked.size(), 1);
    QCOMPARE(empty.asked[0].meldung, notRemoved);
}

void GrifftabFormTest::deleteKeyActsOnTheFocusedList()
{
    Fixture f(2);
    f.store(0, 0, 3);
    TF_GrifftabForm& form = f.open(true);
    clickItem(form.LB_Buende, 0);
    QTRY_VERIFY(form.LB_Buende->hasFocus());
    f.codes.clear();
    QTest::keyClick(form.LB_Buende, Qt::Key_Delete);
    QCOMPARE(f.choices(), QList<int>{2});
    QVERIFY(f.asked.isEmpty());

    clickItem(form.LB_Akkorde, 1);
    QTRY_VERIFY(form.LB_Akkorde->hasFocus());
    f.answers << 7;
    QTest::keyClick(form.LB_Akkorde, Qt::Key_Delete);
    QCOMPARE(f.asked.size(), 1);
    QCOMPARE(f.asked[0].meldung, shortQuestion);
    QTest::keyClick(form.LB_Akkorde, Qt::Key_Insert);
    QCOMPARE(f.typeNames(), (QStringList{"T0", "T1", "(unbenannt)"}));
    QCOMPARE(form.LB_Akkorde->currentRow(), 2);
}

void GrifftabFormTest::fortyFirstTypeIsRefused()
{
    Fixture f(40);
    TF_GrifftabForm& form = f.open();
    startEditing(form);
    QTest::mouseClick(form.B_add, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(f.asked.size(), 1);
    QCOMPARE(f.asked[0].meldung, QStringLiteral("Es können keine weiteren Akkorde aufgenommen werden!"));
    QCOMPARE(f.asked[0].titel, QStringLiteral("Abbruch"));
    QCOMPARE(f.asked[0].symbol, 1);
    QCOMPARE(f.asked[0].knopfsatz, 2);
    QCOMPARE(f.doc->TypAnzahl(), 40);
    QCOMPARE(form.LB_Akkorde->count(), 40);
}

void GrifftabFormTest::addWithShiftCreatesAnUnnamedType()
{
    Fixture f(2);
    TF_GrifftabForm& form = f.open();
    startEditing(form);
    form.UP_Intervall->setValue(6);
    QTest::mouseClick(form.B_add, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(f.typeNames(), (QStringList{"T0", "T1", "(unbenannt)"}));
    QCOMPARE(form.LB_Akkorde->currentRow(), 2);
    QCOMPARE(QString::fromStdString(f.doc->IntervallText(2)), QStringLiteral("1"));
    QCOMPARE(form.E_AName->text(), QStringLiteral("1"));
    QVERIFY(f.asked.isEmpty());
}

void GrifftabFormTest::addPutsTheShownIntervalAndClearsTheOptionalToggle()
{
    Fixture f(1);
    TF_GrifftabForm& form = f.open();
    startEditing(form);
    form.UP_Intervall->setValue(6);
    QCOMPARE(form.L_Intervall->text(), QStringLiteral("5"));
    QTest::mouseClick(form.L_Intervall, Qt::LeftButton);
    QCOMPARE(form.L_Intervall->text(), QStringLiteral("(5)"));
    QTest::mouseClick(form.B_add, Qt::LeftButton);
    QCOMPARE(QString::fromStdString(f.doc->IntervallText(0)), QStringLiteral("1-(5)"));
    QCOMPARE(form.L_Intervall->text(), QStringLiteral("5"));
    QCOMPARE(form.E_AName->text(), QStringLiteral("1-(5)"));

    form.UP_Intervall->setValue(3);
    QTest::mouseClick(form.B_add, Qt::LeftButton);
    QCOMPARE(form.E_AName->text(), QStringLiteral("1-3-(5)"));
    // A second "3" is refused without a word.
    QTest::mouseClick(form.B_add, Qt::LeftButton);
    QCOMPARE(QString::fromStdString(f.doc->IntervallText(0)), QStringLiteral("1-3-(5)"));
    QVERIFY(f.asked.isEmpty());
}

void GrifftabFormTest::buttonsIgnoreTheKeyboard()
{
    Fixture f(1);
    TF_GrifftabForm& form = f.open(true);
    startEditing(form);
    form.UP_Intervall->setValue(6);
    for (QPushButton* button : {form.B_add, form.B_sub}) {
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
        QTest::keyClick(button, Qt::Key_Return);
        QTest::keyClick(button, Qt::Key_Space, Qt::ShiftModifier);
    }
    QCOMPARE(f.doc->TypAnzahl(), 1);
    QCOMPARE(QString::fromStdString(f.doc->IntervallText(0)), QStringLiteral("1"));
    QVERIFY(f.asked.isEmpty());
}

void GrifftabFormTest::intervalLabelClickTogglesOptional_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("shown");
    QTest::newRow("the root never optional") << 0 << 1 << "1";
    QTest::newRow("the root twice") << 0 << 2 << "1";
    QTest::newRow("fifth optional") << 6 << 1 << "(5)";
    QTest::newRow("fifth back") << 6 << 2 << "5";
    QTest::newRow("thirteenth optional") << 17 << 1 << "(13)";
}

void GrifftabFormTest::intervalLabelClickTogglesOptional()
{
    QFETCH(int, code);
    QFETCH(int, clicks);
    QFETCH(QString, shown);
    Fixture f(1);
    TF_GrifftabForm& form = f.open();
    QCOMPARE(form.L_Intervall->text(), QStringLiteral("1"));
    startEditing(form);
    form.UP_Intervall->setValue(code);
    for (int i = 0; i < clicks; ++i)
        QTest::mouseClick(form.L_Intervall, Qt::LeftButton);
    QCOMPARE(form.L_Intervall->text(), shown);
}

void GrifftabFormTest::subtractRemovesTheIntervalAndSendsTheHint()
{
    Fixture f(1);
    f.doc->IntervallZufuegen(0, 6, false);
    TF_GrifftabForm& form = f.open();
    startEditing(form);
    QCOMPARE(form.E_AName->text(), QStringLiteral("1-5"));
    form.UP_Intervall->setValue(6);
    QTest::mouseClick(form.B_sub, Qt::LeftButton);
    QCOMPARE(QString::fromStdString(f.doc->IntervallText(0)), QStringLiteral("1"));
    QCOMPARE(form.E_AName->text(), QStringLiteral("1"));
    QVERIFY(!f.hints.isEmpty());
    QCOMPARE(f.hints.last(), QStringLiteral("Intervall wurde entfernt"));
    // Nothing to remove: no hint.
    QTest::mouseClick(form.B_sub, Qt::LeftButton);
    QCOMPARE(f.hints.count(QStringLiteral("Intervall wurde entfernt")), 1);
}

void GrifftabFormTest::intervalsLongerThanANameAreShownInFull()
{
    Fixture f(1);
    for (int code : {2, 7, 10, 15, 16})
        f.doc->IntervallZufuegen(0, code, true);
    TF_GrifftabForm& form = f.open();
    startEditing(form);
    QCOMPARE(form.E_AName->text(), QStringLiteral("1-(b3)-(#5)-(maj7)-(#11)-(b13)"));
}

void GrifftabFormTest::leavingTheNameEditRenamesTheType()
{
    Fixture f(2);
    TF_GrifftabForm& form = f.open(true);
    startEditing(form);
    QTest::mouseClick(form.CB_NameOrIntervall, Qt::LeftButton);
    QTRY_VERIFY(form.E_AName->hasFocus());
    QVERIFY(form.E_AName->isEnabled());
    QCOMPARE(form.E_AName->text(), QStringLiteral("T0"));
    QCOMPARE(form.E_AName->maxLength(), 19);
    form.E_AName->selectAll();
    typeText(form.E_AName, QStringLiteral("maj7 (ö)"));
    // A character Windows-1252 cannot hold is not taken.
    typeText(form.E_AName, QStringLiteral("Ω"));
    QCOMPARE(form.E_AName->text(), QStringLiteral("maj7 (ö)"));

    clickItem(form.LB_Grund, 3);
    QTRY_VERIFY(!form.E_AName->hasFocus());
    QCOMPARE(std::string(f.doc->TypName(0)), std::string("maj7 (\xF6)"));
    QCOMPARE(form.LB_Akkorde->item(0)->text(), QStringLiteral("maj7 (ö)"));
    QCOMPARE(form.LB_Akkorde->currentRow(), 0);

    // Names are limited to 19 characters.
    form.E_AName->setFocus();
    QTRY_VERIFY(form.E_AName->hasFocus());
    form.E_AName->selectAll();
    QTest::keyClicks(form.E_AName, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
    QCOMPARE(form.E_AName->text(), QStringLiteral("abcdefghijklmnopqrs"));
}

void GrifftabFormTest::upAndDownShortcutsMoveTheTypeWithItsGrips()
{
    Fixture f(3);
    f.store(0, 1, 5);
    TF_GrifftabForm& form = f.open(true);
    QVERIFY(!form.PMI_Hoch->isEnabled());
    QVERIFY(form.PMI_Runter->isEnabled());
    clickItem(form.LB_Akkorde, 1);
    QTRY_VERIFY(form.LB_Akkorde->hasFocus());
    QVERIFY(form.PMI_Hoch->isEnabled());

    QTest::keyClick(form.LB_Akkorde, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(f.typeNames(), (QStringList{"T1", "T0", "T2"}));
    QCOMPARE(form.LB_Akkorde->currentRow(), 0);
    QCOMPARE(f.doc->Element(0).AkkordTyp, 0);
    QVERIFY(!form.PMI_Hoch->isEnabled());
    QTest::keyClick(form.LB_Akkorde, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(f.typeNames(), (QStringList{"T1", "T0", "T2"}));

    QTest::keyClick(form.LB_Akkorde, Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(form.LB_Akkorde, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(f.typeNames(), (QStringList{"T0", "T2", "T1"}));
    QCOMPARE(form.LB_Akkorde->currentRow(), 2);
    QCOMPARE(f.doc->Element(0).AkkordTyp, 2);
    QCOMPARE(texts(form.LB_Buende), QStringList{"5"});
    QVERIFY(!form.PMI_Runter->isEnabled());

    // Elsewhere the keys are no shortcuts of the list.
    form.LB_Grund->setFocus();
    QTRY_VERIFY(form.LB_Grund->hasFocus());
    QTest::keyClick(form.LB_Grund, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(f.typeNames(), (QStringList{"T0", "T2", "T1"}));
}

void GrifftabFormTest::rootEditorTakesFiveCharactersForTheShortName()
{
    Fixture f(1);
    TF_GrifftabForm& form = f.open(true);
    clickItem(form.LB_Grund, 1);
    f.codes.clear();
    form.PMI_UmbenennenKurz->trigger();
    QVERIFY(form.E_GrundBez->isVisible());
    QVERIFY(form.E_GrundBez->isEnabled());
    QTRY_VERIFY(form.E_GrundBez->hasFocus());
    QCOMPARE(form.E_GrundBez->text(), QStringLiteral("C#"));
    const QRect item = form.LB_Grund->visualItemRect(form.LB_Grund->item(1));
    QCOMPARE(form.E_GrundBez->geometry().topLeft(), item.topLeft() + QPoint(2, 1));

    QTest::keyClicks(form.E_GrundBez, QStringLiteral("Cisis"));
    QTest::keyClick(form.E_GrundBez, Qt::Key_X);
    QCOMPARE(form.E_GrundBez->text(), QStringLiteral("Cisis"));
    QTest::keyClick(form.E_GrundBez, Qt::Key_Return);
    QCOMPARE(std::string(f.doc->TonName(1, true)), std::string("Cisis"));
    QCOMPARE(std::string(f.doc->TonName(1, false)), std::string("C#/Db"));
    QVERIFY(form.E_GrundBez->isHidden());
    QVERIFY(!form.E_GrundBez->isEnabled());
    QTRY_VERIFY(form.LB_Grund->hasFocus());
    // A stored short name only makes the main window repaint: its grip stays.
    QCOMPARE(f.choices(), QList<int>{6});
}

void GrifftabFormTest::rootEditorEnterStoresTheLongNameAndRefillsTheRoots()
{
    Fixture f(1);
    TF_GrifftabForm& form = f.open(true);
    clickItem(form.LB_Grund, 11);
    f.codes.clear();
    form.PMI_Umbenennen->trigger();
    QTRY_VERIFY(form.E_GrundBez->hasFocus());
    QCOMPARE(form.E_GrundBez->maxLength(), 10);
    typeText(form.E_GrundBez, QStringLiteral("Hä (B-Dur)"));
    QTest::keyClick(form.E_GrundBez, Qt::Key_Enter);
    QCOMPARE(std::string(f.doc->TonName(11, false)), std::string("H\xE4 (B-Dur)"));
    QCOMPARE(form.LB_Grund->item(11)->text(), QStringLiteral("Hä (B-Dur)"));
    QCOMPARE(form.LB_Grund->currentRow(), 11);
    QVERIFY(form.E_GrundBez->isHidden());
    QVERIFY(f.choices().isEmpty());
}

void GrifftabFormTest::rootEditorCancels_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier);
    QTest::newRow("Ctrl+X") << int(Qt::Key_X) << int(Qt::ControlModifier);
    QTest::newRow("Alt+E") << int(Qt::Key_E) << int(Qt::AltModifier);
    QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << int(Qt::ControlModifier);
}

void GrifftabFormTest::rootEditorCancels()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    Fixture f(1);
    TF_GrifftabForm& form = f.open(true);
    clickItem(form.LB_Grund, 2);
    form.PMI_UmbenennenKurz->trigger();
    QTRY_VERIFY(form.E_GrundBez->hasFocus());
    QTest::keyClicks(form.E_GrundBez, QStringLiteral("Xy"));
    QTest::keyClick(form.E_GrundBez, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(form.E_GrundBez->isHidden());
    QCOMPARE(std::string(f.doc->TonName(2, true)), std::string("D"));
    QVERIFY(!form.CB_Bearbeiten->isChecked());
    QTRY_VERIFY(form.LB_Grund->hasFocus());
}

void GrifftabFormTest::setSelectionShowsAChordWithoutNotifying()
{
    Fixture f(2);
    f.store(0, 0, 2);
    f.store(9, 1, 5);
    f.store(9, 1, 8);
    TF_GrifftabForm& form = f.open();
    startEditing(form);
    f.codes.clear();

    TrefferClass chord;
    chord.Grundton = 9;
    chord.AkkordTyp = 1;
    chord.GriffIndex = 1;
    form.AuswahlSetzen(chord);
    QCOMPARE(form.LB_Grund->currentRow(), 9);
    QCOMPARE(form.LB_Akkorde->currentRow(), 1);
    QCOMPARE(texts(form.LB_Buende), (QStringList{"5", "8"}));
    QCOMPARE(form.LB_Buende->currentRow(), 1);
    QCOMPARE(form.VorzugsBundWert(), 8);
    QCOMPARE(form.E_AName->text(), QStringLiteral("1"));
    QVERIFY(f.codes.isEmpty());

    chord.GriffIndex = 5;
    form.AuswahlSetzen(chord);
    QCOMPARE(form.LB_Buende->currentRow(), 0);
    QCOMPARE(form.VorzugsBundWert(), 5);
    chord.GriffIndex = -1;
    form.AuswahlSetzen(chord);
    QCOMPARE(form.LB_Buende->currentRow(), -1);
    QCOMPARE(form.VorzugsBundWert(), 5);
    QVERIFY(f.codes.isEmpty());

    clickItem(form.LB_Buende, 1);
    QCOMPARE(f.choices(), QList<int>{1});
}

void GrifftabFormTest::activationAndClosingNotify()
{
    Fixture f(1);
    TF_GrifftabForm& form = f.open(true);
    QTRY_VERIFY(f.codes.contains(3));
    QWidget other;
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QTRY_COMPARE(f.codes.last(), 4);

    f.codes.clear();
    form.activateWindow();
    QTRY_COMPARE(f.codes.value(0), 3);
    form.close();
    QVERIFY(f.codes.contains(0));
    QVERIFY(form.isHidden());
}

void GrifftabFormTest::showingFocusesTheListUsedLast()
{
    Fixture f(1);
    f.store(0, 0, 4);
    TF_GrifftabForm& form = f.open(true);
    clickItem(form.LB_Buende, 0);
    form.LB_Grund->setFocus();
    form.hide();
    // The offscreen platform keeps a hidden window as its focus window; another one takes it over.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTRY_VERIFY(form.LB_Buende->hasFocus());
}

void GrifftabFormTest::tenThousandGripsOfOneChordFillOnAClick()
{
    Fixture f(40);
    AkkordDepotClass& doc = *f.doc;
    for (int i = 0; i < MaxGriffe; ++i) {
        doc.Loeschen();
        doc.FingerSetzen(i % 30 + 1, 1, 1);
        doc.FingerSetzen(i / 30 % 30 + 1, 2, 2);
        doc.FingerSetzen(i / 900 + 1, 3, 3);
        doc.AkkordSetzen(5, 39);
        QVERIFY(doc.GriffAufnehmen() > 0);
    }
    QCOMPARE(doc.Anzahl(), MaxGriffe);
    TF_GrifftabForm& form = f.open();
    form.TypWaehlen(39);
    f.codes.clear();

    QElapsedTimer timer;
    timer.start();
    clickItem(form.LB_Grund, 5);
    const qint64 rootClick = timer.restart();
    QCOMPARE(form.LB_Buende->count(), MaxGriffe);
    QCOMPARE(form.LB_Buende->currentRow(), 0);
    clickItem(form.LB_Buende, 3);
    const qint64 gripClick = timer.restart();
    clickItem(form.LB_Akkorde, 38);
    clickItem(form.LB_Akkorde, 39);
    const qint64 typeClicks = timer.restart();
    QCOMPARE(form.LB_Buende->count(), MaxGriffe);
    QCOMPARE(f.choices().size(), 4);
    qInfo("10000 grips: root click %lld ms, grip click %lld ms, two type clicks %lld ms", rootClick,
          gripClick, typeClicks);
}

QTEST_MAIN(GrifftabFormTest)
#include "GrifftabFormTest.moc"
