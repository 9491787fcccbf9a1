#include <QAction>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTest>

#include <memory>

#include "app/MainForm.h"
#include "app/PaintBox.h"
#include "forms/MeldungZeigen.h"
#include "forms/Statusleiste.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"
#include "tests/app/TestFenster.h"

class MainFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartUsesEveryDefault();
    void firstSwitchToWholeFretboardView();
    void settingsDecideTheCheckMarks();
    void missingChordTableIsReportedAndTheProgramRuns();
    void closeWithCancelWritesNothing();
    void closeWithNoStillWritesPlacementAndGripNumber();
    void unmodifiedTableClosesWithoutAsking();
    void composeTitleFingersAndSideTexts();
    void composeWithoutFingerNumbersKeepsBarreDigits();
    void composeRightTexts_data();
    void composeRightTexts();
    void warningWhenTheGripLeavesTheBoard();
    void statusPanelsAndAlternatives();
    void hintsReachTheStatusMessage();
    void menuShortcutsAndHiddenItems();
    void speedTestReportsPaintsPerSecond();
    void pictureOfCMajor();

private:
    std::unique_ptr<TestFenster> f;
};

void MainFormTest::init()
{
    f = std::make_unique<TestFenster>();
}

void MainFormTest::cleanup()
{
    f.reset();
}

void MainFormTest::firstStartUsesEveryDefault()
{
    TF_Main* window = &f->start();
    QCOMPARE(window->ansicht(), 1);
    QVERIFY(window->findChild<QAction*>(QStringLiteral("MI_ShowAkkord"))->isChecked());
    QCOMPARE(window->width(), 320);
    QCOMPARE(window->height(), 380);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(window->frameGeometry().center().x() / 4, screen.center().x() / 4);
    QCOMPARE(window->zeichner().Bundzahl(), 4);
    QVERIFY(window->findChild<QAction*>(QStringLiteral("MI_AkkordErkOnOff"))->isChecked());
    QVERIFY(!window->findChild<QAction*>(QStringLiteral("MI_KurzhinweisOnOff"))->isChecked());
    QVERIFY(window->griffbrettFeld()->toolTip().isEmpty());
    QVERIFY(window->statusleiste()->isVisible());
    QVERIFY(window->findChild<QAction*>(QStringLiteral("MI_StatuszeileOnOff"))->isChecked());
    QVERIFY2(f->asked.isEmpty(), "the bundled chord table opens without a message");
    QCOMPARE(window->dateiName(), f->file(defaultTableName));
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - Gitarre, E-A-D-G-H-E"));
    QVERIFY(window->dokument().Anzahl() > 0);
    QVERIFY(f->iniText().contains(QStringLiteral("LetzteDatei=") + f->file(defaultTableName)));
    QVERIFY(f->iniText().contains(QStringLiteral("Bundanz1=4")));
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Bünde im Griffbrett: 4"));
}

void MainFormTest::firstSwitchToWholeFretboardView()
{
    f->writeIni("[Diagramm]\nAkkordBestimmt=0\n");
    TF_Main* window = &f->start();
    QCOMPARE(window->ansicht(), 0);
    QVERIFY(window->findChild<QAction*>(QStringLiteral("MI_ShowGriffbrett"))->isChecked());
    QCOMPARE(window->width(), QGuiApplication::primaryScreen()->geometry().width() - 15);
    QCOMPARE(window->zeichner().Bundzahl(), 10);
}

void MainFormTest::settingsDecideTheCheckMarks()
{
    f->writeIni("[Diagramm]\nRechteAnzeige=5\nFingersatz=0\nAkkordname=0\n"
                "[Computer]\nKurzhinweise=0x1\nStatuszeile=0\n[Akkorderkennung]\nAktiv=zwei\n");
    TF_Main* window = &f->start();
    QVERIFY2(window->findChild<QAction*>(QStringLiteral("MI_Radio1Aus"))->isChecked(),
             "an unknown annotation value leaves the first radio item checked");
    QVERIFY(!window->findChild<QAction*>(QStringLiteral("MI_FingersatzOnOff"))->isChecked());
    QVERIFY(!window->findChild<QAction*>(QStringLiteral("MI_AkkordnameOnOff"))->isChecked());
    QVERIFY(window->findChild<QAction*>(QStringLiteral("MI_KurzhinweisOnOff"))->isChecked());
    QCOMPARE(window->griffbrettFeld()->toolTip(), QStringLiteral("Griffbrett"));
    QVERIFY(!window->statusleiste()->isVisible());
    QVERIFY(!window->findChild<QAction*>(QStringLiteral("MI_StatuszeileOnOff"))->isChecked());
    QVERIFY2(window->findChild<QAction*>(QStringLiteral("MI_AkkordErkOnOff"))->isChecked(),
             "a value that is no number reads as the default");
}

