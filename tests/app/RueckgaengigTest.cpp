#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QComboBox>
#include <QSpinBox>
#include <QTest>
#include <QUndoStack>

#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "app/MainForm.h"
#include "app/PaintBox.h"
#include "app/RueckgaengigVerlauf.h"
#include "forms/GriffSpeichernForm.h"
#include "forms/GriffeFindenForm.h"
#include "forms/GrifftabForm.h"
#include "forms/ModelText.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"
#include "tests/app/TestFenster.h"

namespace {

// The table as its file holds it, and the current grip beside it.
struct Zustand
{
    std::string datei;
    std::string griff;
    bool operator==(const Zustand& other) const { return datei == other.datei && griff == other.griff; }
};

Zustand zustandVon(const AkkordDepotClass& doc)
{
    auto copy = std::make_unique<AkkordDepotClass>(doc);
    std::ostringstream out;
    copy->Schreiben(out);
    const AkkordDatenClass& griff = doc.Daten();
    return {out.str(), std::string(reinterpret_cast<const char*>(&griff), sizeof griff)};
}

} // namespace

class RueckgaengigTest;
Q_DECLARE_METATYPE(std::function<void(RueckgaengigTest&)>)

class RueckgaengigTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyKindOfChangeUndoesAndRedoesExactly_data();
    void everyKindOfChangeUndoesAndRedoesExactly();
    void captionsNameTheStepAndFollowTheHistory();
    void shortcutsWorkFromTheChordTableWindow();
    void modifiedStateFollowsUndoToTheSavedState();
    void openingCreatingAndSavingClearTheHistory();
    void historyHoldsTwoHundredSteps();
    void randomCommandsUndoToTheStartAndRedoToTheEnd();
    void showingOrFetchingAGripIsAStepOfItsOwn();
    void chordTableSelectionSurvivesUndo();
    void redoShowsTheFretsTheEditShowed();

private:
    AkkordDepotClass& doc() { return window->dokument(); }
    TF_GrifftabForm& table() { return *window->grifftabFenster(); }
    QAction* item(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    QUndoStack& stack() { return window->verlauf().stapel(); }
    void clickSpot(int bund, int saite, Qt::MouseButton button = Qt::LeftButton);
    void selectType(int typ);
    void storeShown();

    std::unique_ptr<TestFenster> f;
    TF_Main* window = nullptr;
};

void RueckgaengigTest::init()
{
    f = std::make_unique<TestFenster>();
    window = &f->start();
    // The bundled table fills the catalogue; one place is kept free for adding a type.
    doc().AkkordtypLoeschen(doc().TypAnzahl() - 1);
    doc().SetzeGeaendert(false);
    window->GrifftabFensterNeuFuellen();
    window->verlauf().leeren();
    TF_GriffSpeichern::SetzeAntwort([](TF_GriffSpeichern&) { return int(QDialog::Accepted); });
}

void RueckgaengigTest::cleanup()
{
    TF_GriffSpeichern::SetzeAntwort(nullptr);
    f.reset();
    window = nullptr;
}

void RueckgaengigTest::clickSpot(int bund, int saite, Qt::MouseButton button)
{
    window->zeichner().SetStartbund(1);
    QTest::mouseClick(window->griffbrettFeld(), button, {}, spotCentre(*window, bund, saite));
}

void RueckgaengigTest::selectType(int typ)
{
    table().LB_Akkorde->setCurrentRow(typ);
    table().LB_AkkordeClick();
}

void RueckgaengigTest::storeShown()
{
    item("MI_AkkSpeichern")->trigger();
}

