#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QListWidget>
#include <QTest>

#include <memory>

#include "app/MainForm.h"
#include "app/PaintBox.h"
#include "forms/DateiDialog.h"
#include "forms/GriffSpeichernForm.h"
#include "forms/GrifftabForm.h"
#include "forms/Statusleiste.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"
#include "tests/app/TestFenster.h"

namespace {

enum Type { Major, Minor, Sixth, MinorSeventh };

} // namespace

class GriffBefehleTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openStringStoresWithoutTheDialog();
    void storingTwiceIsRefused();
    void rangeStoreMovesTheRoot();
    void rangeStoreIncludingItsOwnFret();
    void cancelledDialogStoresNothing();
    void steppingWrapsAround();
    void oneStoredGripDisablesStepping();
    void keypadStepsEvenWhenDisabled();
    void removeAsksAndDeclineChangesNothing();
    void chordTableWindowFollowsAndShortcutsPause();
    void chosenGripIsShownOrTheGripCleared();
    void storedGripsSurviveSaveQuitAndRestart();
    void chordTableWindowPlacementIsKept();
    void switchingWindowsWithF12();

private:
    QAction* item(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    void store(const char* frets, const char* fingers);

    std::unique_ptr<TestFenster> f;
    TF_Main* window = nullptr;
    AkkordDepotClass* doc = nullptr;
    int dialogs = 0;
    bool range = false;
    int from = 1;
    int to = 1;
};

void GriffBefehleTest::init()
{
    f = std::make_unique<TestFenster>();
    dialogs = 0;
    range = false;
    TF_GriffSpeichern::SetzeAntwort([this](TF_GriffSpeichern& dialog) {
        ++dialogs;
        dialog.RB_BundBereich->setChecked(range);
        dialog.TCB_VonBund->setCurrentIndex(from - 1);
        dialog.TCB_VonBundExit();
        dialog.TCB_BisBund->setCurrentIndex(to - from);
        return static_cast<int>(range || from > 0 ? QDialog::Accepted : QDialog::Rejected);
    });
    f->writeIni("[Diagramm]\nAkkordBestimmt=0\nBundanz0=12\n");
    window = &f->start();
    QVERIFY(QTest::qWaitForWindowActive(window));
    doc = &window->dokument();
    smallCatalogue(*doc);
    doc->Loeschen();
    window->GrifftabFensterNeuFuellen();
    window->NachAenderungAktualisieren();
}

void GriffBefehleTest::cleanup()
{
    TF_GriffSpeichern::SetzeAntwort(nullptr);
    f.reset();
}

void GriffBefehleTest::store(const char* frets, const char* fingers)
{
    setGrip(*doc, frets, fingers);
    window->NachAenderungAktualisieren();
    item("MI_AkkSpeichern")->trigger();
}

void GriffBefehleTest::openStringStoresWithoutTheDialog()
{
    store("x32010", "x32010");
    QCOMPARE(dialogs, 0);
    QCOMPARE(doc->Anzahl(), 1);
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Griff wurde gespeichert"));
    QCOMPARE(window->statusleiste()->panelText(1), QStringLiteral("1/1"));
    QVERIFY(!item("MI_AkkSpeichern")->isEnabled());
    QVERIFY(item("MI_AkkEntfernen")->isEnabled());
}

void GriffBefehleTest::storingTwiceIsRefused()
{
    store("x32010", "x32010");
    item("MI_AkkSpeichern")->setEnabled(true);
    item("MI_AkkSpeichern")->trigger();
    QCOMPARE(doc->Anzahl(), 1);
    QCOMPARE(window->statusleiste()->panelText(3),
             QStringLiteral("Griff wurde nicht gespeichert: er ist schon gespeichert"));

    // A full table says so.
    AkkordDatenClass filler;
    filler.PunktAnzahl = 1;
    for (int i = doc->Anzahl(); i < MaxGriffe; ++i) {
        filler.Grundton = static_cast<std::uint8_t>(i % 12);
        filler.AkkordTyp = 0;
        filler.Punkte[0].Bund = i / 12 % 30 + 1;
        filler.Punkte[0].Saite = i / 360 % 6 + 1;
        filler.Punkte[0].Finger = 1;
        QVERIFY(doc->Anhaengen(filler) > 0);
    }
    store("x02210", "x02310");
    QCOMPARE(doc->Anzahl(), MaxGriffe);
    QCOMPARE(window->statusleiste()->panelText(3),
             QStringLiteral("Griff wurde nicht gespeichert: Die Grifftabelle ist voll: 10000 Griffe"));
}

void GriffBefehleTest::rangeStoreMovesTheRoot()
{
    range = true;
    from = 1;
    to = 3;
    store("577555", "134111"); // A minor, barré at fret 5
    QCOMPARE(dialogs, 1);
    QCOMPARE(doc->Anzahl(), 3);
    const int roots[] = {5, 6, 7}; // moved down by 4, 3 and 2 semitones: F, F#, G
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(TiefsterBundVon(doc->Element(i)), i + 1);
        QCOMPARE(static_cast<int>(doc->Element(i).Grundton), roots[i]);
        QCOMPARE(doc->Element(i).AkkordTyp, static_cast<int>(Minor));
    }
    QCOMPARE(doc->TiefsterBund(), 5);
    QCOMPARE(static_cast<int>(doc->Grundton), 9);
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Griff wurde gespeichert"));
}