void MainFormTest::missingChordTableIsReportedAndTheProgramRuns()
{
    QFile::remove(f->file(defaultTableName));
    TF_Main* window = &f->start();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].meldung,
             QStringLiteral("Die CHO-Akkordeinstellungen konnten nicht geöffnet werden!"));
    QCOMPARE(f->asked[0].titel, QStringLiteral("Fehler"));
    QCOMPARE(f->asked[0].symbol, 1);
    QCOMPARE(f->asked[0].knopfsatz, 2);
    QCOMPARE(window->dokument().TypAnzahl(), 0);
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk"));
    QVERIFY(!f->iniText().contains(QStringLiteral("LetzteDatei")));
}

void MainFormTest::closeWithCancelWritesNothing()
{
    TF_Main* window = &f->start();
    window->dokument().SetzeGeaendert(true);
    const QString before = f->iniText();
    f->answers << 2;
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].meldung,
             QStringLiteral("Änderungen an Grifftabelle 'Gitarre, E-A-D-G-H-E' übernehmen?"));
    QCOMPARE(f->asked[0].titel, QStringLiteral("Übernehmen"));
    QCOMPARE(f->asked[0].knopfsatz, 1);
    QCOMPARE(f->iniText(), before);
}

void MainFormTest::closeWithNoStillWritesPlacementAndGripNumber()
{
    TF_Main* window = &f->start();
    window->dokument().SetzeGeaendert(true);
    window->dokument().Nummer = 77;
    f->answers << 7;
    QVERIFY(window->close());
    const QString ini = f->iniText();
    QVERIFY(ini.contains(QStringLiteral("Vorgabe=77")));
    QVERIFY(ini.contains(QStringLiteral("WindowWidth1=320")));
    QVERIFY(ini.contains(QStringLiteral("WindowHeight1=380")));
    QVERIFY(ini.contains(QStringLiteral("WindowTop1=")));
}

void MainFormTest::unmodifiedTableClosesWithoutAsking()
{
    TF_Main* window = &f->start();
    QVERIFY(window->close());
    QVERIFY(f->asked.isEmpty());
}

void MainFormTest::composeTitleFingersAndSideTexts()
{
    TF_Main* window = &f->start();
    AkkordDepotClass& doc = window->dokument();
    smallCatalogue(doc);
    setGrip(doc, "x32010", "x32010");
    window->NachAenderungAktualisieren();
    GriffbrettClass& board = window->zeichner();
    QCOMPARE(board.Titel().text(), QStringLiteral("C"));
    QCOMPARE(board.Symbolanzahl(), 3);
    QCOMPARE(board.Symbol(0).Art, 0);
    QVERIFY2(board.Symbol(0).Bild == 1, "the finger number on the disc");
    // Row 0 is the highest string: E open, H fretted, G open, D fretted, A fretted, E muted.
    const QString expected[] = {QStringLiteral("0"), QString(), QStringLiteral("0"),
                                QString(),           QString(), QStringLiteral("X")};
    for (int row = 0; row < 6; ++row)
        QCOMPARE(board.TextLinks(row).text(), expected[row]);

    window->findChild<QAction*>(QStringLiteral("MI_AkkordnameOnOff"))->setChecked(false);
    window->Zusammenstellen();
    QCOMPARE(board.Titel().text(), QString());
}