void RueckgaengigTest::everyKindOfChangeUndoesAndRedoesExactly_data()
{
    QTest::addColumn<QString>("was");
    QTest::addColumn<std::function<void(RueckgaengigTest&)>>("prepare");
    QTest::addColumn<std::function<void(RueckgaengigTest&)>>("change");
    using Step = std::function<void(RueckgaengigTest&)>;
    const Step nothing = [](RueckgaengigTest&) {};
    const Step freshGrip = [](RueckgaengigTest& t) {
        setGrip(t.doc(), "x3555x", "x1344x");
        t.window->NachAenderungAktualisieren();
    };
    const auto select = [](int typ) { return Step([typ](RueckgaengigTest& t) { t.selectType(typ); }); };
    const Step storedGrip = [](RueckgaengigTest& t) {
        t.table().GriffWaehlen(0);
        t.table().LB_BuendeClick();
    };

    QTest::newRow("finger") << "Finger setzen" << freshGrip
                            << Step([](RueckgaengigTest& t) { t.clickSpot(2, 2); });
    QTest::newRow("finger off") << "Finger entfernen" << freshGrip << Step([](RueckgaengigTest& t) {
        const FingerPunktClass lowest = t.doc().Punkt(0);
        t.clickSpot(lowest.Bund, lowest.Saite);
    });
    QTest::newRow("barre") << "Barré eintragen" << freshGrip << Step([](RueckgaengigTest& t) {
        t.window->StelleWaehlen(1, 1, false);
        t.item("MI_Barre")->trigger();
    });
    QTest::newRow("open string") << "Saite umschalten" << freshGrip << Step([](RueckgaengigTest& t) {
        t.window->StelleWaehlen(1, 6, false);
        t.window->SaiteUmschalten();
    });
    QTest::newRow("all fingers off") << "Alle Finger entfernen" << freshGrip << Step([](RueckgaengigTest& t) {
        t.item("MI_FingerEntfAlle")->trigger();
    });
    QTest::newRow("move") << "Griff verschieben" << freshGrip
                          << Step([](RueckgaengigTest& t) { t.window->ZuBundGehen(7); });
    QTest::newRow("store") << "Griff speichern" << freshGrip
                           << Step([](RueckgaengigTest& t) { t.storeShown(); });
    QTest::newRow("store range") << "Griff speichern" << freshGrip << Step([](RueckgaengigTest& t) {
        TF_GriffSpeichern::SetzeAntwort([](TF_GriffSpeichern& dialog) {
            dialog.RB_BundBereich->setChecked(true);
            dialog.RB_BundBereichClick();
            dialog.TCB_VonBund->setCurrentIndex(2);
            return int(QDialog::Accepted);
        });
        t.storeShown();
    });
    QTest::newRow("remove") << "Griff entfernen" << storedGrip
                            << Step([](RueckgaengigTest& t) { t.item("MI_AkkEntfernen")->trigger(); });
    QTest::newRow("add type") << "Akkordtyp hinzufügen" << nothing
                              << Step([](RueckgaengigTest& t) { t.table().PMI_TypZufuegenClick(); });
    QTest::newRow("remove type") << "Akkordtyp entfernen" << select(1)
                                 << Step([](RueckgaengigTest& t) { t.table().PMI_TypEntfernenClick(); });
    QTest::newRow("rename type") << "Akkordtyp umbenennen" << select(2) << Step([](RueckgaengigTest& t) {
        t.table().CB_NameOrIntervall->setChecked(true);
        t.table().CB_NameOrIntervallClick();
        t.table().E_AName->setText(QStringLiteral("neu"));
        t.table().E_AName->setModified(true);
        t.table().E_ANameExit();
    });
    QTest::newRow("move type up") << "Akkordtyp verschieben" << select(3)
                                  << Step([](RueckgaengigTest& t) { t.table().PMI_HochClick(); });
    QTest::newRow("drag type") << "Akkordtyp verschieben" << select(0) << Step([](RueckgaengigTest& t) {
        t.table().LB_AkkordeStartDrag();
        t.table().LB_AkkordeDragDrop(5);
    });
    QTest::newRow("add interval") << "Intervall hinzufügen" << select(0) << Step([](RueckgaengigTest& t) {
        t.table().UP_Intervall->setValue(10);
        t.table().B_addMouseDown({});
    });
    QTest::newRow("optional interval")
        << "Intervall optional hinzufügen" << select(0) << Step([](RueckgaengigTest& t) {
               t.table().UP_Intervall->setValue(10);
               t.table().L_IntervallClick();
               t.table().B_addMouseDown({});
           });
    QTest::newRow("remove interval") << "Intervall entfernen" << select(0) << Step([](RueckgaengigTest& t) {
        t.table().UP_Intervall->setValue(t.doc().IntervallAn(0, 1));
        t.table().B_subMouseDown({});
    });
    QTest::newRow("root name") << "Grundton umbenennen" << Step([](RueckgaengigTest& t) {
        t.table().LB_Grund->setCurrentRow(6);
        t.table().LB_GrundClick();
    }) << Step([](RueckgaengigTest& t) {
        t.table().PMI_UmbenennenClick();
        t.table().E_GrundBez->setText(QStringLiteral("Fis"));
        QTest::keyClick(t.table().E_GrundBez, Qt::Key_Return);
    });
    QTest::newRow("sort") << "Alle sortieren" << Step([](RueckgaengigTest& t) {
        // A grip of the last root stored first, so that sorting moves it.
        t.doc().GriffHolen(11, 0, false, 0);
        t.item("MI_AkkEntfernen")->trigger();
        t.doc().GriffHolen(0, 0, false, 0);
        const AkkordDatenClass c = t.doc().Daten();
        t.doc().EntfernenAn(t.doc().GriffSuchen());
        t.doc().Anhaengen(c);
        t.window->verlauf().leeren();
    }) << Step([](RueckgaengigTest& t) { t.table().PMI_AkkordeSortClick(); });
}