void GriffBefehleTest::rangeStoreIncludingItsOwnFret()
{
    store("x35553", "x12341"); // C major at fret 3, stored there (no range)
    QCOMPARE(doc->Anzahl(), 1);
    range = true;
    from = 2;
    to = 4;
    setGrip(*doc, "x35553", "x12341");
    window->NachAenderungAktualisieren();
    item("MI_AkkSpeichern")->setEnabled(true);
    item("MI_AkkSpeichern")->trigger();
    QCOMPARE(doc->Anzahl(), 3);
}

void GriffBefehleTest::cancelledDialogStoresNothing()
{
    from = 0;
    store("x35553", "x12341");
    QCOMPARE(dialogs, 1);
    QCOMPARE(doc->Anzahl(), 0);
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Griff wurde nicht gespeichert!"));
}

void GriffBefehleTest::steppingWrapsAround()
{
    range = true;
    from = 1;
    to = 12;
    store("x35553", "x12341"); // A shape over frets 1..12: twelve roots, C at fret 3
    range = false;
    store("x3555x", "x1333x"); // C major at fret 3, only here
    store("x3201x", "x3201x"); // C major, open: no dialog
    QCOMPARE(doc->Anzahl(), 14);
    setGrip(*doc, "x3201x", "x3201x");
    window->NachHolenAktualisieren();
    QCOMPARE(window->statusleiste()->panelText(1), QStringLiteral("3/3"));
    item("MI_AkkVor")->trigger();
    QCOMPARE(window->statusleiste()->panelText(1), QStringLiteral("1/3"));
    item("MI_AkkZurueck")->trigger();
    QCOMPARE(window->statusleiste()->panelText(1), QStringLiteral("3/3"));
    QTest::keyClick(window, Qt::Key_Z);
    QCOMPARE(window->statusleiste()->panelText(1), QStringLiteral("2/3"));
    QCOMPARE(doc->FingerBei(5, 3), 3);
}

void GriffBefehleTest::oneStoredGripDisablesStepping()
{
    store("x32010", "x32010");
    QVERIFY(!item("MI_AkkVor")->isEnabled());
    QVERIFY(!item("MI_AkkZurueck")->isEnabled());
}

void GriffBefehleTest::keypadStepsEvenWhenDisabled()
{
    store("x32010", "x32010");
    setGrip(*doc, "x3201x", "x3201x"); // C again, not stored
    window->NachAenderungAktualisieren();
    QCOMPARE(window->statusleiste()->panelText(1), QStringLiteral("1"));
    QTest::keyClick(window, Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(window->statusleiste()->panelText(1), QStringLiteral("1/1"));
    QCOMPARE(doc->SaitenStatus(6), SaiteLeer);
}

void GriffBefehleTest::removeAsksAndDeclineChangesNothing()
{
    store("x32010", "x32010");
    f->answers << 7;
    QTest::keyClick(window, Qt::Key_Delete);
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].meldung, QStringLiteral("Soll der Griff wirklich entfernt werden? "));
    QCOMPARE(f->asked[0].titel, QStringLiteral("Löschen?"));
    QCOMPARE(f->asked[0].knopfsatz, 0);
    QCOMPARE(doc->Anzahl(), 1);
    f->answers << 6;
    item("MI_AkkEntfernen")->trigger();
    QCOMPARE(doc->Anzahl(), 0);
    QCOMPARE(window->statusleiste()->panelText(1), QStringLiteral("0"));
}

void GriffBefehleTest::chordTableWindowFollowsAndShortcutsPause()
{
    TF_GrifftabForm* table = window->grifftabFenster();
    QVERIFY(table->isVisible());
    QVERIFY(table->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    store("x02210", "x02310"); // A minor
    TrefferClass chosen;
    QVERIFY(table->Auswahl(chosen));
    QCOMPARE(static_cast<int>(chosen.Grundton), 9);
    QCOMPARE(chosen.AkkordTyp, static_cast<int>(Minor));
    QCOMPARE(chosen.GriffIndex, 0);

    // While the chord-table window is active, the single keys are no shortcuts of the main window.
    table->activateWindow();
    QTRY_VERIFY(item("MI_AkkVor")->shortcut().isEmpty());
    window->activateWindow();
    QTRY_COMPARE(item("MI_AkkVor")->shortcut(), QKeySequence(Qt::Key_V));
}

void GriffBefehleTest::chosenGripIsShownOrTheGripCleared()
{
    store("x02210", "x02310");
    doc->Loeschen();
    window->NachAenderungAktualisieren();
    TF_GrifftabForm* table = window->grifftabFenster();
    TrefferClass chord;
    chord.Grundton = 9;
    chord.AkkordTyp = Minor;
    chord.GriffIndex = 0;
    table->AuswahlSetzen(chord);
    window->Benachrichtigen(1);
    QCOMPARE(doc->PunktAnzahl(), 3);
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("Am"));

    chord.Grundton = 2; // D minor: nothing stored
    table->AuswahlSetzen(chord);
    window->Benachrichtigen(1);
    QCOMPARE(doc->PunktAnzahl(), 0);
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Kein passendender Griff vorhanden!"));
}

