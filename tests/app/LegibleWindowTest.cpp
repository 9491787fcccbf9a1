#include <memory>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QListWidget>
#include <QMenuBar>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/MainForm.h"
#include "app/PaintBox.h"
#include "forms/GrifftabForm.h"
#include "forms/ProgrammSymbol.h"
#include "forms/Statusleiste.h"
#include "grip/Akkord.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"
#include "tests/app/TestFenster.h"

namespace {

QString withoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&'));
}

} // namespace

class LegibleWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void shortcutsReadGermanInTheMenus();
    void fileDialogAndItsQuestionReadGerman();
    void positionMarkersAreAViewItemOnByDefault();
    void leftHandedMirrorsTheBoardAndTheEditing();
    void clickOnTheMarkTogglesOpenAndMuted_data();
    void clickOnTheMarkTogglesOpenAndMuted();
    void chordPanelFitsTheLongestNameOfTheCatalogue();
    void rightMarginMakesRoomForTheChosenAnnotation();
    void windowsKeepTheirMinimumAndShowTheProgramIcon();

private:
    std::unique_ptr<TestFenster> f;
    QAction* item(TF_Main& window, const char* name)
    {
        return window.findChild<QAction*>(QString::fromLatin1(name));
    }
};

void LegibleWindowTest::init()
{
    f = std::make_unique<TestFenster>();
}

void LegibleWindowTest::cleanup()
{
    f.reset();
}

void LegibleWindowTest::shortcutsReadGermanInTheMenus()
{
    TF_Main& window = f->start();
    QCOMPARE(item(window, "MI_Speichern")->shortcut().toString(QKeySequence::NativeText),
             QStringLiteral("Strg+S"));
    QCOMPARE(item(window, "MI_FingerEntfAlle")->shortcut().toString(QKeySequence::NativeText),
             QStringLiteral("Umschalt+Entf"));
    QCOMPARE(item(window, "MI_ShowGriffbrett")->text(), QStringLiteral("Griff&brett\tStrg+U"));
    QCOMPARE(item(window, "MI_ShowAkkord")->text(), QStringLiteral("&Akkordgriff\tStrg+U"));
    QCOMPARE(item(window, "PMI_Barre")->text(), QStringLiteral("&Barrè einzeichnen\tStrg+R"));
}

void LegibleWindowTest::fileDialogAndItsQuestionReadGerman()
{
    TF_Main& window = f->start();
    QStringList cancelTexts;
    QStringList acceptTexts;
    // The open command runs Qt's own file dialog; it is read and cancelled as soon as it shows.
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        const auto* buttons = dialog->findChild<QDialogButtonBox*>();
        if (buttons != nullptr) {
            cancelTexts << withoutMnemonic(buttons->button(QDialogButtonBox::Cancel)->text());
            acceptTexts << withoutMnemonic(buttons->button(QDialogButtonBox::Open)->text());
        }
        dialog->reject();
    });
    item(window, "MI_Laden")->trigger();
    QCOMPARE(cancelTexts, QStringList{QStringLiteral("Abbrechen")});
    QCOMPARE(acceptTexts, QStringList{QStringLiteral("Öffnen")});

    // The overwrite question and the plain message box use Qt's standard buttons.
    QMessageBox question(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No,
                         &window);
    QCOMPARE(withoutMnemonic(question.button(QMessageBox::Yes)->text()), QStringLiteral("Ja"));
    QCOMPARE(withoutMnemonic(question.button(QMessageBox::No)->text()), QStringLiteral("Nein"));
    QMessageBox plain(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Cancel, &window);
    QCOMPARE(withoutMnemonic(plain.button(QMessageBox::Cancel)->text()), QStringLiteral("Abbrechen"));
}

void LegibleWindowTest::positionMarkersAreAViewItemOnByDefault()
{
    TF_Main* window = &f->start();
    QAction* markers = item(*window, "MI_LagenpunkteOnOff");
    QVERIFY(markers);
    QCOMPARE(markers->text(), QStringLiteral("&Lagenpunkte"));
    QVERIFY(markers->isCheckable());
    QVERIFY(markers->isChecked());
    const auto* diagram = window->findChild<QMenu*>(QStringLiteral("MI_AnsichtDiagramm"));
    QVERIFY(diagram->actions().contains(markers));

    // The view that follows the grip stays as designed.
    QCOMPARE(window->ansicht(), 1);
    QVERIFY(!window->zeichner().Lagenpunkte());
    QCOMPARE(window->zeichner().markerCount(), 0);

    window->AnsichtWechseln();
    QCOMPARE(window->ansicht(), 0);
    QVERIFY(window->zeichner().Lagenpunkte());
    QVERIFY(window->zeichner().markerCount() >= 5);
    QVERIFY(window->zeichner().fretNumberCount() >= 1);

    markers->trigger();
    QVERIFY(!markers->isChecked());
    QVERIFY(f->iniText().contains(QStringLiteral("Lagenpunkte=0")));
    QCOMPARE(window->zeichner().markerCount(), 0);

    QVERIFY(window->close());
    f->stop();
    window = &f->start();
    QVERIFY(!item(*window, "MI_LagenpunkteOnOff")->isChecked());
}

