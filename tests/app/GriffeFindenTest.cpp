#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <memory>
#include <string>

#include "app/MainForm.h"
#include "forms/GriffeFindenForm.h"
#include "forms/GrifftabForm.h"
#include "forms/Statusleiste.h"
#include "griffsuche/Griffsuche.h"
#include "table/AkkordDepot.h"
#include "tests/app/TestFenster.h"

class GriffeFindenTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ctrlDOpensPresetToTheShownChord();
    void presetFromTheChordTableWindow();
    void listShowsDiagramsFretsAndReasons();
    void fillingDoesNotBlockAndShowsProgress();
    void selectingAGripShowsItOnTheBoard();
    void storingGoesToTheTableAndTheChordTableWindow();
    void storingAGripTheTableHoldsIsRefused();
    void storingAllShownGrips();
    void aFullTableTakesNoMore();
    void filtersAndSettingsAreKept();
    void otherChordSearchesAgain();

private:
    int type(const char* name) const;
    // Plays the grip on the board as an edit would.
    void play(const char* frets, const char* fingers);
    TF_GriffeFinden* open();
    int rowOf(TF_GriffeFinden& dialog, const char* frets) const;
    void choose(TF_GriffeFinden& dialog, int row);
    QString message() const { return window->statusleiste()->panelText(3); }
    // What the finder itself says after storing; the status line says the same.
    QString report(TF_GriffeFinden& dialog) const
    {
        return dialog.L_Gespeichert->isVisibleTo(&dialog) && dialog.L_Gespeichert->text() == message()
                   ? dialog.L_Gespeichert->text()
                   : QStringLiteral("finder: '%1', status line: '%2'")
                         .arg(dialog.L_Gespeichert->text(), message());
    }

    std::unique_ptr<TestFenster> f;
    TF_Main* window = nullptr;
    AkkordDepotClass* doc = nullptr;
};

void GriffeFindenTest::init()
{
    f = std::make_unique<TestFenster>();
    window = &f->start();
    QVERIFY(QTest::qWaitForWindowActive(window));
    doc = &window->dokument();
    QVERIFY2(doc->TypAnzahl() > 30, "the bundled table is loaded");
}

void GriffeFindenTest::cleanup()
{
    f.reset();
}

int GriffeFindenTest::type(const char* name) const
{
    for (int t = 0; t < doc->TypAnzahl(); ++t) {
        if (std::strcmp(doc->TypName(t), name) == 0)
            return t;
    }
    return -1;
}

void GriffeFindenTest::play(const char* frets, const char* fingers)
{
    setGrip(*doc, frets, fingers);
    doc->AkkordSetzen(KeinTon, 0);
    window->NachAenderungAktualisieren();
}

TF_GriffeFinden* GriffeFindenTest::open()
{
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return nullptr;
    QTest::keyClick(window, Qt::Key_D, Qt::ControlModifier);
    auto* dialog = window->findChild<TF_GriffeFinden*>();
    if (!dialog)
        return nullptr;
    if (!QTest::qWaitForWindowExposed(dialog))
        return nullptr;
    return dialog;
}

int GriffeFindenTest::rowOf(TF_GriffeFinden& dialog, const char* frets) const
{
    const std::string wanted = std::string(frets) + ' ';
    for (int row = 0; row < dialog.LB_Griffe->count(); ++row) {
        if (dialog.GriffInZeile(row).Zeile().rfind(wanted, 0) == 0)
            return row;
    }
    return -1;
}

void GriffeFindenTest::choose(TF_GriffeFinden& dialog, int row)
{
    QListWidget& list = *dialog.LB_Griffe;
    list.scrollToItem(list.item(row));
    const QRect spot = list.visualItemRect(list.item(row));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, spot.center());
}