void GriffBefehleTest::storedGripsSurviveSaveQuitAndRestart()
{
    // C major and A minor built with the mouse.
    const auto click = [this](int bund, int saite) {
        QTest::mouseClick(window->griffbrettFeld(), Qt::LeftButton, Qt::NoModifier,
                          spotCentre(*window, bund, saite));
    };
    doc->Loeschen();
    for (int s : {3, 4, 6}) {
        window->StelleWaehlen(1, s, false);
        window->SaiteUmschalten();
    }
    click(1, 5);
    click(2, 3);
    click(3, 2);
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("C"));
    item("MI_AkkSpeichern")->trigger();
    window->AlleFingerEntfernen();
    window->AlleFingerEntfernen(); // all strings open
    window->StelleWaehlen(1, 1, false);
    window->SaiteUmschalten(); // low E muted
    click(1, 5);
    click(2, 3);
    click(2, 4);
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("Am"));
    item("MI_AkkSpeichern")->trigger();
    QCOMPARE(doc->Anzahl(), 2);

    const QString path = f->file(QStringLiteral("Meine.cho"));
    SetzeDateiDialogAntwort([path](const DateiDialogAnfrage&) { return path; });
    item("MI_SpeichernAls")->trigger();
    SetzeDateiDialogAntwort(nullptr);
    item("MI_Beenden")->trigger();
    QVERIFY(f->asked.isEmpty());
    f->stop();

    window = &f->start();
    doc = &window->dokument();
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - Meine"));
    TF_GrifftabForm* table = window->grifftabFenster();
    auto* roots = table->findChild<QListWidget*>(QStringLiteral("LB_Grund"));
    auto* types = table->findChild<QListWidget*>(QStringLiteral("LB_Akkorde"));
    auto* frets = table->findChild<QListWidget*>(QStringLiteral("LB_Buende"));
    QCOMPARE(types->count(), 4);
    QCOMPARE(frets->count(), 1);
    QTest::mouseClick(roots->viewport(), Qt::LeftButton, Qt::NoModifier,
                      roots->visualItemRect(roots->item(9)).center());
    QTest::mouseClick(types->viewport(), Qt::LeftButton, Qt::NoModifier,
                      types->visualItemRect(types->item(1)).center());
    QCOMPARE(frets->count(), 1);
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("Am"));
    QCOMPARE(doc->FingerBei(2, 4), 3);
}

void GriffBefehleTest::chordTableWindowPlacementIsKept()
{
    TF_GrifftabForm* table = window->grifftabFenster();
    // Wider than the designed 135 pixels, so that the header titles show whole.
    QCOMPARE(table->width(), table->Standardbreite());
    QVERIFY(table->width() >= 135);
    QCOMPARE(table->height(), 440);
    QVERIFY(item("MI_GrifftabOnOff")->isChecked());
    table->move(40, 50);
    table->resize(200, 300);
    table->SetzeKopfbreite(0, 60);
    QVERIFY(window->close());
    const QString ini = f->iniText();
    QVERIFY(ini.contains(QStringLiteral("[Grifftab]")));
    QVERIFY(ini.contains(QStringLiteral("WindowWidth=200")));
    QVERIFY(ini.contains(QStringLiteral("WindowHeight=300")));
    QVERIFY(ini.contains(QStringLiteral("Width0=60")));
    f->stop();

    f->writeIni(f->iniText().toUtf8() + "Anzeigen=0\n");
    window = &f->start();
    QVERIFY(QTest::qWaitForWindowActive(window));
    table = window->grifftabFenster();
    QCOMPARE(table->width(), 200);
    QCOMPARE(table->Kopfbreite(0), 60);
    QVERIFY(!table->isVisible());
    QVERIFY(!item("MI_GrifftabOnOff")->isChecked());
    QTest::keyClick(window, Qt::Key_B, Qt::ControlModifier);
    QVERIFY(table->isVisible());
    QVERIFY(f->iniText().contains(QStringLiteral("Anzeigen=1")));
}

void GriffBefehleTest::switchingWindowsWithF12()
{
    TF_GrifftabForm* table = window->grifftabFenster();
    item("MI_GrifftabOnOff")->trigger();
    QVERIFY(!table->isVisible());
    QTest::keyClick(window, Qt::Key_F12);
    QVERIFY2(table->isVisible(), "F12 shows the hidden window");
    QVERIFY(item("MI_GrifftabOnOff")->isChecked());
    QTRY_VERIFY(table->isActiveWindow());
    QTest::keyClick(table, Qt::Key_F12);
    QVERIFY2(!table->isVisible(), "shown by F12, hidden again by F12");
}

QTEST_MAIN(GriffBefehleTest)
#include "GriffBefehleTest.moc"