void MainFormTest::composeWithoutFingerNumbersKeepsBarreDigits()
{
    TF_Main* window = &f->start();
    AkkordDepotClass& doc = window->dokument();
    smallCatalogue(doc);
    // F major: finger 1 across all six strings at fret 1, the others above it.
    doc.Loeschen();
    for (int s = 1; s <= 6; ++s)
        doc.FingerSetzen(1, s, 1);
    doc.FingerSetzen(3, 2, 3);
    doc.FingerSetzen(3, 3, 4);
    doc.FingerSetzen(2, 4, 2);
    window->findChild<QAction*>(QStringLiteral("MI_FingersatzOnOff"))->setChecked(false);
    window->NachAenderungAktualisieren();
    GriffbrettClass& board = window->zeichner();
    QCOMPARE(board.Symbolanzahl(), 10);
    for (int i = 0; i < 9; ++i)
        QCOMPARE(board.Symbol(i).Bild, 0);
    QCOMPARE(board.Symbol(9).Art, 5);
    QCOMPARE(board.Symbol(9).Bild, 1);
    QVERIFY2(board.Symbol(9).Zeile == 0, "anchored at the highest string");

    setGrip(doc, "xx3300", "xx1100"); // a two-string barré on strings 3..4
    window->NachAenderungAktualisieren();
    QCOMPARE(board.Symbol(board.Symbolanzahl() - 1).Art, 1);
}

void MainFormTest::composeRightTexts_data()
{
    QTest::addColumn<QByteArray>("mode");
    QTest::addColumn<QString>("frets");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("nothing") << QByteArray("0") << QStringLiteral("x32010")
                             << QStringList{"", "", "", "", "", ""};
    QTest::newRow("notes") << QByteArray("1") << QStringLiteral("x32010")
                           << QStringList{"E", "C", "G", "E", "C", ""};
    QTest::newRow("intervals in the chord")
        << QByteArray("2") << QStringLiteral("x32010") << QStringList{"3", "1", "5", "3", "1", ""};
    QTest::newRow("generic intervals from C")
        << QByteArray("2") << QStringLiteral("x0x2x3") << QStringList{"5", "", "6", "", "6", ""};
    QTest::newRow("unknown mode") << QByteArray("7") << QStringLiteral("x32010")
                                  << QStringList{"", "", "", "", "", ""};
}

void MainFormTest::composeRightTexts()
{
    QFETCH(QByteArray, mode);
    QFETCH(QString, frets);
    QFETCH(QStringList, texts);
    TF_Main* window = &f->start();
    AkkordDepotClass& doc = window->dokument();
    smallCatalogue(doc);
    setGrip(doc, frets.toLatin1().constData(), "x32111");
    window->NachAenderungAktualisieren();
    f->writeIni("[Diagramm]\nRechteAnzeige=" + mode + "\n"); // read on every compose
    window->Zusammenstellen();
    if (QByteArray(QTest::currentDataTag()) == "generic intervals from C")
        QCOMPARE(window->ergebnis().AkkordTyp, -1);
    for (int row = 0; row < 6; ++row)
        QCOMPARE(window->zeichner().TextRechts(row).text(), texts[row]);
}

void MainFormTest::warningWhenTheGripLeavesTheBoard()
{
    f->writeIni("[Diagramm]\nAkkordBestimmt=0\nBundanz0=4\n");
    TF_Main* window = &f->start();
    AkkordDepotClass& doc = window->dokument();
    smallCatalogue(doc);
    setGrip(doc, "x7xxxx", "x1xxxx");
    window->NachAenderungAktualisieren();
    QVERIFY(window->zeichner().ZuKlein());
    QVERIFY(window->statusleiste()->warningShown());
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Griffbrett zu klein!"));

    setGrip(doc, "x3xxxx", "x1xxxx");
    window->NachAenderungAktualisieren();
    QVERIFY(!window->zeichner().ZuKlein());
    QVERIFY(!window->statusleiste()->warningShown());
}

void MainFormTest::statusPanelsAndAlternatives()
{
    TF_Main* window = &f->start();
    AkkordDepotClass& doc = window->dokument();
    smallCatalogue(doc);
    setGrip(doc, "x02010", "x02010"); // A E G C E: Am7 and C6
    window->NachAenderungAktualisieren();
    Statusleiste* bar = window->statusleiste();
    QCOMPARE(window->trefferAnzahl(), 2);
    QCOMPARE(bar->panelText(0), QStringLiteral("Am7")); // a first start names the chord on the bass
    QCOMPARE(bar->panelText(1), QStringLiteral("0"));
    QCOMPARE(bar->panelText(3), QStringLiteral("Weiterer: C6/A"));
    QVERIFY(window->findChild<QAction*>(QStringLiteral("MI_ErkVor"))->isEnabled());
    QVERIFY(window->findChild<QAction*>(QStringLiteral("MI_AkkSpeichern"))->isEnabled());
    QVERIFY(!window->findChild<QAction*>(QStringLiteral("MI_AkkEntfernen"))->isEnabled());

    QVERIFY(doc.GriffAufnehmen() > 0);
    window->NachAenderungAktualisieren();
    QCOMPARE(bar->panelText(1), QStringLiteral("1/1"));
    QVERIFY(!window->findChild<QAction*>(QStringLiteral("MI_AkkSpeichern"))->isEnabled());
    QVERIFY(window->findChild<QAction*>(QStringLiteral("MI_AkkEntfernen"))->isEnabled());

    doc.Loeschen();
    window->NachAenderungAktualisieren();
    QCOMPARE(bar->panelText(0), QString());
    QCOMPARE(bar->panelText(1), QString());
    QCOMPARE(bar->panelText(3), QString());
}

