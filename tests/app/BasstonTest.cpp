#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QTest>

#include <memory>

#include "app/MainForm.h"
#include "app/PaintBox.h"
#include "erkennung/Treffer.h"
#include "forms/GrifftabForm.h"
#include "forms/Statusleiste.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"
#include "table/FingersatzSuche.h"
#include "tests/app/TestFenster.h"

// The bass mode, slash chords and the names of stored fingerings, with the bundled chord table.
class BasstonTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void bassItemFollowsTheStartStrings();
    void aFirstStartNamesChordsFromTheBass();
    void anExistingIniWithAnotherModeKeepsIt_data();
    void anExistingIniWithAnotherModeKeepsIt();
    void aStoredGripClickedWithAnyFingersShowsItsNameAndPosition_data();
    void aStoredGripClickedWithAnyFingersShowsItsNameAndPosition();
    void ctrlSevenSwitchesItOnAndTheSettingRemembersIt();
    void everyOtherModeSwitchesItOff();
    void aRememberedBassModeSurvivesOpeningTheTable();
    void slashChordInThePanelAndTheTitle();
    void alternativesCarryTheirBass();
    void storedFingeringBuiltByHandShowsItsNameAndPosition();
    void chordTableHintsNameTheGripsWithTheirBass();

private:
    void click(int bund, int saite, Qt::MouseButton button = Qt::LeftButton);
    void openString(int saite);
    void key(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    QAction* item(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    QString panel(int n) const { return window->statusleiste()->panelText(n); }
    // D over F#: 2x0232 with the fingers 1, 2, 3, 4 in the order of the clicks.
    void buildDOverFSharp();
    void buildASixthWithFourFingers();
    int typeNamed(const char* name) const;
    void restart(const QByteArray& recognitionSection);

    std::unique_ptr<TestFenster> f;
    TF_Main* window = nullptr;
    AkkordDepotClass* doc = nullptr;
};

void BasstonTest::init()
{
    f = std::make_unique<TestFenster>();
    // The whole fretboard from fret 1, 10 frets: every spot used here is on the board. The interval
    // count was chosen before, so the bass mode starts switched off.
    f->writeIni("[Diagramm]\nAkkordBestimmt=0\nBundanz0=10\n[Akkorderkennung]\nBasston=0\n");
    window = &f->start();
    QVERIFY(QTest::qWaitForWindowActive(window));
    doc = &window->dokument();
    QCOMPARE(doc->TypAnzahl(), MaxTypen);
    key(Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(doc->PunktAnzahl(), 0);
}

void BasstonTest::cleanup()
{
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    f.reset();
}

void BasstonTest::click(int bund, int saite, Qt::MouseButton button)
{
    QTest::mouseClick(window->griffbrettFeld(), button, Qt::NoModifier, spotCentre(*window, bund, saite));
}

void BasstonTest::openString(int saite)
{
    click(1, saite, Qt::MiddleButton); // chooses the spot and the open-string menu without opening it
    QCOMPARE(window->kontextmenue()->objectName(), QStringLiteral("PM_Leerseiten"));
    item("PMI_SaiteSpielen")->trigger();
}

void BasstonTest::key(int code, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(window, static_cast<Qt::Key>(code), modifiers);
}

void BasstonTest::buildDOverFSharp()
{
    click(2, 1);
    openString(3);
    click(2, 4);
    click(3, 5);
    click(2, 6);
    QCOMPARE(doc->PunktAnzahl(), 4);
}

void BasstonTest::buildASixthWithFourFingers()
{
    openString(2);
    for (int saite = 3; saite <= 6; ++saite)
        click(2, saite);
}

int BasstonTest::typeNamed(const char* name) const
{
    for (int t = 0; t < doc->TypAnzahl(); ++t) {
        if (QString::fromLatin1(doc->TypName(t)) == QString::fromUtf8(name))
            return t;
    }
    return -1;
}

void BasstonTest::bassItemFollowsTheStartStrings()
{
    QAction* bass = item("MI_ErkennungSaite7");
    QVERIFY(bass);
    QCOMPARE(bass->text(), QStringLiteral("&Basston"));
    QCOMPARE(bass->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_7));
    QCOMPARE(bass->statusTip(), QStringLiteral("Akkord über dem tiefsten klingenden Ton wird bevorzugt"));
    QVERIFY(bass->isCheckable());
    QVERIFY(bass->actionGroup());
    QCOMPARE(bass->actionGroup(), item("MI_ErkennungSaite0")->actionGroup());
    auto* submenu = window->findChild<QMenu*>(QStringLiteral("MI_Erkennung"));
    QVERIFY(submenu);
    const QList<QAction*> actions = submenu->actions();
    const qsizetype sixth = actions.indexOf(item("MI_ErkennungSaite6"));
    QVERIFY(sixth >= 0);
    QCOMPARE(actions.value(sixth + 1), bass);
    QVERIFY2(item("MI_ErkennungSaite0")->isChecked(), "the interval count chosen before");
    QVERIFY(!bass->isChecked());
    QCOMPARE(doc->SetzeStartSaite(-1), 0);
}

void BasstonTest::restart(const QByteArray& recognitionSection)
{
    f->stop();
    f->writeIni("[Diagramm]\nAkkordBestimmt=0\nBundanz0=10\n" + recognitionSection);
    window = &f->start();
    QVERIFY(QTest::qWaitForWindowActive(window));
    doc = &window->dokument();
    key(Qt::Key_Delete, Qt::ShiftModifier);
}

void BasstonTest::aFirstStartNamesChordsFromTheBass()
{
    restart("");
    QVERIFY(!f->iniText().contains(QStringLiteral("Basston")));
    QVERIFY(item("MI_ErkennungSaite7")->isChecked());
    QVERIFY(!item("MI_ErkennungSaite0")->isChecked());
    QCOMPARE(doc->SetzeStartSaite(-1), StartSaiteBasston);
    // Am6 x02212, clicked string by string.
    openString(2);
    click(2, 3);
    click(2, 4);
    click(1, 5);
    click(2, 6);
    QCOMPARE(panel(0), QStringLiteral("Am6"));
    QCOMPARE(panel(3), QStringLiteral("Weiterer: F#m7b5/A"));
    key(Qt::Key_Delete, Qt::ShiftModifier);
    buildDOverFSharp();
    QCOMPARE(panel(0), QStringLiteral("D/F#"));
}

void BasstonTest::anExistingIniWithAnotherModeKeepsIt_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<int>("start");
    QTest::newRow("interval count") << QByteArray("[Akkorderkennung]\nBasston=0\n")
                                    << QStringLiteral("MI_ErkennungSaite0") << 0;
    QTest::newRow("other keys only") << QByteArray("[Akkorderkennung]\nAktiv=1\n")
                                     << QStringLiteral("MI_ErkennungSaite7") << StartSaiteBasston;
    QTest::newRow("bass") << QByteArray("[Akkorderkennung]\nBasston=1\n")
                          << QStringLiteral("MI_ErkennungSaite7") << StartSaiteBasston;
}