void GriffeFindenTest::ctrlDOpensPresetToTheShownChord()
{
    play("x02210", "x02310");
    QCOMPARE(window->ergebnis().Grundton, 9);
    QCOMPARE(window->ergebnis().AkkordTyp, type("m"));

    TF_GriffeFinden* dialog = open();
    QVERIFY(dialog);
    QVERIFY(dialog->isModal());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Griffe finden"));
    QCOMPARE(dialog->Grundton(), 9);
    QCOMPARE(dialog->TCB_Akkord->currentText(), QStringLiteral("Am"));
    QCOMPARE(dialog->Typ(), type("m"));
    QTRY_VERIFY(dialog->Gefuellt());
    const int row = rowOf(*dialog, "x02210");
    QVERIFY(row >= 0);
    QVERIFY2(row < 10, "the open A minor grip is among the first ten");
    QCOMPARE(dialog->LB_Griffe->count(), dialog->Suche().Anzahl());
    QCOMPARE(dialog->L_Anzahl->text(), QStringLiteral("%1 Griffe").arg(dialog->Suche().Anzahl()));

    // The menu item carries the key and closes with the dialog's own button.
    QAction* item = window->findChild<QAction*>(QStringLiteral("MI_GriffeFinden"));
    QVERIFY(item);
    QCOMPARE(item->text(), QStringLiteral("Griffe &finden..."));
    QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
    QTest::mouseClick(dialog->B_Schliessen, Qt::LeftButton);
    QTRY_VERIFY(!window->findChild<TF_GriffeFinden*>());
}

void GriffeFindenTest::presetFromTheChordTableWindow()
{
    doc->Loeschen();
    window->NachAenderungAktualisieren();
    QCOMPARE(window->ergebnis().AkkordTyp, -1);
    TF_GrifftabForm& table = *window->grifftabFenster();
    table.GrundtonWaehlen(7);
    table.TypWaehlen(type("7"));

    TF_GriffeFinden* dialog = open();
    QVERIFY(dialog);
    QCOMPARE(dialog->TCB_Akkord->currentText(), QStringLiteral("G7"));
    QCOMPARE(dialog->Typ(), type("7"));
    QTRY_VERIFY(dialog->Gefuellt());
    QVERIFY(rowOf(*dialog, "320001") >= 0);
}

void GriffeFindenTest::listShowsDiagramsFretsAndReasons()
{
    play("x32010", "x32010");
    TF_GriffeFinden* dialog = open();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->Gefuellt());
    QCOMPARE(rowOf(*dialog, "x32010"), 0);
    // A picture of the dialog to look at, on request.
    if (qEnvironmentVariableIsSet("ZW_GRIFFE_FINDEN_BILD"))
        dialog->grab().save(qEnvironmentVariable("ZW_GRIFFE_FINDEN_BILD"));
    QListWidgetItem* first = dialog->LB_Griffe->item(0);
    QCOMPARE(first->text(), QStringLiteral("x32010\n1. Bund"));
    QVERIFY(!first->icon().isNull());
    const QSize size = first->icon().availableSizes().value(0);
    QCOMPARE(size, QSize(TF_GriffeFinden::DiagrammBreite, TF_GriffeFinden::DiagrammHoehe));
    QVERIFY(first->toolTip().contains(QStringLiteral("Grundton im Bass")));
    QVERIFY(first->toolTip().contains(QStringLiteral("Spannweite 3 Bünde: +2")));
    QVERIFY(first->toolTip().contains(QStringLiteral("Leersaiten in der ersten Lage: -2")));

    const int barre = rowOf(*dialog, "x35553");
    QVERIFY(barre > 0 && barre < 10);
    QCOMPARE(dialog->LB_Griffe->item(barre)->text(), QStringLiteral("x35553\n3. Bund"));
    QVERIFY(dialog->LB_Griffe->item(barre)->toolTip().contains(QStringLiteral("Barré im 3. Bund")));
    const int high = rowOf(*dialog, "8(10)(10)988");
    QVERIFY(high >= 0);
    QCOMPARE(dialog->LB_Griffe->item(high)->text(), QStringLiteral("8 10 10 9 8 8\n8. Bund"));
}

