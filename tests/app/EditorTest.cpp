#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>

#include <memory>

#include "app/MainForm.h"
#include "app/PaintBox.h"
#include "forms/Statusleiste.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"
#include "tests/app/TestFenster.h"

class EditorTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void spotsAnswerInsideTheirStrictEdges();
    void clicksPlaceFingersInTurn();
    void clickOnAFingerRemovesItAndShiftPlacesItAgain();
    void shiftClickAsTheFirstActionPlacesFingerZero();
    void barreContinuesFromBelowAndAbove();
    void thirteenthFingerIsRefusedWithAMessage();
    void doubleClickIsTwoPresses();
    void rightPressChoosesTheMenuAndReleaseOpensIt();
    void middlePressChoosesButOpensNothing();
    void popupFingerItemRenumbers();
    void numberKeysPlaceRenumberAndRemove();
    void singleKeysOffWhileSwitchedOff();
    void barreCoversAllStringsAndStopsAtTwelve();
    void removeAllTwiceOpensAllStrings();
    void arrowKeysClampAndReport();
    void recognitionInBothModesWithNext();
    void recognitionOffKeepsTheLastChord();
    void fretCountLimits();
    void viewSwitchTwiceAndGoToFret();
    void shiftLeftStopsAtFretOne();
    void disabledItemsIgnoreTheirKeys();
    void viewTogglesAreWrittenAndShown();
    void maximiseTogglesTheWindowState();
    void cursorFollowsKeysAndClicks_data();
    void cursorFollowsKeysAndClicks();
    void popupKeysOpenTheMenuAtTheSpot_data();
    void popupKeysOpenTheMenuAtTheSpot();

private:
    void click(int bund, int saite, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    QAction* item(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    void key(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    std::unique_ptr<TestFenster> f;
    TF_Main* window = nullptr;
    AkkordDepotClass* doc = nullptr;
};

void EditorTest::init()
{
    f = std::make_unique<TestFenster>();
    // The whole fretboard from fret 1, 10 frets: every spot used here is on the board.
    f->writeIni("[Diagramm]\nAkkordBestimmt=0\nBundanz0=10\n[Akkorderkennung]\nBasston=0\n");
    window = &f->start();
    QVERIFY(QTest::qWaitForWindowActive(window));
    doc = &window->dokument();
    smallCatalogue(*doc);
    doc->Loeschen();
    window->NachAenderungAktualisieren();
}

void EditorTest::cleanup()
{
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    f.reset();
}

void EditorTest::click(int bund, int saite, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseClick(window->griffbrettFeld(), button, modifiers, spotCentre(*window, bund, saite));
}

namespace {

// Where the board shows the cursor's colour; empty when it does not.
QRect cursorPixels(const QImage& picture)
{
    const QRgb cursor = GriffbrettClass::CursorFarbe().rgb();
    QRect found;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) & 0xffffff) == (cursor & 0xffffff))
                found |= QRect(x, y, 1, 1);
    return found;
}

} // namespace

void EditorTest::key(int code, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(window, static_cast<Qt::Key>(code), modifiers);
}

void EditorTest::spotsAnswerInsideTheirStrictEdges()
{
    GriffbrettClass& board = window->zeichner();
    board.SetGroesseUndAnordnen(269, 261);
    QCOMPARE(board.RandLinks(), 20);
    QCOMPARE(board.Bundabstand(), 22);
    QCOMPARE(board.RandOben(), 43);
    QCOMPARE(board.Saitenabstand(), 35);
    int bund = 0;
    int saite = 0;
    const int y = 43;
    QVERIFY(!window->FeldSuchen(24, y, bund, saite));
    QCOMPARE(bund, -1);
    QVERIFY(window->FeldSuchen(25, y, bund, saite));
    QCOMPARE(bund, 1);
    QCOMPARE(saite, 6);
    QVERIFY(window->FeldSuchen(37, y, bund, saite));
    QVERIFY(!window->FeldSuchen(38, y, bund, saite));
    QVERIFY(!window->FeldSuchen(30, 31, bund, saite));
    QVERIFY(window->FeldSuchen(30, 32, bund, saite));
    QVERIFY(window->FeldSuchen(30, 53, bund, saite));
    QVERIFY(!window->FeldSuchen(30, 54, bund, saite));
    QVERIFY(window->FeldSuchen(30 + 22, 43 + 5 * 35, bund, saite));
    QCOMPARE(bund, 2);
    QCOMPARE(saite, 1);
}