void BasstonTest::anExistingIniWithAnotherModeKeepsIt()
{
    QFETCH(QByteArray, section);
    QFETCH(QString, checked);
    QFETCH(int, start);
    restart(section);
    QVERIFY(window->findChild<QAction*>(checked)->isChecked());
    QCOMPARE(doc->SetzeStartSaite(-1), start);
    buildDOverFSharp();
    QCOMPARE(panel(0), start == StartSaiteBasston ? QStringLiteral("D/F#") : QStringLiteral("D"));
}

void BasstonTest::aStoredGripClickedWithAnyFingersShowsItsNameAndPosition_data()
{
    QTest::addColumn<bool>("lowFirst");
    QTest::addColumn<QByteArray>("section");
    QTest::newRow("low string first, first start") << true << QByteArray();
    QTest::newRow("high string first, first start") << false << QByteArray();
    QTest::newRow("low string first, interval count") << true << QByteArray("[Akkorderkennung]\nBasston=0\n");
    QTest::newRow("high string first, interval count")
        << false << QByteArray("[Akkorderkennung]\nBasston=0\n");
}

void BasstonTest::aStoredGripClickedWithAnyFingersShowsItsNameAndPosition()
{
    QFETCH(bool, lowFirst);
    QFETCH(QByteArray, section);
    restart(section);
    // G6 320000, stored with the fingers 3 and 2; the clicks give 1 and 2 in their order.
    for (int saite = 3; saite <= 6; ++saite)
        openString(saite);
    if (lowFirst) {
        click(3, 1);
        click(2, 2);
    } else {
        click(2, 2);
        click(3, 1);
    }
    QCOMPARE(doc->FingerBei(3, 1), lowFirst ? 1 : 2);
    QCOMPARE(panel(0), QStringLiteral("G6"));
    int stored = -1;
    for (int i = 0; i < doc->Anzahl() && stored < 0; ++i) {
        const AkkordDatenClass& g = doc->Element(i);
        if (g.Grundton == 7 && g.AkkordTyp == typeNamed("6") &&
            FingersatzSucheClass::GleicherFingersatz(g, doc->Daten(), 6))
            stored = i;
    }
    QVERIFY2(stored >= 0, "the table holds G6 320000");
    QVERIFY(doc->Element(stored).Punkte[0].Finger != doc->Daten().Punkte[0].Finger ||
            doc->Element(stored).Punkte[1].Finger != doc->Daten().Punkte[1].Finger);
    int before = 0;
    int count = 0;
    for (int i = 0; i < doc->Anzahl(); ++i) {
        const AkkordDatenClass& g = doc->Element(i);
        if (g.Grundton == 7 && g.AkkordTyp == typeNamed("6")) {
            before += i < stored ? 1 : 0;
            ++count;
        }
    }
    QCOMPARE(panel(1), QStringLiteral("%1/%2").arg(before + 1).arg(count));
}