void GriffeFindenTest::fillingDoesNotBlockAndShowsProgress()
{
    f->writeIni("[Griffsuche]\nSpannweite=5\nBund=24\n");
    play("x32010", "x32010");
    TF_GriffeFinden* dialog = open();
    QVERIFY(dialog);
    QCOMPARE(dialog->UD_Spannweite->value(), 5);
    QCOMPARE(dialog->UD_Bund->value(), 24);
    QVERIFY2(!dialog->Gefuellt(), "the constructor returns before the list is filled");
    // A timer that fires while the progress shows and the list is not yet full proves that other
    // events run between the slices; watched on every pass of the loop, since a fast fill takes few.
    bool ranWhileFilling = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&ranWhileFilling, dialog] {
        ranWhileFilling = ranWhileFilling || (dialog->PG_Fortschritt->isVisible() && !dialog->Gefuellt());
    });
    watch.start(0);
    QTRY_VERIFY_WITH_TIMEOUT(dialog->Gefuellt(), 20000);
    watch.stop();
    QVERIFY(!dialog->PG_Fortschritt->isVisible());
    QVERIFY2(ranWhileFilling, "other events ran while the list filled");
    QVERIFY(dialog->B_Speichern->isEnabled());
    QVERIFY(rowOf(*dialog, "(20)(22)(22)(21)(20)(20)") >= 0);
}

void GriffeFindenTest::selectingAGripShowsItOnTheBoard()
{
    play("x32010", "x32010");
    TF_GriffeFinden* dialog = open();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->Gefuellt());
    const int row = rowOf(*dialog, "x35553");
    QVERIFY(row >= 0);
    const int counter = doc->Nummer;
    choose(*dialog, row);

    const AkkordDatenClass& found = dialog->GriffInZeile(row).Griff;
    QVERIFY(GleicherGriff(doc->Daten(), found));
    QCOMPARE(doc->Nummer, counter);
    QCOMPARE(doc->KlingenderTon(2), 0);
    QCOMPARE(doc->SaitenStatus(1), SaiteStumm);
    QCOMPARE(doc->Barre(0), 1);
    QCOMPARE(window->ergebnis().Grundton, 0);
    QCOMPARE(window->ergebnis().AkkordTyp, type(""));
    QCOMPARE(window->statusleiste()->panelText(0), QStringLiteral("C"));
    // The occurrence panel tells whether the table holds the shown grip.
    QCOMPARE(window->statusleiste()->panelText(1).contains(QLatin1Char('/')), doc->GriffSuchen() >= 0);

    // Keys move through the list as well.
    QTest::keyClick(dialog->LB_Griffe, Qt::Key_Home);
    QVERIFY(GleicherGriff(doc->Daten(), dialog->GriffInZeile(0).Griff));
}

void GriffeFindenTest::storingGoesToTheTableAndTheChordTableWindow()
{
    play("x32010", "x32010");
    TF_GriffeFinden* dialog = open();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->Gefuellt());
    // The first grip the table does not hold yet.
    int row = -1;
    for (int r = 0; r < dialog->Zeilen() && row < 0; ++r) {
        const int counter = doc->Nummer;
        doc->Daten() = dialog->GriffInZeile(r).Griff;
        doc->Nummer = counter;
        if (doc->GriffSuchen() < 0)
            row = r;
    }
    QVERIFY(row >= 0);
    const int before = doc->Anzahl();
    int position = -1;
    doc->AkkordSetzen(0, type(""));
    const int storedOfC = doc->GriffeZaehlen(&position);

    choose(*dialog, row);
    QTest::mouseClick(dialog->B_Speichern, Qt::LeftButton);
    QCOMPARE(doc->Anzahl(), before + 1);
    QCOMPARE(message(), QStringLiteral("Griff wurde gespeichert"));
    QVERIFY(GleicherGriff(doc->Element(doc->Anzahl() - 1), dialog->GriffInZeile(row).Griff));
    QVERIFY(doc->IstGeaendert());
    QCOMPARE(window->ergebnis().Grundton, 0);
    QVERIFY(window->ergebnis().GriffIndex >= 0);

    // The chord-table window shows the chord with the new grip selected.
    TF_GrifftabForm& table = *window->grifftabFenster();
    QCOMPARE(table.LB_Grund->currentRow(), 0);
    QCOMPARE(table.LB_Akkorde->currentRow(), type(""));
    QCOMPARE(table.LB_Buende->count(), storedOfC + 1);
    TrefferClass chosen;
    QVERIFY(table.Auswahl(chosen));
    QCOMPARE(chosen.GriffIndex, window->ergebnis().GriffIndex);
}