void EditorTest::clicksPlaceFingersInTurn()
{
    const int spots[5][2] = {{1, 2}, {2, 4}, {3, 5}, {4, 1}, {5, 6}};
    const int expected[5] = {1, 2, 3, 4, 1};
    for (int i = 0; i < 5; ++i) {
        click(spots[i][0], spots[i][1]);
        QCOMPARE(doc->FingerBei(spots[i][0], spots[i][1]), expected[i]);
    }
    QCOMPARE(window->naechsterFinger(), 2);
    QVERIFY(item("MI_FingerNext2")->isChecked());
}

void EditorTest::clickOnAFingerRemovesItAndShiftPlacesItAgain()
{
    click(1, 2);
    click(2, 3);
    click(3, 4); // finger 3
    click(3, 4);
    QCOMPARE(doc->FingerBei(3, 4), -1);
    QCOMPARE(window->naechsterFinger(), 3);
    QCOMPARE(window->letzterFinger(), 3);
    click(5, 6, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(doc->FingerBei(5, 6), 3);
    click(5, 1);
    QCOMPARE(doc->FingerBei(5, 1), 4);
}

void EditorTest::shiftClickAsTheFirstActionPlacesFingerZero()
{
    click(2, 3, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(doc->FingerBei(2, 3), 0);
    QCOMPARE(window->naechsterFinger(), 1);
    QCOMPARE(window->letzterFinger(), 0);
    click(3, 3, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(doc->FingerBei(3, 3), 0);
    QVERIFY2(window->zeichner().Symbol(0).Bild == 0, "drawn without a number");
}

void EditorTest::barreContinuesFromBelowAndAbove()
{
    doc->FingerSetzen(5, 1, 1);
    doc->FingerSetzen(5, 2, 1);
    window->NaechsterFingerSetzen(3);
    click(5, 3);
    QCOMPARE(doc->FingerBei(5, 3), 1);
    doc->Loeschen();
    doc->FingerSetzen(5, 1, 1);
    doc->FingerSetzen(5, 2, 1);
    window->NaechsterFingerSetzen(3);
    click(5, 4);
    QVERIFY2(doc->FingerBei(5, 4) == 3, "nothing at (5, 3): the next finger");

    doc->Loeschen();
    doc->FingerSetzen(3, 6, 2);
    doc->FingerSetzen(3, 5, 2);
    window->NaechsterFingerSetzen(4);
    click(3, 4);
    QCOMPARE(doc->FingerBei(3, 4), 2);
}

void EditorTest::thirteenthFingerIsRefusedWithAMessage()
{
    for (int fret = 1; fret <= 2; ++fret) {
        for (int s = 1; s <= 6; ++s)
            doc->FingerSetzen(fret, s, 1);
    }
    window->NaechsterFingerSetzen(2);
    click(3, 3);
    QCOMPARE(doc->PunktAnzahl(), 12);
    QCOMPARE(doc->FingerBei(3, 3), -1);
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].meldung, QStringLiteral("Wer soll das greifen ?!?"));
    QCOMPARE(f->asked[0].titel, QStringLiteral("Fingerfehler"));
    QCOMPARE(f->asked[0].symbol, 0);
    QCOMPARE(f->asked[0].knopfsatz, 2);
    QVERIFY2(window->naechsterFinger() == 2, "the finger is kept");
}

void EditorTest::doubleClickIsTwoPresses()
{
    // As the platform delivers it: press, release, then the second press as a double click.
    const QPoint spot = spotCentre(*window, 4, 3);
    QTest::mouseClick(window->griffbrettFeld(), Qt::LeftButton, Qt::NoModifier, spot);
    QTest::mouseDClick(window->griffbrettFeld(), Qt::LeftButton, Qt::NoModifier, spot);
    QTest::mouseRelease(window->griffbrettFeld(), Qt::LeftButton, Qt::NoModifier, spot);
    QCOMPARE(doc->FingerBei(4, 3), -1);
    QCOMPARE(doc->PunktAnzahl(), 0);
    QCOMPARE(window->naechsterFinger(), 1);
}

void EditorTest::rightPressChoosesTheMenuAndReleaseOpensIt()
{
    click(2, 3, Qt::RightButton);
    QCOMPARE(window->kontextmenue()->objectName(), QStringLiteral("PM_Leerseiten"));
    QTRY_COMPARE(QApplication::activePopupWidget(), window->kontextmenue());
    QVERIFY(!item("PMI_Alleentfernen")->isEnabled());
    QApplication::activePopupWidget()->close();

    click(2, 3);
    click(2, 3, Qt::RightButton);
    QCOMPARE(window->kontextmenue()->objectName(), QStringLiteral("PM_Finger1bis4"));
    QTRY_COMPARE(QApplication::activePopupWidget(), window->kontextmenue());
    QVERIFY(item("PMI_Alleentfernen")->isEnabled());
    QVERIFY(item("PMI_Alleentfernen1")->isEnabled());
    QApplication::activePopupWidget()->close();

    click(4, 3, Qt::RightButton);
    QCOMPARE(window->kontextmenue()->objectName(), QStringLiteral("PM_NormKlick"));
    QApplication::activePopupWidget()->close();
    QVERIFY2(doc->PunktAnzahl() == 1, "a right click places nothing");
}

void EditorTest::middlePressChoosesButOpensNothing()
{
    click(2, 3, Qt::MiddleButton);
    QCOMPARE(window->kontextmenue()->objectName(), QStringLiteral("PM_Leerseiten"));
    QTest::qWait(20);
    QVERIFY(!QApplication::activePopupWidget());
}

void EditorTest::popupFingerItemRenumbers()
{
    click(2, 3);
    click(2, 3, Qt::RightButton);
    QTRY_VERIFY(QApplication::activePopupWidget());
    item("PMI_Finger3")->trigger();
    QCOMPARE(doc->FingerBei(2, 3), 3);
    QCOMPARE(window->naechsterFinger(), 4);

    click(4, 1, Qt::RightButton);
    QTRY_VERIFY(QApplication::activePopupWidget());
    item("PMI_SaiteSpielen")->trigger();
    QCOMPARE(doc->SaitenStatus(1), SaiteLeer);
    QCOMPARE(window->zeichner().TextLinks(5).text(), QStringLiteral("0"));
}

void EditorTest::numberKeysPlaceRenumberAndRemove()
{
    window->StelleWaehlen(3, 2, false);
    key(Qt::Key_3);
    QCOMPARE(doc->FingerBei(3, 2), 3);
    key(Qt::Key_1);
    QCOMPARE(doc->FingerBei(3, 2), 1);
    key(Qt::Key_1);
    QVERIFY2(doc->FingerBei(3, 2) == -1, "the same number removes the finger");
}

void EditorTest::singleKeysOffWhileSwitchedOff()
{
    window->StelleWaehlen(3, 2, false);
    window->Tastenkuerzel(false);
    key(Qt::Key_2);
    QCOMPARE(doc->PunktAnzahl(), 0);
    window->Tastenkuerzel(true);
    key(Qt::Key_2);
    QCOMPARE(doc->FingerBei(3, 2), 2);
}

void EditorTest::barreCoversAllStringsAndStopsAtTwelve()
{
    doc->FingerSetzen(2, 4, 3);
    doc->FingerSetzen(4, 5, 4);
    window->StelleWaehlen(2, 1, false);
    key(Qt::Key_R, Qt::ControlModifier);
    for (int s = 1; s <= 6; ++s)
        QCOMPARE(doc->FingerBei(2, s), 1);
    QCOMPARE(doc->FingerBei(4, 5), 4);
    QVERIFY2(doc->KlingenderTon(5) == 3, "H string at fret 4 sounds D#");
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Barré im 2. Bund eingetragen"));
    QCOMPARE(window->naechsterFinger(), 1);

    doc->Loeschen();
    for (int s = 1; s <= 6; ++s)
        doc->FingerSetzen(5, s, 2);
    for (int s = 1; s <= 4; ++s)
        doc->FingerSetzen(7, s, 3);
    window->StelleWaehlen(9, 1, false);
    window->BarreEintragen();
    QCOMPARE(doc->PunktAnzahl(), 12);
    QCOMPARE(doc->FingerBei(9, 6), 1);
    QCOMPARE(doc->FingerBei(9, 5), 1);
    QVERIFY2(doc->FingerBei(9, 4) == -1, "the limit stops the barré silently");
    QVERIFY(f->asked.isEmpty());
}

void EditorTest::removeAllTwiceOpensAllStrings()
{
    click(3, 2);
    doc->LeerSetzen(1, true);
    key(Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(doc->PunktAnzahl(), 0);
    QVERIFY(doc->AlleSaiten(false));
    key(Qt::Key_Delete, Qt::ShiftModifier);
    QVERIFY(doc->AlleSaiten(true));
    QCOMPARE(window->naechsterFinger(), 1);
}

void EditorTest::arrowKeysClampAndReport()
{
    window->StelleWaehlen(1, 6, false);
    key(Qt::Key_Up);
    QCOMPARE(window->zeichner().AktSaite(), 6);
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Bund 1, Saite 6 gewählt"));
    key(Qt::Key_Left);
    QCOMPARE(window->zeichner().AktBund(), 1);
    key(Qt::Key_Down);
    QCOMPARE(window->zeichner().AktSaite(), 5);
    // The keys stop at the last fret shown, where the cursor still marks the spot.
    const int last = window->zeichner().GetStartbund() + window->zeichner().Bundzahl() - 1;
    window->StelleWaehlen(last, 1, false);
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    QCOMPARE(window->zeichner().AktBund(), last);
    QCOMPARE(window->zeichner().AktSaite(), 1);
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Bund %1, Saite 1 gewählt").arg(last));
    QVERIFY(!window->zeichner().CursorRechteck().isEmpty());
    key(Qt::Key_Insert);
    QCOMPARE(doc->FingerBei(last, 1), 1);
}

void EditorTest::recognitionInBothModesWithNext()
{
    // A E G C E: Am7 and C6 both fit; the chord on the bass comes first.
    click(2, 3);
    click(1, 5);
    doc->LeerSetzen(2, true);
    doc->LeerSetzen(4, true);
    doc->LeerSetzen(6, true);
    window->NachAenderungAktualisieren();
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("Am7"));
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Weiterer: C6"));
    QVERIFY(item("MI_ErkVor")->isEnabled());

    key(Qt::Key_N);
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("C6"));
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Weiterer: Am7"));
    click(3, 6); // G on top: both still fit, the chosen one stays
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("C6"));
    key(Qt::Key_N);
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("Am7"));

    key(Qt::Key_5, Qt::ControlModifier); // start at the C on the H string
    QVERIFY(item("MI_ErkennungSaite5")->isChecked());
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("C6"));
    key(Qt::Key_1, Qt::ControlModifier); // a muted start string: the rule alone
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("Am7"));
    key(Qt::Key_0, Qt::ControlModifier);
    QVERIFY(item("MI_ErkennungSaite0")->isChecked());
}