void LegibleWindowTest::leftHandedMirrorsTheBoardAndTheEditing()
{
    f->writeIni("[Diagramm]\nAkkordBestimmt=0\nBundanz0=10\n");
    TF_Main* window = &f->start();
    QVERIFY(QTest::qWaitForWindowActive(window));
    AkkordDepotClass& doc = window->dokument();
    doc.Loeschen();
    window->NachAenderungAktualisieren();
    QAction* mirror = item(*window, "MI_LinkshaenderOnOff");
    QVERIFY(mirror);
    QCOMPARE(mirror->text(), QStringLiteral("Links&händer"));
    QVERIFY(!mirror->isChecked());
    QVERIFY(window->findChild<QMenu*>(QStringLiteral("MI_AnsichtDiagramm"))->actions().contains(mirror));
    const QPoint rightHanded = spotCentre(*window, 3, 5);

    mirror->trigger();
    QVERIFY(window->zeichner().Linkshaender());
    QVERIFY(f->iniText().contains(QStringLiteral("Linkshaender=1")));
    const int w = window->griffbrettFeld()->width();
    const QPoint leftHanded = spotCentre(*window, 3, 5);
    QVERIFY(std::abs(leftHanded.x() - (w - 1 - rightHanded.x())) <= 1);
    QCOMPARE(leftHanded.y(), rightHanded.y());

    // A click where the mirrored board shows fret 3 of string 5 places the finger there.
    QTest::mouseClick(window->griffbrettFeld(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(w - 1 - rightHanded.x(), rightHanded.y()));
    QCOMPARE(doc.FingerBei(3, 5), 1);
    // The disc shows there too, in the board the paint box copies.
    const QImage board = window->griffbrettFeld()->grab().toImage();
    const CellRect cell = window->zeichner().GetFeld(2, 1);
    const QRect shown = window->zeichner().spiegeln(cell.toQRect());
    const QPoint inDisc(shown.center().x() - shown.width() / 4, shown.center().y() + shown.height() / 4);
    QVERIFY(qGray(board.pixel(inDisc)) < 60);

    // The place the right-handed board had it now belongs to the mirrored fret.
    int bund = 0;
    int saite = 0;
    QVERIFY(window->FeldSuchen(rightHanded.x(), rightHanded.y(), bund, saite));
    QCOMPARE(bund, 8);
    QCOMPARE(saite, 5);

    QVERIFY(window->close());
    f->stop();
    window = &f->start();
    QVERIFY(item(*window, "MI_LinkshaenderOnOff")->isChecked());
    QVERIFY(window->zeichner().Linkshaender());
}

void LegibleWindowTest::clickOnTheMarkTogglesOpenAndMuted_data()
{
    QTest::addColumn<bool>("linkshaender");
    QTest::newRow("right-handed") << false;
    QTest::newRow("left-handed") << true;
}

void LegibleWindowTest::clickOnTheMarkTogglesOpenAndMuted()
{
    QFETCH(bool, linkshaender);
    if (linkshaender)
        f->writeIni("[Diagramm]\nLinkshaender=1\n");
    TF_Main* window = &f->start();
    QVERIFY(QTest::qWaitForWindowActive(window));
    AkkordDepotClass& doc = window->dokument();
    setGrip(doc, "x32010", "x32010");
    doc.LeerSetzen(6, false);
    window->NachAenderungAktualisieren();
    QCOMPARE(doc.SaitenStatus(6), SaiteStumm);
    QCOMPARE(window->zeichner().TextLinks(0).text(), QStringLiteral("X"));
    const QRect mark = window->zeichner().TextLinksFeld(0).box;
    QVERIFY(!mark.isEmpty());
    QCOMPARE(mark.center().x() > window->griffbrettFeld()->width() / 2, linkshaender);

    QTest::mouseClick(window->griffbrettFeld(), Qt::LeftButton, Qt::NoModifier, mark.center());
    QCOMPARE(doc.SaitenStatus(6), SaiteLeer);
    QCOMPARE(window->zeichner().TextLinks(0).text(), QStringLiteral("0"));
    QCOMPARE(doc.PunktAnzahl(), 3);

    QTest::mouseClick(window->griffbrettFeld(), Qt::LeftButton, Qt::NoModifier,
                      window->zeichner().TextLinksFeld(0).box.center());
    QCOMPARE(doc.SaitenStatus(6), SaiteStumm);

    // The first string's mark works the same; a fretted string has no mark to click.
    const int before = doc.SaitenStatus(1);
    QVERIFY(before != SaiteGegriffen);
    QTest::mouseClick(window->griffbrettFeld(), Qt::LeftButton, Qt::NoModifier,
                      window->zeichner().TextLinksFeld(5).box.center());
    QCOMPARE(doc.SaitenStatus(1), before == SaiteLeer ? SaiteStumm : SaiteLeer);
    QVERIFY(window->zeichner().TextLinksFeld(1).box.isEmpty());
}

void LegibleWindowTest::chordPanelFitsTheLongestNameOfTheCatalogue()
{
    // Without the bass mode, whose names may end in a slash and a bass.
    f->writeIni("[Akkorderkennung]\nBasston=0\n");
    TF_Main* window = &f->start();
    AkkordDepotClass& doc = window->dokument();
    smallCatalogue(doc);
    setGrip(doc, "x32010", "x32010");
    window->NachAenderungAktualisieren();
    const int typ = window->ergebnis().AkkordTyp;
    QVERIFY(typ >= 0);
    // The recognised type gets a name at the catalogue's length limit.
    doc.TypUmbenennen(typ, "m7(b9,#11,b13)add9");
    window->NachAenderungAktualisieren();
    Statusleiste* bar = window->statusleiste();
    QCOMPARE(bar->panelText(0), QStringLiteral("Cm7(b9,#11,b13)add9"));
    QVERIFY(bar->panelWidth(0) > 65);
    QVERIFY(!bar->panelTextShortened(0));
    // The widest root with that type fits too.
    bar->setPanelText(0, QStringLiteral("C#m7(b9,#11,b13)add9"));
    QVERIFY(!bar->panelTextShortened(0));

    doc.TypUmbenennen(typ, "");
    window->NachAenderungAktualisieren();
    QCOMPARE(bar->panelWidth(0), 65);
}

void LegibleWindowTest::rightMarginMakesRoomForTheChosenAnnotation()
{
    f->writeIni("[Diagramm]\nRechteAnzeige=2\n");
    TF_Main* window = &f->start();
    QCOMPARE(window->width(), 320);
    QCOMPARE(window->zeichner().Bundzahl(), 4);
    QCOMPARE(window->zeichner().TextRechtsMuster(), QStringLiteral("maj7"));
    AkkordDepotClass& doc = window->dokument();
    setGrip(doc, "x32000", "x32000");
    window->NachAenderungAktualisieren();
    const GriffbrettClass& board = window->zeichner();
    QVERIFY(board.TextRechts(0).Schrifthoehe >= LegibleTextHeight);
    for (int row = 0; row < 6; ++row) {
        QVERIFY(!board.TextRechtsFeld(row).shortened);
        QVERIFY(board.TextRechtsFeld(row).box.right() < board.Breite());
    }

    item(*window, "MI_Radio1Noten")->trigger();
    QCOMPARE(window->zeichner().TextRechtsMuster().size(), 2);
    item(*window, "MI_Radio1Aus")->trigger();
    QVERIFY(window->zeichner().TextRechtsMuster().isEmpty());
}

void LegibleWindowTest::windowsKeepTheirMinimumAndShowTheProgramIcon()
{
    // Column widths saved too narrow by an earlier version come back wide enough.
    f->writeIni("[Grifftab]\nAnzeigen=1\nWidth0=20\nWidth1=20\n");
    TF_Main& window = f->start();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    TF_GrifftabForm* table = window.grifftabFenster();
    for (QListWidget* list : {table->LB_Grund, table->LB_Akkorde}) {
        for (int row = 0; row < list->count(); ++row) {
            const QListWidgetItem* entry = list->item(row);
            QVERIFY2(list->fontMetrics().horizontalAdvance(entry->text()) <= list->visualItemRect(entry).width() - 4,
                     qPrintable(entry->text()));
        }
    }

    // The main window stops where the menu bar still fits one row and the board reads.
    window.resize(50, 50);
    QTRY_VERIFY(window.width() >= window.menuBar()->sizeHint().width());
    QCOMPARE(window.menuBar()->height(), window.menuBar()->sizeHint().height());
    QVERIFY(window.griffbrettFeld()->width() >= 200);
    QVERIFY(window.griffbrettFeld()->height() >= 150);
    QVERIFY(!window.zeichner().ZuKlein());

    // Every window shows Zupfwerk's own icon.
    const QImage own = ProgrammSymbol().pixmap(32, 32).toImage();
    QVERIFY(!own.isNull());
    QDialog dialog(&window);
    for (const QWidget* shown : {static_cast<QWidget*>(&window), static_cast<QWidget*>(table),
                                 static_cast<QWidget*>(&dialog)})
        QCOMPARE(shown->windowIcon().pixmap(32, 32).toImage(), own);
}

QTEST_MAIN(LegibleWindowTest)
#include "LegibleWindowTest.moc"