void GriffeFindenTest::storingAGripTheTableHoldsIsRefused()
{
    play("x32010", "x32010");
    TF_GriffeFinden* dialog = open();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->Gefuellt());
    const int before = doc->Anzahl();
    choose(*dialog, rowOf(*dialog, "x32010"));
    QTest::mouseClick(dialog->B_Speichern, Qt::LeftButton);
    QCOMPARE(doc->Anzahl(), before);
    QCOMPARE(report(*dialog), QStringLiteral("Griff wurde nicht gespeichert: er ist schon gespeichert"));
    QVERIFY(f->asked.isEmpty());
}

void GriffeFindenTest::storingAllShownGrips()
{
    play("x32010", "x32010");
    TF_GriffeFinden* dialog = open();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->Gefuellt());
    const int all = dialog->Zeilen();
    QTest::mouseClick(dialog->CB_GrundtonImBass, Qt::LeftButton);
    QTest::mouseClick(dialog->CB_OhneLeersaiten, Qt::LeftButton);
    QTRY_VERIFY(dialog->Gefuellt());
    const int shown = dialog->Zeilen();
    QVERIFY(shown > 5 && shown < all);
    QCOMPARE(dialog->L_Anzahl->text(), QStringLiteral("%1 von %2 Griffen").arg(shown).arg(all));

    // The table holds some of them already; those are left out.
    int known = 0;
    for (int r = 0; r < shown; ++r) {
        const int counter = doc->Nummer;
        doc->Daten() = dialog->GriffInZeile(r).Griff;
        doc->Nummer = counter;
        known += doc->GriffSuchen() >= 0 ? 1 : 0;
    }
    QVERIFY(known > 0);
    const int before = doc->Anzahl();
    dialog->LB_Griffe->clearSelection();
    // Without a selection the finder asks first, naming the count; "Nein" stores nothing.
    f->answers = {7};
    QTest::mouseClick(dialog->B_Speichern, Qt::LeftButton);
    QCOMPARE(f->asked.size(), 1);
    QVERIFY2(f->asked.first().meldung.contains(QStringLiteral("alle %1 gefundenen Griffe").arg(shown)),
             qPrintable(f->asked.first().meldung));
    QCOMPARE(doc->Anzahl(), before);
    QTest::mouseClick(dialog->B_Speichern, Qt::LeftButton);
    QCOMPARE(f->asked.size(), 2);
    QCOMPARE(doc->Anzahl(), before + shown - known);
    QCOMPARE(report(*dialog), QStringLiteral("%1 von %2 Griffen wurden gespeichert: %3 schon gespeichert")
                                  .arg(shown - known)
                                  .arg(shown)
                                  .arg(known));

    // A second time nothing is new.
    QTest::mouseClick(dialog->B_Speichern, Qt::LeftButton);
    QCOMPARE(doc->Anzahl(), before + shown - known);
    QCOMPARE(report(*dialog),
             QStringLiteral("Kein Griff wurde gespeichert: %1 schon gespeichert").arg(shown));
}