void MainFormTest::hintsReachTheStatusMessage()
{
    TF_Main* window = &f->start();
    QStatusTipEvent tip(QStringLiteral("Griffbrett"));
    QCoreApplication::sendEvent(window, &tip);
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Griffbrett"));
    QStatusTipEvent empty{QString()};
    QCoreApplication::sendEvent(window, &empty);
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Griffbrett"));
}

void MainFormTest::menuShortcutsAndHiddenItems()
{
    TF_Main* window = &f->start();
    const auto item = [&window](const char* name) {
        return window->findChild<QAction*>(QString::fromLatin1(name));
    };
    QCOMPARE(item("MI_Laden")->text(), QStringLiteral("Ö&ffnen"));
    QCOMPARE(item("MI_Laden")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    QCOMPARE(item("MI_Suchen")->shortcut(), QKeySequence(Qt::Key_F12));
    QCOMPARE(item("MI_Bund10")->text(), QStringLiteral("1&0. Bund"));
    QCOMPARE(item("MI_Bund12")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F12));
    QCOMPARE(item("MI_ErkennungSaite6")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_6));
    QCOMPARE(item("MI_ErkennungSaite5")->statusTip(), QStringLiteral("Erkennung bei fünfter Saite beginnen"));
    QCOMPARE(item("MI_AkkVor")->shortcut(), QKeySequence(Qt::Key_V));
    QVERIFY(item("MI_Beenden")->font().bold());
    QCOMPARE(item("MI_Beenden")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F4));
    QVERIFY(!item("MI_HilfeInhalt")->isEnabled());
    QVERIFY(item("MI_ErkennungSaite7")->isChecked());
    QVERIFY(item("MI_FingerNext1")->isChecked());
    QVERIFY(!item("MI_ErkVor")->isEnabled());

    window->Tastenkuerzel(false);
    QVERIFY(item("MI_AkkVor")->shortcut().isEmpty());
    QVERIFY(item("MI_Finger3")->shortcut().isEmpty());
    window->Tastenkuerzel(true);
    QCOMPARE(item("MI_Finger3")->shortcut(), QKeySequence(Qt::Key_3));

    // A hidden item's shortcut still works: F9 runs the speed test.
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_F9);
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].titel, QStringLiteral("Bildaufbautest"));
}

void MainFormTest::speedTestReportsPaintsPerSecond()
{
    TF_Main* window = &f->start();
    window->findChild<QAction*>(QStringLiteral("MI_Speed"))->trigger();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].symbol, 3);
    QCOMPARE(f->asked[0].knopfsatz, 2);
    QVERIFY(f->asked[0].meldung.startsWith(QStringLiteral("Testergebnis: ")));
    QVERIFY(f->asked[0].meldung.endsWith(QStringLiteral("/sec")));
    QVERIFY(f->asked[0].meldung.mid(14).chopped(4).toInt() > 0);
}

void MainFormTest::pictureOfCMajor()
{
    f->writeIni("[Diagramm]\nRechteAnzeige=1\nBundanz1=5\n");
    TF_Main* window = &f->start();
    AkkordDepotClass& doc = window->dokument();
    setGrip(doc, "x32010", "x32010");
    window->NachHolenAktualisieren();
    QCOMPARE(window->ergebnis().Grundton, 0);
    QVERIFY(window->ergebnis().AkkordTyp >= 0);
    const QImage picture = window->grab().toImage();
    QVERIFY(picture.save(QStringLiteral(ZW_PICTURE_DIR "/zupfwerk-c-dur.png")));
}

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
