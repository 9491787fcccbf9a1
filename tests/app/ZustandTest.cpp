#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusTipEvent>
#include <QTest>

#include <memory>

#include "app/MainForm.h"
#include "app/PaintBox.h"
#include "forms/DateiDialog.h"
#include "forms/GriffSpeichernForm.h"
#include "forms/GrifftabForm.h"
#include "forms/ModelText.h"
#include "forms/Statusleiste.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"
#include "tests/app/TestFenster.h"

namespace {

int typeNamed(const AkkordDepotClass& doc, const char* name)
{
    for (int t = 0; t < doc.TypAnzahl(); ++t) {
        if (std::string(doc.TypName(t)) == name)
            return t;
    }
    return -1;
}

// Every stored grip filed under a root and a type the catalogue has.
bool everyGripFiled(const AkkordDepotClass& doc)
{
    for (int i = 0; i < doc.Anzahl(); ++i) {
        if (doc.Element(i).Grundton > 11 || doc.Element(i).AkkordTyp < 0 ||
            doc.Element(i).AkkordTyp >= doc.TypAnzahl())
            return false;
    }
    return true;
}

} // namespace

class ZustandTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void chordTableWindowComesBackAfterQuitting();
    void movedTypeKeepsTheShownChordAndStoresUnderIt();
    void removingTheShownTypeLeavesTheGripWithoutChord();
    void removeQuestionCountsTheGripsOfAllRoots();
    void rootEditorRenamesItsOwnRootOrNothing();
    void shortNameEditorKeepsTheGrip();
    void typeNameIsStoredOnEnterAndNeverLost();
    void rootIsNeverOptional();
    void allStringsCommandsRefresh();
    void fewerStringsDropFingersAndClampTheSpot();
    void noGripBeyondTheThirtiethFret();
    void storeDialogStoresTheRangeItShows();
    void commandMessageSurvivesTheHintUnderTheMouse();
    void noMatchingGripLeavesNothingStale();
    void modifierShortcutsWorkInTheChordTableWindow();
    void rightClickChoosesTheRowFirst();
    void windowsOpenOnAScreen();

private:
    QAction* item(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    TF_GrifftabForm& table() { return *window->grifftabFenster(); }
    AkkordDepotClass& doc() { return window->dokument(); }
    // Chooses a type in the list the way a click does: the main window then shows that chord's grip.
    void chooseType(int typ)
    {
        table().LB_Akkorde->setCurrentRow(typ);
        table().LB_AkkordeClick();
    }

    std::unique_ptr<TestFenster> f;
    TF_Main* window = nullptr;
    QStringList dialogAnswers;
};

void ZustandTest::init()
{
    f = std::make_unique<TestFenster>();
    dialogAnswers.clear();
    SetzeDateiDialogAntwort([this](const DateiDialogAnfrage&) {
        return dialogAnswers.isEmpty() ? QString() : dialogAnswers.takeFirst();
    });
    window = &f->start();
}

void ZustandTest::cleanup()
{
    SetzeDateiDialogAntwort(nullptr);
    TF_GriffSpeichern::SetzeAntwort(nullptr);
    f.reset();
}

void ZustandTest::chordTableWindowComesBackAfterQuitting()
{
    QVERIFY(table().isVisible());
    // Quitting closes every window that is left, the chord-table window after the main window.
    QVERIFY(window->close());
    table().close();
    QVERIFY2(!f->iniText().contains(QStringLiteral("Anzeigen=0")), qPrintable(f->iniText()));
    f->stop();
    window = &f->start();
    QVERIFY(table().isVisible());

    // A close by the user hides it for the next start too.
    table().close();
    QVERIFY(f->iniText().contains(QStringLiteral("Anzeigen=0")));
    QVERIFY(!item("MI_GrifftabOnOff")->isChecked());
}

void ZustandTest::movedTypeKeepsTheShownChordAndStoresUnderIt()
{
    const int minor = typeNamed(doc(), "m");
    QVERIFY(minor > 0);
    setGrip(doc(), "x02210", "x-231-"); // A minor, not stored in this fingering
    window->NachAenderungAktualisieren();
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("Am"));

    // The type moves up one place: the shown chord follows it, and "S" files the grip under "m".
    table().LB_Akkorde->setCurrentRow(minor);
    table().PMI_HochClick();
    QCOMPARE(typeNamed(doc(), "m"), minor - 1);
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("Am"));
    QCOMPARE(window->ergebnis().AkkordTyp, minor - 1);
    doc().GriffSuchen() >= 0 ? doc().GriffEntfernen() : false;
    window->NachAenderungAktualisieren();
    const int before = doc().Anzahl();
    TF_GriffSpeichern::SetzeAntwort([](TF_GriffSpeichern&) { return int(QDialog::Accepted); });
    item("MI_AkkSpeichern")->trigger();
    QCOMPARE(doc().Anzahl(), before + 1);
    QCOMPARE(doc().Element(doc().Anzahl() - 1).AkkordTyp, typeNamed(doc(), "m"));
    QVERIFY(everyGripFiled(doc()));

    // Saved and opened again, the table loads and the grip is still an A minor.
    item("MI_Speichern")->trigger();
    auto loaded = std::make_unique<AkkordDepotClass>();
    QCOMPARE(loaded->Laden(f->file(defaultTableName).toStdString()), int(LadenOk));
    QCOMPARE(std::string(loaded->TypName(loaded->Element(loaded->Anzahl() - 1).AkkordTyp)), std::string("m"));
}