void RueckgaengigTest::everyKindOfChangeUndoesAndRedoesExactly()
{
    QFETCH(QString, was);
    QFETCH(std::function<void(RueckgaengigTest&)>, prepare);
    QFETCH(std::function<void(RueckgaengigTest&)>, change);
    prepare(*this);
    const int steps = stack().count();
    const Zustand before = zustandVon(doc());
    change(*this);
    const Zustand after = zustandVon(doc());
    QVERIFY2(!(after == before), "the change changed something");
    QCOMPARE(stack().count(), steps + 1);
    QCOMPARE(stack().undoText(), was);
    QVERIFY(item("MI_Rueckgaengig")->isEnabled());

    item("MI_Rueckgaengig")->trigger();
    QVERIFY2(zustandVon(doc()).datei == before.datei, "undo restores the table byte for byte");
    QVERIFY2(zustandVon(doc()).griff == before.griff, "undo restores the grip");
    QVERIFY(item("MI_Wiederholen")->isEnabled());
    item("MI_Wiederholen")->trigger();
    QVERIFY2(zustandVon(doc()) == after, "redo gives the changed table again");
    item("MI_Rueckgaengig")->trigger();
    QVERIFY(zustandVon(doc()) == before);
}

void RueckgaengigTest::captionsNameTheStepAndFollowTheHistory()
{
    QVERIFY(!item("MI_Rueckgaengig")->isEnabled());
    QVERIFY(!item("MI_Wiederholen")->isEnabled());
    QCOMPARE(item("MI_Rueckgaengig")->text(), QStringLiteral("&Rückgängig"));
    setGrip(doc(), "xxxxxx", "------");
    clickSpot(3, 2);
    QCOMPARE(item("MI_Rueckgaengig")->text(), QStringLiteral("&Rückgängig: Finger setzen"));
    QVERIFY(item("MI_Rueckgaengig")->isEnabled());
    QVERIFY(!item("MI_Wiederholen")->isEnabled());
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!item("MI_Rueckgaengig")->isEnabled());
    QCOMPARE(item("MI_Wiederholen")->text(), QStringLiteral("&Wiederholen: Finger setzen"));
    QTest::keyClick(window, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(stack().index(), 1);
    QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(stack().index(), 1);
    // Moving the chosen spot and browsing are no changes.
    window->StelleWaehlen(4, 4, false);
    QCOMPARE(stack().count(), 1);
    // A right click changes nothing either.
    clickSpot(6, 5, Qt::RightButton);
    QCOMPARE(stack().count(), 1);
}