void BasstonTest::ctrlSevenSwitchesItOnAndTheSettingRemembersIt()
{
    key(Qt::Key_7, Qt::ControlModifier);
    QVERIFY(item("MI_ErkennungSaite7")->isChecked());
    QVERIFY(!item("MI_ErkennungSaite0")->isChecked());
    QCOMPARE(doc->SetzeStartSaite(-1), StartSaiteBasston);
    QVERIFY2(f->iniText().contains(QStringLiteral("[Akkorderkennung]")), qPrintable(f->iniText()));
    QVERIFY2(f->iniText().contains(QStringLiteral("Basston=1")), qPrintable(f->iniText()));

    f->stop();
    window = &f->start();
    QVERIFY(QTest::qWaitForWindowActive(window));
    doc = &window->dokument();
    QVERIFY(item("MI_ErkennungSaite7")->isChecked());
    QVERIFY(!item("MI_ErkennungSaite0")->isChecked());
    QCOMPARE(doc->SetzeStartSaite(-1), StartSaiteBasston);
}

void BasstonTest::everyOtherModeSwitchesItOff()
{
    key(Qt::Key_7, Qt::ControlModifier);
    key(Qt::Key_3, Qt::ControlModifier);
    QVERIFY(item("MI_ErkennungSaite3")->isChecked());
    QVERIFY(f->iniText().contains(QStringLiteral("Basston=0")));
    key(Qt::Key_7, Qt::ControlModifier);
    QVERIFY(f->iniText().contains(QStringLiteral("Basston=1")));
    key(Qt::Key_0, Qt::ControlModifier);
    QVERIFY(item("MI_ErkennungSaite0")->isChecked());
    QVERIFY(f->iniText().contains(QStringLiteral("Basston=0")));

    // The pop-up's start string is a mode of its own too.
    key(Qt::Key_7, Qt::ControlModifier);
    click(2, 4);
    click(2, 4, Qt::MiddleButton);
    QCOMPARE(window->kontextmenue()->objectName(), QStringLiteral("PM_Finger1bis4"));
    item("PMI_ErkennungSaite")->trigger();
    QVERIFY(item("MI_ErkennungSaite4")->isChecked());
    QCOMPARE(doc->SetzeStartSaite(-1), 4);
    QVERIFY(f->iniText().contains(QStringLiteral("Basston=0")));
}

void BasstonTest::aRememberedBassModeSurvivesOpeningTheTable()
{
    f->stop();
    f->writeIni("[Diagramm]\nAkkordBestimmt=0\nBundanz0=10\n[Akkorderkennung]\nBasston=1\n");
    window = &f->start();
    QVERIFY(QTest::qWaitForWindowActive(window));
    doc = &window->dokument();
    QVERIFY2(doc->Anzahl() > 900, "the bundled table was opened at start");
    QCOMPARE(doc->SetzeStartSaite(-1), StartSaiteBasston);
    key(Qt::Key_Delete, Qt::ShiftModifier);
    buildDOverFSharp();
    QCOMPARE(panel(0), QStringLiteral("D/F#"));
}

void BasstonTest::slashChordInThePanelAndTheTitle()
{
    buildDOverFSharp();
    QCOMPARE(panel(0), QStringLiteral("D"));
    QCOMPARE(window->zeichner().Titel().text(), QStringLiteral("D"));

    key(Qt::Key_7, Qt::ControlModifier);
    QCOMPARE(panel(0), QStringLiteral("D/F#"));
    QCOMPARE(window->zeichner().Titel().text(), QStringLiteral("D/F#"));
    QCOMPARE(window->ergebnis().Grundton, 2);
    QCOMPARE(window->ergebnis().AkkordTyp, typeNamed(""));
    QCOMPARE(window->ergebnis().Basston, 6);

    // Filed by root and type: the slash never reaches the table.
    QCOMPARE(doc->Grundton, 2);
    QCOMPARE(doc->AkkordTyp, typeNamed(""));

    click(2, 1); // the low F# goes: the D string is the bass and the root
    QCOMPARE(panel(0), QStringLiteral("D"));
    QCOMPARE(window->zeichner().Titel().text(), QStringLiteral("D"));
    QCOMPARE(window->ergebnis().Basston, KeinTon);
}