void ZustandTest::removingTheShownTypeLeavesTheGripWithoutChord()
{
    smallCatalogue(doc());
    setGrip(doc(), "x02210", "x-231-");
    window->NachAenderungAktualisieren();
    const int minor = typeNamed(doc(), "m");
    QCOMPARE(window->ergebnis().AkkordTyp, minor);
    f->answers << 6;
    chooseType(minor);
    table().PMI_TypEntfernenClick();
    QCOMPARE(typeNamed(doc(), "m"), -1);
    QVERIFY(window->ergebnis().AkkordTyp == -1 || window->ergebnis().AkkordTyp < doc().TypAnzahl());
    QVERIFY(doc().Daten().AkkordTyp < doc().TypAnzahl());
    // Whatever "S" offers now, it can never file the grip outside the catalogue.
    TF_GriffSpeichern::SetzeAntwort([](TF_GriffSpeichern&) { return int(QDialog::Accepted); });
    item("MI_AkkSpeichern")->trigger();
    QVERIFY(everyGripFiled(doc()));
    QCOMPARE(doc().Pruefen(), PruefOk);
}

void ZustandTest::removeQuestionCountsTheGripsOfAllRoots()
{
    const int major = typeNamed(doc(), "");
    int grips = 0;
    for (int i = 0; i < doc().Anzahl(); ++i)
        grips += doc().Element(i).AkkordTyp == major ? 1 : 0;
    QVERIFY(grips > 12);
    f->answers << 7;
    chooseType(major);
    table().PMI_TypEntfernenClick();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].meldung,
             QStringLiteral("Soll der Akkord mit seinen %1 zugehörigen Griffen wirklich entfernen werden? ")
                 .arg(grips));

    f->asked.clear();
    f->answers << 7;
    if (doc().TypAnzahl() == MaxTypen) {
        doc().AkkordtypLoeschen(doc().TypAnzahl() - 1);
        window->GrifftabFensterNeuFuellen();
    }
    table().PMI_TypZufuegenClick();
    table().PMI_TypEntfernenClick();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].meldung, QStringLiteral("Soll der Akkord wirklich entfernen werden? "));
}

void ZustandTest::rootEditorRenamesItsOwnRootOrNothing()
{
    table().LB_Grund->setCurrentRow(2);
    table().LB_GrundClick();
    table().PMI_UmbenennenClick();
    QVERIFY(table().E_GrundBez->isVisible());
    table().E_GrundBez->setText(QStringLiteral("Neu"));
    // The root selection changes: the editor closes and nothing is renamed.
    table().LB_Grund->setCurrentRow(5);
    table().LB_GrundClick();
    QVERIFY(!table().E_GrundBez->isVisible());
    QVERIFY(modelToQt(doc().TonName(2, false)) != QStringLiteral("Neu"));
    QVERIFY(modelToQt(doc().TonName(5, false)) != QStringLiteral("Neu"));

    // Enter renames the root it was opened on.
    table().PMI_UmbenennenClick();
    table().E_GrundBez->setText(QStringLiteral("Fis"));
    QTest::keyClick(table().E_GrundBez, Qt::Key_Return);
    QCOMPARE(modelToQt(doc().TonName(5, false)), QStringLiteral("Fis"));
}

void ZustandTest::shortNameEditorKeepsTheGrip()
{
    setGrip(doc(), "x3201x", "x32-1-");
    window->NachAenderungAktualisieren();
    const AkkordDatenClass grip = doc().Daten();
    table().LB_Grund->setCurrentRow(0);
    table().PMI_UmbenennenKurzClick();
    QTest::keyClick(table().E_GrundBez, Qt::Key_Escape);
    QVERIFY(GleicherGriff(doc().Daten(), grip));

    table().PMI_UmbenennenKurzClick();
    table().E_GrundBez->setText(QStringLiteral("Do"));
    QTest::keyClick(table().E_GrundBez, Qt::Key_Return);
    QVERIFY(GleicherGriff(doc().Daten(), grip));
    QVERIFY2(window->statusleiste()->panelText(0).startsWith(QStringLiteral("Do")),
             qPrintable(window->statusleiste()->panelText(0)));
}