void GriffeFindenTest::aFullTableTakesNoMore()
{
    // Fill the table to one grip below its capacity with records no search can find.
    AkkordDatenClass filler;
    filler.PunktAnzahl = 1;
    for (int i = doc->Anzahl(); i < MaxGriffe - 1; ++i) {
        filler.Grundton = static_cast<std::uint8_t>(i % 12);
        filler.AkkordTyp = i / 12 % doc->TypAnzahl();
        filler.Punkte[0].Bund = i / 396 + 1;
        filler.Punkte[0].Saite = 1;
        filler.Punkte[0].Finger = 1;
        QVERIFY(doc->Anhaengen(filler) > 0);
    }
    QCOMPARE(doc->Anzahl(), MaxGriffe - 1);

    play("x32010", "x32010");
    TF_GriffeFinden* dialog = open();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->Gefuellt());
    dialog->UD_Bund->setValue(3);
    QTRY_VERIFY(dialog->Gefuellt());
    dialog->LB_Griffe->selectAll();
    const int selected = dialog->LB_Griffe->selectedItems().size();
    QVERIFY(selected > 3);
    QTest::mouseClick(dialog->B_Speichern, Qt::LeftButton);
    QCOMPARE(doc->Anzahl(), MaxGriffe);
    QVERIFY2(
        report(*dialog).startsWith(QStringLiteral("1 von %1 Griffen wurden gespeichert: ").arg(selected)),
        qPrintable(report(*dialog)));
    QVERIFY2(report(*dialog).endsWith(QStringLiteral("Die Grifftabelle ist voll: 10000 Griffe")),
             qPrintable(report(*dialog)));
    QTest::mouseClick(dialog->B_Speichern, Qt::LeftButton);
    QCOMPARE(doc->Anzahl(), MaxGriffe);
    QVERIFY2(report(*dialog).startsWith(QStringLiteral("Kein Griff wurde gespeichert: ")),
             qPrintable(report(*dialog)));
    QVERIFY2(report(*dialog).endsWith(QStringLiteral("Die Grifftabelle ist voll: 10000 Griffe")),
             qPrintable(report(*dialog)));
}

void GriffeFindenTest::filtersAndSettingsAreKept()
{
    play("x32010", "x32010");
    TF_GriffeFinden* dialog = open();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->Gefuellt());
    QCOMPARE(dialog->UD_Spannweite->value(), 4);
    QCOMPARE(dialog->UD_Bund->value(), 15);
    QVERIFY(!dialog->CB_GrundtonImBass->isChecked());
    QVERIFY(!dialog->CB_OhneLeersaiten->isChecked());

    QTest::mouseClick(dialog->CB_GrundtonImBass, Qt::LeftButton);
    QTRY_VERIFY(dialog->Gefuellt());
    for (int r = 0; r < dialog->Zeilen(); ++r)
        QVERIFY(dialog->GriffInZeile(r).GrundtonImBass);
    QCOMPARE(rowOf(*dialog, "032010"), -1);
    QVERIFY(rowOf(*dialog, "x32010") >= 0);
    QTest::mouseClick(dialog->CB_GrundtonImBass, Qt::LeftButton);
    QTest::mouseClick(dialog->CB_OhneLeersaiten, Qt::LeftButton);
    QTRY_VERIFY(dialog->Gefuellt());
    for (int r = 0; r < dialog->Zeilen(); ++r)
        QCOMPARE(dialog->GriffInZeile(r).Leersaiten, 0);
    QCOMPARE(rowOf(*dialog, "x32010"), -1);

    dialog->UD_Spannweite->setValue(3);
    QTRY_VERIFY(dialog->Gefuellt());
    QCOMPARE(dialog->Suche().Einstellung().Spannweite, 3);
    for (int r = 0; r < dialog->Zeilen(); ++r)
        QVERIFY(dialog->GriffInZeile(r).Spannweite <= 3);
    dialog->UD_Bund->setValue(12);
    QTRY_VERIFY(dialog->Gefuellt());
    for (int r = 0; r < dialog->Zeilen(); ++r)
        QVERIFY(dialog->GriffInZeile(r).Lage + dialog->GriffInZeile(r).Spannweite - 1 <= 12);

    const QString ini = f->iniText();
    QVERIFY(ini.contains(QStringLiteral("[Griffsuche]")));
    QVERIFY(ini.contains(QStringLiteral("Spannweite=3")));
    QVERIFY(ini.contains(QStringLiteral("Bund=12")));
    QVERIFY(ini.contains(QStringLiteral("OhneLeersaiten=1")));
    dialog->close();
    QTRY_VERIFY(!window->findChild<TF_GriffeFinden*>());

    dialog = open();
    QVERIFY(dialog);
    QCOMPARE(dialog->UD_Spannweite->value(), 3);
    QCOMPARE(dialog->UD_Bund->value(), 12);
    QVERIFY(dialog->CB_OhneLeersaiten->isChecked());
    QVERIFY(!dialog->CB_GrundtonImBass->isChecked());
}