void RueckgaengigTest::shortcutsWorkFromTheChordTableWindow()
{
    table().PMI_TypZufuegenClick();
    const int types = doc().TypAnzahl();
    table().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&table()));
    QTest::keyClick(table().LB_Akkorde, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(doc().TypAnzahl(), types - 1);
    QCOMPARE(table().LB_Akkorde->count(), types - 1);
    QTest::keyClick(table().LB_Akkorde, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(doc().TypAnzahl(), types);
    QCOMPARE(table().LB_Akkorde->count(), types);
}

void RueckgaengigTest::modifiedStateFollowsUndoToTheSavedState()
{
    QVERIFY(!doc().IstGeaendert());
    // A grip edit leaves the table unmodified, as before.
    clickSpot(2, 3);
    QVERIFY(!doc().IstGeaendert());
    table().PMI_TypZufuegenClick();
    QVERIFY(doc().IstGeaendert());
    item("MI_Rueckgaengig")->trigger();
    QVERIFY2(!doc().IstGeaendert(), "back at the state opened");
    item("MI_Rueckgaengig")->trigger();
    QVERIFY(!doc().IstGeaendert());
    item("MI_Wiederholen")->trigger();
    item("MI_Wiederholen")->trigger();
    QVERIFY(doc().IstGeaendert());

    // Saved here: undo makes it modified, redo back to the saved state does not.
    item("MI_Speichern")->trigger();
    QVERIFY(!doc().IstGeaendert());
    QVERIFY(stack().canUndo());
    item("MI_Rueckgaengig")->trigger();
    QVERIFY(doc().IstGeaendert());
    item("MI_Wiederholen")->trigger();
    QVERIFY(!doc().IstGeaendert());

    // A change outside the history keeps the table modified through undo.
    table().PMI_TypZufuegenClick();
    doc().SetzeText(1, "anders");
    item("MI_Rueckgaengig")->trigger();
    QVERIFY(doc().IstGeaendert());

    item("MI_Speichern")->trigger();
    table().PMI_TypZufuegenClick();
    item("MI_Rueckgaengig")->trigger();
    f->asked.clear();
    window->close();
    QVERIFY2(f->asked.isEmpty(), "no save-changes question after undoing to the saved state");
}

void RueckgaengigTest::openingCreatingAndSavingClearTheHistory()
{
    table().PMI_TypZufuegenClick();
    QVERIFY(stack().canUndo());
    QVERIFY(window->OeffnenMitPfad(f->file(defaultTableName)));
    QVERIFY(!stack().canUndo());
    QVERIFY(!item("MI_Rueckgaengig")->isEnabled());

    setGrip(doc(), "x3555x", "x1344x");
    storeShown();
    item("MI_Speichern")->trigger();
    QVERIFY(stack().isClean());

    window->ZuBundGehen(5);
    QVERIFY(stack().canUndo());
    f->answers = {7};
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        dialog->findChild<QPushButton*>(QStringLiteral("BB_Ok"))->click();
    });
    item("MI_Neu")->trigger();
    QVERIFY2(!stack().canUndo(), "no step of the old table is undone into the new one");
    QVERIFY2(doc().IstGeaendert(), "a new table is unsaved");
}

void RueckgaengigTest::historyHoldsTwoHundredSteps()
{
    QVERIFY(stack().undoLimit() >= 200);
    const Zustand start = zustandVon(doc());
    for (int i = 0; i < 200; ++i)
        window->ZuBundGehen(1 + i % 2 + (i % 3 == 0 ? 3 : 0));
    QCOMPARE(stack().count(), 200);
    QVERIFY2(window->verlauf().Speicherbedarf() < 1024 * 1024, "200 grip edits hold less than 1 MB");
    while (stack().canUndo())
        stack().undo();
    QVERIFY(zustandVon(doc()) == start);
}

void RueckgaengigTest::randomCommandsUndoToTheStartAndRedoToTheEnd()
{
    // Every step of the sequence must stay in the history.
    stack().setUndoLimit(0);
    std::mt19937 random(20240611);
    const Zustand start = zustandVon(doc());
    int done = 0;
    for (int n = 0; n < 2000; ++n) {
        const int kind = static_cast<int>(random() % 12);
        const int bund = 1 + static_cast<int>(random() % 5);
        const int saite = 1 + static_cast<int>(random() % 6);
        switch (kind) {
        case 0:
        case 1:
        case 2:
            window->StelleWaehlen(bund, saite, false);
            window->FingerKlick(true, false);
            break;
        case 3:
            window->ZuBundGehen(bund);
            break;
        case 4:
            window->StelleWaehlen(bund, saite, false);
            window->SaiteUmschalten();
            break;
        case 5:
            storeShown();
            break;
        case 6:
            item("MI_AkkEntfernen")->trigger();
            break;
        case 7:
            if (doc().TypAnzahl() < MaxTypen - 1)
                table().PMI_TypZufuegenClick();
            break;
        case 8:
            table().TypWaehlen(static_cast<int>(random() % static_cast<unsigned>(doc().TypAnzahl())));
            table().PMI_RunterClick();
            break;
        case 9:
            table().TypWaehlen(static_cast<int>(random() % static_cast<unsigned>(doc().TypAnzahl())));
            table().UP_Intervall->setValue(static_cast<int>(random() % 13));
            table().B_addMouseDown({});
            break;
        case 10:
            if (doc().TypAnzahl() > 8) {
                table().TypWaehlen(static_cast<int>(random() % static_cast<unsigned>(doc().TypAnzahl())));
                table().PMI_TypEntfernenClick();
            }
            break;
        default:
            table().PMI_AkkordeSortClick();
            break;
        }
        done = stack().count();
    }
    QVERIFY2(done > 500, qPrintable(QStringLiteral("%1 steps recorded").arg(done)));
    const Zustand end = zustandVon(doc());
    while (stack().canUndo())
        stack().undo();
    QVERIFY2(zustandVon(doc()) == start, "undoing everything gives the table opened");
    while (stack().canRedo())
        stack().redo();
    QVERIFY2(zustandVon(doc()) == end, "redoing everything gives the table at the end");
}