void ZustandTest::typeNameIsStoredOnEnterAndNeverLost()
{
    table().CB_Bearbeiten->setChecked(true);
    table().CB_BearbeitenClick();
    table().CB_NameOrIntervall->setChecked(true);
    table().CB_NameOrIntervallClick();
    chooseType(1);
    QTest::keyClicks(table().E_AName, QStringLiteral("x"));
    const QString typed = table().E_AName->text();
    QTest::keyClick(table().E_AName, Qt::Key_Return);
    QCOMPARE(modelToQt(doc().TypName(1)), typed);

    // A click on the interval label while a name is typed stores that name on its own type.
    QTest::keyClicks(table().E_AName, QStringLiteral("y"));
    const QString second = table().E_AName->text();
    table().L_IntervallClick();
    QCOMPARE(modelToQt(doc().TypName(1)), second);
    QTest::keyClicks(table().E_AName, QStringLiteral("z"));
    const QString third = table().E_AName->text();
    chooseType(2);
    QCOMPARE(modelToQt(doc().TypName(1)), third);
    QVERIFY(modelToQt(doc().TypName(2)) != third);
}

void ZustandTest::rootIsNeverOptional()
{
    chooseType(0);
    table().UP_Intervall->setValue(4);
    table().L_IntervallClick();
    QVERIFY(table().L_Intervall->text().startsWith(QLatin1Char('(')));
    table().UP_Intervall->setValue(0);
    QCOMPARE(table().L_Intervall->text(), QStringLiteral("1"));
    table().L_IntervallClick();
    QCOMPARE(table().L_Intervall->text(), QStringLiteral("1"));
}

void ZustandTest::allStringsCommandsRefresh()
{
    setGrip(doc(), "x32xxx", "x32---");
    window->NachAenderungAktualisieren();
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("C"));
    // Every string ringing adds G, H and E to C and E: the name and what "S" stores follow at once.
    item("PMI_SaiteAlleSpielen")->trigger();
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("Cmaj7/E"));
    QCOMPARE(doc().Daten().AkkordTyp, window->ergebnis().AkkordTyp);
    item("PMI_SaiteAlleDaempfen")->trigger();
    QCOMPARE(doc().Daten().AkkordTyp, window->ergebnis().AkkordTyp);
    QCOMPARE(doc().Daten().Grundton, window->ergebnis().Grundton);
}

void ZustandTest::fewerStringsDropFingersAndClampTheSpot()
{
    setGrip(doc(), "320003", "21---3");
    window->StelleWaehlen(3, 6, false);
    auto bass = std::make_unique<AkkordDepotClass>(doc());
    bass->SaiteEntfernen(5);
    bass->SaiteEntfernen(4);
    const QString path = f->file(QStringLiteral("Bass.cho"));
    QVERIFY(bass->Speichern(path.toStdString()));
    dialogAnswers << path;
    f->answers << 7;
    item("MI_Laden")->trigger();
    QCOMPARE(doc().SaitenAnzahl(), 4);
    QVERIFY(window->zeichner().AktSaite() <= 4);
    for (int i = 0; i < doc().PunktAnzahl(); ++i)
        QVERIFY(doc().Punkt(i).Saite <= 4);
    QCOMPARE(doc().FingerSetzen(2, 5, 1), -1);
    QCOMPARE(doc().FingerSetzen(31, 1, 1), -1);
}

void ZustandTest::noGripBeyondTheThirtiethFret()
{
    setGrip(doc(), "x3201x", "x32-1-");
    window->ZuBundGehen(27); // frets 27..29
    QCOMPARE(doc().TiefsterBund(), 27);
    window->ZuBundGehen(28);
    QCOMPARE(doc().TiefsterBund(), 28);
    window->ZuBundGehen(29);
    QCOMPARE(doc().TiefsterBund(), 28);
    QVERIFY(window->statusleiste()->panelText(3).contains(QStringLiteral("29")));

    // The range dialog offers only the positions where the whole shape fits.
    TF_GriffSpeichern dialog(28, nullptr, 2);
    QCOMPARE(dialog.TCB_VonBund->itemText(dialog.TCB_VonBund->count() - 1), QStringLiteral("28"));
}