void GriffeFindenTest::otherChordSearchesAgain()
{
    play("x32010", "x32010");
    TF_GriffeFinden* dialog = open();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->Gefuellt());
    // Picked from the list.
    dialog->TCB_Akkord->setCurrentIndex(dialog->TCB_Akkord->findText(QStringLiteral("G")));
    QTRY_VERIFY(dialog->Gefuellt());
    QCOMPARE(dialog->Suche().Grundton(), 7);
    QVERIFY(rowOf(*dialog, "320003") >= 0 && rowOf(*dialog, "320003") < 10);
    // Typed letter by letter as --find reads it: each step that names a chord searches it.
    QLineEdit* field = dialog->TCB_Akkord->lineEdit();
    QVERIFY(field);
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("Am7"));
    QCOMPARE(field->text(), QStringLiteral("Am7"));
    QTRY_VERIFY(dialog->Gefuellt());
    QCOMPARE(dialog->Suche().Grundton(), 9);
    QCOMPARE(dialog->Suche().Typ(), type("m7"));
    QVERIFY(rowOf(*dialog, "x02010") >= 0 && rowOf(*dialog, "x02010") < 3);
    // The catalogue completes what is typed.
    QCompleter* completer = dialog->TCB_Akkord->completer();
    QVERIFY(completer);
    completer->setCompletionPrefix(QStringLiteral("F#m7"));
    QCOMPARE(completer->currentCompletion(), QStringLiteral("F#m7"));
    QVERIFY(completer->completionCount() >= 2);
    // Something the catalogue does not name shows no grips of another chord.
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("Xm7"));
    QCOMPARE(dialog->L_Anzahl->text(), QStringLiteral("Unbekannter Akkord"));
    QCOMPARE(dialog->LB_Griffe->count(), 0);
    QVERIFY(!dialog->B_Speichern->isEnabled());
    // German names and the flat spellings.
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("Hm"));
    QTRY_VERIFY(dialog->Gefuellt());
    QCOMPARE(dialog->Suche().Grundton(), 11);
    QVERIFY(rowOf(*dialog, "x24432") >= 0 && rowOf(*dialog, "x24432") < 3);
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("F#m7b5"));
    QTRY_VERIFY(dialog->Gefuellt());
    QCOMPARE(dialog->Suche().Grundton(), 6);
    QCOMPARE(dialog->Suche().Typ(), type("m7b5"));
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("B"));
    QTRY_VERIFY(dialog->Gefuellt());
    QCOMPARE(dialog->Suche().Grundton(), 10);
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("Gm"));
    QTRY_VERIFY(dialog->Gefuellt());
    QCOMPARE(dialog->Suche().Typ(), type("m"));
    QVERIFY(rowOf(*dialog, "355333") >= 0);
    // Every row is the chosen chord.
    for (int r = 0; r < dialog->Zeilen(); ++r) {
        QCOMPARE(int(dialog->GriffInZeile(r).Griff.Grundton), 7);
        QCOMPARE(dialog->GriffInZeile(r).Griff.AkkordTyp, type("m"));
    }
}

QTEST_MAIN(GriffeFindenTest)
#include "GriffeFindenTest.moc"