void EditorTest::recognitionOffKeepsTheLastChord()
{
    setGrip(*doc, "x3201x", "x3201x");
    window->NachAenderungAktualisieren();
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("C"));
    item("MI_AkkordErkOnOff")->trigger();
    QVERIFY(f->iniText().contains(QStringLiteral("Aktiv=0")));
    QVERIFY2(window->statusleiste()->panelText(0) == QStringLiteral("C"), "nothing runs at once");
    click(2, 1);
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("C"));
    QCOMPARE(window->trefferAnzahl(), 0);
    QVERIFY(!item("MI_ErkVor")->isEnabled());
}

void EditorTest::fretCountLimits()
{
    window->BundanzahlAnwenden(29);
    QVERIFY(item("MI_BundAdd")->isVisible());
    key(Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(window->zeichner().Bundzahl(), 30);
    QVERIFY(!item("MI_BundAdd")->isVisible());
    key(Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(window->zeichner().Bundzahl(), 30);
    QVERIFY(f->iniText().contains(QStringLiteral("Bundanz0=30")));
    window->BundanzahlAnwenden(5);
    key(Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(window->zeichner().Bundzahl(), 4);
    QVERIFY(!item("MI_BundSub")->isVisible());
    key(Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(window->zeichner().Bundzahl(), 4);
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Bünde im Griffbrett: 4"));
}

void EditorTest::viewSwitchTwiceAndGoToFret()
{
    setGrip(*doc, "x3201x", "x3201x");
    key(Qt::Key_F9, Qt::ShiftModifier);
    QCOMPARE(doc->TiefsterBund(), 9);
    QVERIFY2(window->zeichner().GetStartbund() == 1, "the whole fretboard stays at fret 1");
    QVERIFY(window->zeichner().ZuKlein());
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Griffbrett zu klein!"));

    key(Qt::Key_U, Qt::ControlModifier);
    QCOMPARE(window->ansicht(), 1);
    QVERIFY(item("MI_ShowAkkord")->isChecked());
    QCOMPARE(window->zeichner().GetStartbund(), 9);
    QCOMPARE(window->zeichner().Bundzahl(), 4);
    QCOMPARE(window->width(), 320);
    QVERIFY(!window->zeichner().ZuKlein());

    key(Qt::Key_U, Qt::ControlModifier);
    QCOMPARE(window->ansicht(), 0);
    QVERIFY(item("MI_ShowGriffbrett")->isChecked());
    QCOMPARE(window->zeichner().Bundzahl(), 10);
    QCOMPARE(window->zeichner().GetStartbund(), 1);
    QVERIFY(f->iniText().contains(QStringLiteral("WindowWidth1=320")));
}

void EditorTest::shiftLeftStopsAtFretOne()
{
    setGrip(*doc, "x3201x", "x3201x");
    window->NachAenderungAktualisieren();
    key(Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(doc->TiefsterBund(), 1);
    QVERIFY2(doc->FingerBei(3, 2) == 3, "fret 1 already: nothing moves");
    key(Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(doc->TiefsterBund(), 2);
}

void EditorTest::disabledItemsIgnoreTheirKeys()
{
    setGrip(*doc, "x3201x", "x3201x");
    window->NachAenderungAktualisieren();
    QVERIFY(!item("MI_AkkEntfernen")->isEnabled());
    key(Qt::Key_Delete);
    QVERIFY2(f->asked.isEmpty(), "no remove question while the item is disabled");
    QVERIFY(!item("MI_ErkVor")->isEnabled());
    key(Qt::Key_N);
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("C"));
}

void EditorTest::viewTogglesAreWrittenAndShown()
{
    item("MI_Radio1Noten")->trigger();
    QVERIFY(f->iniText().contains(QStringLiteral("RechteAnzeige=1")));
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Anzeige am rechten Rand: Töne"));
    item("MI_Radio1Intervall")->trigger();
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Anzeige am rechten Rand: Intervalle"));
    item("MI_Radio1Aus")->trigger();
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Anzeige am rechten Rand: nichts"));

    key(Qt::Key_F, Qt::ControlModifier);
    QVERIFY(f->iniText().contains(QStringLiteral("Fingersatz=0")));
    key(Qt::Key_M, Qt::ControlModifier);
    QVERIFY(f->iniText().contains(QStringLiteral("Akkordname=0")));

    const int before = window->griffbrettFeld()->height();
    item("MI_StatuszeileOnOff")->trigger();
    QVERIFY(!window->statusleiste()->isVisible());
    QVERIFY(!item("MI_StatuszeileOnOff")->isChecked());
    QVERIFY(f->iniText().contains(QStringLiteral("Statuszeile=0")));
    QVERIFY(window->griffbrettFeld()->height() > before);
    QCOMPARE(window->zeichner().Puffer().height(), window->griffbrettFeld()->height());

    item("MI_KurzhinweisOnOff")->trigger();
    QCOMPARE(window->griffbrettFeld()->toolTip(), QStringLiteral("Griffbrett"));
    QVERIFY(f->iniText().contains(QStringLiteral("Kurzhinweise=1")));
    item("MI_KurzhinweisOnOff")->trigger();
    QVERIFY(window->griffbrettFeld()->toolTip().isEmpty());
}

void EditorTest::maximiseTogglesTheWindowState()
{
    QCOMPARE(item("MI_WinMaximize")->shortcuts().first(), QKeySequence(Qt::CTRL | Qt::Key_Udiaeresis));
    item("MI_WinMaximize")->trigger();
    QTRY_VERIFY(window->windowState().testFlag(Qt::WindowMaximized));
    item("MI_WinMaximize")->trigger();
    QTRY_VERIFY(!window->windowState().testFlag(Qt::WindowMaximized));
}

QTEST_MAIN(EditorTest)
void EditorTest::cursorFollowsKeysAndClicks_data()
{
    QTest::addColumn<bool>("leftHanded");
    QTest::addColumn<bool>("wholeBoard");
    QTest::newRow("right hand, whole board") << false << true;
    QTest::newRow("left hand, whole board") << true << true;
    QTest::newRow("right hand, from the grip") << false << false;
    QTest::newRow("left hand, from the grip") << true << false;
}

void EditorTest::cursorFollowsKeysAndClicks()
{
    QFETCH(bool, leftHanded);
    QFETCH(bool, wholeBoard);
    if (item("MI_LinkshaenderOnOff")->isChecked() != leftHanded)
        item("MI_LinkshaenderOnOff")->trigger();
    if (!wholeBoard)
        item("MI_ShowAkkord")->trigger();
    const auto board = [this] { return window->griffbrettFeld()->grab().toImage(); };

    click(3, 4);
    const QPoint clicked = spotCentre(*window, 3, 4);
    QRect frame = cursorPixels(board());
    QVERIFY2(frame.contains(clicked), "the cursor frames the clicked spot");
    QVERIFY(frame.width() < window->zeichner().Bundabstand() + 4);
    QCOMPARE(frame, window->zeichner().CursorRechteck());

    // Right moves toward the body: on the mirrored board that is to the left.
    key(Qt::Key_Right);
    const QRect moved = cursorPixels(board());
    QVERIFY2(moved.contains(spotCentre(*window, 4, 4)), "the cursor follows the arrow key");
    QVERIFY(leftHanded ? moved.center().x() < frame.center().x() : moved.center().x() > frame.center().x());
    key(Qt::Key_Up);
    frame = cursorPixels(board());
    QVERIFY(frame.contains(spotCentre(*window, 4, 5)));
    QVERIFY2(frame.center().y() < moved.center().y(), "the higher string lies one row up");
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Bund 4, Saite 5 gewählt"));

    // A copy of the board for other programs comes without the cursor.
    item("MI_Kopieren")->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    QVERIFY(!copied.isNull());
    QVERIFY2(cursorPixels(copied).isEmpty(), "the copy shows no cursor");
}

void EditorTest::popupKeysOpenTheMenuAtTheSpot_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier);
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
}

void EditorTest::popupKeysOpenTheMenuAtTheSpot()
{
    QFETCH(int, code);
    QFETCH(int, modifiers);
    const auto popupKey = [&] { key(code, Qt::KeyboardModifiers(modifiers)); };
    doc->LeerSetzen(2, true);
    click(3, 4);
    // Keys alone: to the open second string, its pop-up, and "O" mutes it.
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    popupKey();
    QMenu* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(popup != nullptr);
    QCOMPARE(popup->objectName(), QStringLiteral("PM_Leerseiten"));
    const QPoint at = window->griffbrettFeld()->mapToGlobal(window->zeichner().CursorRechteck().center());
    QVERIFY2(popup->geometry().adjusted(-2, -2, 2, 2).contains(at), "the pop-up opens at the cursor");
    QTest::keyClick(popup, Qt::Key_O);
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
    QCOMPARE(doc->SaitenStatus(2), SaiteStumm);
    QCOMPARE(window->zeichner().AktBund(), 3);

    // On a finger the finger menu opens; "2" renumbers it.
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    popupKey();
    popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(popup != nullptr);
    QCOMPARE(popup->objectName(), QStringLiteral("PM_Finger1bis4"));
    QTest::keyClick(popup, Qt::Key_2);
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
    QCOMPARE(doc->FingerBei(3, 4), 2);
    // The tenth fret keeps a key of its own.
    QCOMPARE(item("MI_Bund10")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F10));
}

#include "EditorTest.moc"