void ZustandTest::storeDialogStoresTheRangeItShows()
{
    setGrip(doc(), "x3555x", "x1344x"); // a movable C shape at fret 3
    window->NachAenderungAktualisieren();
    if (doc().GriffSuchen() >= 0)
        doc().GriffEntfernen();
    window->NachAenderungAktualisieren();
    int shownFrom = 0;
    int shownTo = 0;
    TF_GriffSpeichern::SetzeAntwort([&](TF_GriffSpeichern& dialog) {
        dialog.RB_BundBereich->setChecked(true);
        dialog.RB_BundBereichClick();
        dialog.TCB_VonBund->setCurrentIndex(2); // fret 3, the focus still in the start list
        shownFrom = dialog.TCB_VonBund->currentText().toInt();
        shownTo = dialog.TCB_BisBund->currentText().toInt();
        return int(QDialog::Accepted);
    });
    const int before = doc().Anzahl();
    item("MI_AkkSpeichern")->trigger();
    QCOMPARE(shownFrom, 3);
    QCOMPARE(shownTo, 12);
    QCOMPARE(doc().Anzahl() - before, shownTo - shownFrom + 1);
    int highest = 0;
    for (int i = before; i < doc().Anzahl(); ++i)
        highest = std::max(highest, TiefsterBundVon(doc().Element(i)));
    QCOMPARE(highest, 12);

    // The next dialog shows the range stored last.
    TF_GriffSpeichern again(3);
    QCOMPARE(again.vonBund(), 3);
    QCOMPARE(again.bisBund(), 12);
}

void ZustandTest::commandMessageSurvivesTheHintUnderTheMouse()
{
    QCursor::setPos(window->griffbrettFeld()->mapToGlobal(QPoint(10, 10)));
    window->Statusmeldung(QStringLiteral("Barré im 2. Bund eingetragen"));
    // The menu closes over the board, which announces its hint again.
    QStatusTipEvent tip(window->griffbrettFeld()->statusTip());
    QApplication::sendEvent(window, &tip);
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Barré im 2. Bund eingetragen"));
    // Another control under the mouse shows its hint again.
    QCursor::setPos(window->statusleiste()->mapToGlobal(QPoint(5, 5)));
    QStatusTipEvent other(window->statusleiste()->statusTip());
    QApplication::sendEvent(window, &other);
    QCOMPARE(window->statusleiste()->panelText(3), window->statusleiste()->statusTip());
}

void ZustandTest::noMatchingGripLeavesNothingStale()
{
    setGrip(doc(), "x32010", "x32-1-");
    window->NachAenderungAktualisieren();
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("C"));
    // A chord type without grips: choosing it finds nothing to show.
    if (doc().TypAnzahl() == MaxTypen)
        doc().AkkordtypLoeschen(doc().TypAnzahl() - 1);
    doc().TypZufuegen();
    window->GrifftabFensterNeuFuellen();
    chooseType(doc().TypAnzahl() - 1);
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Kein passendender Griff vorhanden!"));
    QCOMPARE(doc().PunktAnzahl(), 0);
    QCOMPARE(window->ergebnis().AkkordTyp, -1);
    QCOMPARE(window->statusleiste()->panelText(0), QString());
    QVERIFY(!item("MI_AkkSpeichern")->isEnabled());
}

void ZustandTest::modifierShortcutsWorkInTheChordTableWindow()
{
    doc().SetzeText(1, "geändert");
    table().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&table()));
    QTest::keyClick(table().LB_Akkorde, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!doc().IstGeaendert());
    const bool shown = item("MI_GrifftabOnOff")->isChecked();
    QTest::keyClick(table().LB_Akkorde, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(item("MI_GrifftabOnOff")->isChecked(), !shown);
}

void ZustandTest::rightClickChoosesTheRowFirst()
{
    QListWidget* list = table().LB_Akkorde;
    list->setCurrentRow(0);
    const QRect row = list->visualItemRect(list->item(2));
    QTest::mousePress(list->viewport(), Qt::RightButton, {}, row.center());
    QCOMPARE(list->currentRow(), 2);
    QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, row.center());
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

void ZustandTest::windowsOpenOnAScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // First start: the chord-table window stands beside the main window.
    QVERIFY2(!table().frameGeometry().intersects(window->frameGeometry()) ||
                 table().frameGeometry().left() >= window->frameGeometry().right(),
             "beside, not over the main window");
    window->close();
    f->stop();
    f->writeIni(
        "[Computer]\nWindowTop1=5000\nWindowLeft1=-9000\n[Grifftab]\nWindowTop=7000\nWindowLeft=7000\n");
    window = &f->start();
    QVERIFY(screen.intersects(window->frameGeometry()));
    QVERIFY(screen.contains(window->frameGeometry().center()));
    QVERIFY(screen.contains(table().frameGeometry().center()));
}

QTEST_MAIN(ZustandTest)
#include "ZustandTest.moc"