void BasstonTest::alternativesCarryTheirBass()
{
    buildASixthWithFourFingers();
    QCOMPARE(panel(0), QStringLiteral("A6"));
    QCOMPARE(panel(3), QStringLiteral("Weiterer: F#m7"));

    key(Qt::Key_7, Qt::ControlModifier);
    QCOMPARE(panel(0), QStringLiteral("A6"));
    QCOMPARE(panel(3), QStringLiteral("Weiterer: F#m7/A"));

    key(Qt::Key_N); // "Nächster" keeps the alternative, with its slash
    QCOMPARE(panel(0), QStringLiteral("F#m7/A"));
    QCOMPARE(window->zeichner().Titel().text(), QStringLiteral("F#m7/A"));
    QCOMPARE(panel(3), QStringLiteral("Weiterer: A6"));
    key(Qt::Key_N);
    QCOMPARE(panel(0), QStringLiteral("A6"));
}

void BasstonTest::storedFingeringBuiltByHandShowsItsNameAndPosition()
{
    // x02222 with the index finger across four strings, as stored under A6.
    window->StelleWaehlen(2, 1, false);
    item("MI_Barre")->trigger();
    click(2, 1);
    click(2, 2);
    openString(2);
    QCOMPARE(doc->PunktAnzahl(), 4);
    QCOMPARE(doc->FingerBei(2, 5), 1);

    QCOMPARE(panel(0), QStringLiteral("A6"));
    const int a6 = typeNamed("6");
    QVERIFY(a6 >= 0);
    int position = -1;
    const int count = doc->GriffeZaehlen(&position);
    QVERIFY(position >= 0);
    QCOMPARE(panel(1), QStringLiteral("%1/%2").arg(position + 1).arg(count));
    QVERIFY2(!item("MI_AkkSpeichern")->isEnabled(), "a stored grip is not stored again");
    QVERIFY(item("MI_AkkEntfernen")->isEnabled());

    for (int mode : {7, 6, 1, 0}) {
        key(Qt::Key_0 + mode, Qt::ControlModifier);
        QCOMPARE(panel(0), QStringLiteral("A6"));
        QCOMPARE(panel(1), QStringLiteral("%1/%2").arg(position + 1).arg(count));
    }

    // "Nächster" still chooses the other reading of the same fingering.
    key(Qt::Key_N);
    QCOMPARE(panel(0), QStringLiteral("F#m7"));
    click(5, 6); // another fingering, A C# E: recognition alone names it
    QCOMPARE(panel(0), QStringLiteral("A"));
    QCOMPARE(panel(1), QStringLiteral("%1").arg(doc->GriffeZaehlen()));
    click(5, 6); // and back to the stored one
    QCOMPARE(panel(0), QStringLiteral("A6"));
    QCOMPARE(panel(1), QStringLiteral("%1/%2").arg(position + 1).arg(count));
}

void BasstonTest::chordTableHintsNameTheGripsWithTheirBass()
{
    TF_GrifftabForm* table = window->grifftabFenster();
    QVERIFY(table);
    auto* grips = table->findChild<QListWidget*>(QStringLiteral("LB_Buende"));
    QVERIFY(grips);
    buildDOverFSharp();
    TrefferClass chord;
    chord.Grundton = 2;
    chord.AkkordTyp = typeNamed("");
    chord.GriffIndex = 0;
    table->AuswahlSetzen(chord);
    QVERIFY(grips->count() > 1);

    const auto tips = [grips] {
        QStringList texts;
        for (int i = 0; i < grips->count(); ++i)
            texts << grips->item(i)->statusTip();
        return texts;
    };
    QVERIFY2(!tips().contains(QStringLiteral("D/F#")), qPrintable(tips().join(QLatin1Char(' '))));
    QVERIFY(tips().contains(QStringLiteral("D")));

    key(Qt::Key_7, Qt::ControlModifier);
    QVERIFY2(tips().contains(QStringLiteral("D/F#")), qPrintable(tips().join(QLatin1Char(' '))));
    QVERIFY(tips().contains(QStringLiteral("D")));

    // The hint of a grip reaches the main window's status message as every hint does.
    const int slashed = tips().indexOf(QStringLiteral("D/F#"));
    QStatusTipEvent hint(grips->item(slashed)->statusTip());
    QApplication::sendEvent(grips->viewport(), &hint);
    QCOMPARE(panel(3), QStringLiteral("D/F#"));
}

QTEST_MAIN(BasstonTest)
#include "BasstonTest.moc"