void RueckgaengigTest::showingOrFetchingAGripIsAStepOfItsOwn()
{
    // The user's own grip, built on the board: E minor.
    item("MI_FingerEntfAlle")->trigger();
    setGrip(doc(), "022000", "023000");
    doc().AkkordSetzen(KeinTon, 0);
    window->NachAenderungAktualisieren();
    clickSpot(2, 2);
    clickSpot(2, 2);
    const std::string own = zustandVon(doc()).griff;

    item("MI_GriffeFinden")->trigger();
    auto* dialog = window->findChild<TF_GriffeFinden*>();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->Gefuellt());
    QVERIFY(dialog->Zeilen() >= 2);
    // Browsing the finder's grips is one step.
    dialog->LB_Griffe->setCurrentRow(1);
    dialog->LB_Griffe->setCurrentRow(0);
    const std::string shown = zustandVon(doc()).griff;
    QVERIFY(shown != own);
    dialog->close();
    QTRY_VERIFY(!window->findChild<TF_GriffeFinden*>());
    QCOMPARE(stack().undoText(), QStringLiteral("Griff zeigen"));

    item("MI_Rueckgaengig")->trigger();
    QVERIFY2(zustandVon(doc()).griff == own, "Ctrl+Z returns to the user's grip");
    item("MI_Wiederholen")->trigger();
    QVERIFY(zustandVon(doc()).griff == shown);

    // Fetching stored grips with V is a step as well.
    item("MI_Rueckgaengig")->trigger();
    item("MI_AkkVor")->trigger();
    item("MI_AkkVor")->trigger();
    QVERIFY(zustandVon(doc()).griff != own);
    QCOMPARE(stack().undoText(), QStringLiteral("Griff holen"));
    item("MI_Rueckgaengig")->trigger();
    QVERIFY2(zustandVon(doc()).griff == own, "Ctrl+Z returns to the grip before V");
}

void RueckgaengigTest::chordTableSelectionSurvivesUndo()
{
    table().LB_Grund->setCurrentRow(5);
    table().LB_GrundClick();
    selectType(3);
    const QString moved = table().LB_Akkorde->currentItem()->text();
    table().PMI_HochClick();
    QCOMPARE(table().LB_Akkorde->currentRow(), 2);
    QCOMPARE(table().LB_Akkorde->currentItem()->text(), moved);

    item("MI_Rueckgaengig")->trigger();
    QCOMPARE(table().LB_Grund->currentRow(), 5);
    QCOMPARE(table().LB_Akkorde->currentRow(), 3);
    QCOMPARE(table().LB_Akkorde->currentItem()->text(), moved);
    item("MI_Wiederholen")->trigger();
    QCOMPARE(table().LB_Grund->currentRow(), 5);
    QCOMPARE(table().LB_Akkorde->currentRow(), 2);
    QCOMPARE(table().LB_Akkorde->currentItem()->text(), moved);

    // A root-name edit keeps root and type.
    selectType(4);
    table().PMI_UmbenennenClick();
    table().E_GrundBez->setText(QStringLiteral("Fes"));
    QTest::keyClick(table().E_GrundBez, Qt::Key_Return);
    QCOMPARE(stack().undoText(), QStringLiteral("Grundton umbenennen"));
    item("MI_Rueckgaengig")->trigger();
    QCOMPARE(table().LB_Grund->currentRow(), 5);
    QCOMPARE(table().LB_Akkorde->currentRow(), 4);
    item("MI_Wiederholen")->trigger();
    QCOMPARE(table().LB_Grund->currentRow(), 5);
    QCOMPARE(table().LB_Akkorde->currentRow(), 4);
}

void RueckgaengigTest::redoShowsTheFretsTheEditShowed()
{
    // The start C; the first finger leaves the H string.
    setGrip(doc(), "x32010", "x32010");
    window->NachHolenAktualisieren();
    clickSpot(1, 5);
    const int fret = window->zeichner().GetStartbund();
    const std::string edited = zustandVon(doc()).griff;
    QCOMPARE(fret, 1);
    item("MI_Rueckgaengig")->trigger();
    QCOMPARE(window->zeichner().GetStartbund(), 1);
    item("MI_Wiederholen")->trigger();
    QCOMPARE(window->zeichner().GetStartbund(), fret);
    QVERIFY(zustandVon(doc()).griff == edited);
}

QTEST_MAIN(RueckgaengigTest)
#include "RueckgaengigTest.moc"
