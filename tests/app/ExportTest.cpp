#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QMenu>
#include <QScopeGuard>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSpinBox>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <cerrno>
#include <cstring>
#include <memory>

#include <sys/mount.h>
#include <sys/stat.h>

#include "app/MainForm.h"
#include "app/PaintBox.h"
#include "forms/DateiDialog.h"
#include "forms/GrifftabForm.h"
#include "forms/Statusleiste.h"
#include "render/DiagramExport.h"
#include "table/AkkordDepot.h"
#include "tests/app/ModalAnswers.h"
#include "tests/app/TestFenster.h"

namespace {

ModalAnswers::Step clickButton(const char* button, std::function<void(QWidget*)> before = nullptr)
{
    return [=](QWidget* dialog) {
        if (before)
            before(dialog);
        auto* ok = dialog->findChild<QPushButton*>(QString::fromLatin1(button));
        QVERIFY2(ok, button);
        ok->click();
    };
}

ModalAnswers::Step imageSize(int width, int height, int style = 0)
{
    return clickButton("B_Ok", [=](QWidget* dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("TF_Bildgroesse"));
        dialog->findChild<QSpinBox*>(QStringLiteral("E_Breite"))->setValue(width);
        dialog->findChild<QSpinBox*>(QStringLiteral("E_Hoehe"))->setValue(height);
        dialog->findChild<QComboBox*>(QStringLiteral("CB_Stil"))->setCurrentIndex(style);
    });
}

ModalAnswers::Step scope(const char* choice, int columns = 5)
{
    return clickButton("B_Ok", [=](QWidget* dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("TF_Umfang"));
        dialog->findChild<QRadioButton*>(QString::fromLatin1(choice))->setChecked(true);
        dialog->findChild<QSpinBox*>(QStringLiteral("E_Spalten"))->setValue(columns);
    });
}

// Types keys into the dialog as the user does, access keys included.
ModalAnswers::Step typeInto(QList<QPair<Qt::Key, Qt::KeyboardModifiers>> keys)
{
    return [=](QWidget* dialog) {
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        for (const auto& [key, modifiers] : keys)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog, key,
                            modifiers);
    };
}

ModalAnswers::Step cancelProgress()
{
    return [](QWidget* dialog) {
        auto* progress = qobject_cast<QProgressDialog*>(dialog);
        QVERIFY2(progress, qPrintable(dialog->metaObject()->className()));
        const auto buttons = progress->findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(buttons.first()->text(), QStringLiteral("Abbrechen"));
        buttons.first()->click();
    };
}

ModalAnswers::Step printInto(const QString& path, int fromPage = 0, int toPage = 0, int copies = 1)
{
    return [=](QWidget* dialog) {
        auto* print = qobject_cast<QPrintDialog*>(dialog);
        QVERIFY2(print, qPrintable(dialog->metaObject()->className()));
        QVERIFY(print->testOption(QAbstractPrintDialog::PrintPageRange));
        print->printer()->setOutputFormat(QPrinter::PdfFormat);
        print->printer()->setOutputFileName(path);
        if (fromPage > 0) {
            print->printer()->setPrintRange(QPrinter::PageRange);
            print->printer()->setFromTo(fromPage, toPage);
        }
        print->printer()->setCopyCount(copies);
        print->done(QDialog::Accepted);
    };
}

QString toolOutput(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(tool), arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& path)
{
    for (const QString& line : toolOutput(QStringLiteral("pdfinfo"), {path}).split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

} // namespace

class ExportTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menuItemsSitInTheFileMenu();
    void imageExportWritesTheChosenSizeAndFormat_data();
    void imageExportWritesTheChosenSizeAndFormat();
    void cancelledDialogsWriteNothing();
    void unwritableImageNamesFileAndReason();
    void ctrlCCopiesTheBoard();
    void pdfOfTheChordChosenInTheChordTable();
    void cancelledPdfExportLeavesNoFile();
    void printingGoesThroughThePrintDialog();
    void altAThenReturnPrintsOnlyTheChord();
    void printingHonoursThePageRangeAndCopies();
    void cancelledPrintLeavesNoFile();
    void emptyTableHasNothingToPrint();
    void exportsNeverReplaceAChordTableOrADevice_data();
    void exportsNeverReplaceAChordTableOrADevice();
    void cancelledPrintKeepsAnExistingPdf();
    void fullDiskKeepsTheOldFileAndSaysWhy_data();
    void fullDiskKeepsTheOldFileAndSaysWhy();
    void silentGripIsNoSound();
    void dialogsComeAboveTheChordTable();

private:
    QAction* item(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    // Shows the chord-table window with C major chosen; the grips of that chord.
    int chooseCMajor();
    // Pages of a sheet of grips in the window's table.
    int pagesFor(int grips, int columns = 5);
    void answerSave(const QString& path, int filter = 0);
    // Answers the first save dialog with path and cancels every later one.
    void answerSaveOnce(const QString& path, int filter = 0);
    // Runs the export or print command, answering its own dialogs; target for the file it asks.
    void exportRun(const QString& command, const QString& target);

    std::unique_ptr<TestFenster> f;
    TF_Main* window = nullptr;
    int saveDialogs = 0;
};

void ExportTest::init()
{
    f = std::make_unique<TestFenster>();
    window = &f->start();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    saveDialogs = 0;
}

void ExportTest::cleanup()
{
    SetzeDateiDialogAntwort(nullptr);
    f.reset();
    window = nullptr;
}

void ExportTest::answerSave(const QString& path, int filter)
{
    SetzeDateiDialogAntwort([this, path, filter](const DateiDialogAnfrage& anfrage) {
        ++saveDialogs;
        if (anfrage.gewaehlterFilter)
            *anfrage.gewaehlterFilter = anfrage.filter.split(QStringLiteral(";;")).value(filter);
        return path;
    });
}

void ExportTest::answerSaveOnce(const QString& path, int filter)
{
    SetzeDateiDialogAntwort([this, path, filter](const DateiDialogAnfrage& anfrage) {
        if (anfrage.gewaehlterFilter)
            *anfrage.gewaehlterFilter = anfrage.filter.split(QStringLiteral(";;")).value(filter);
        return saveDialogs++ == 0 ? path : QString();
    });
}

void ExportTest::exportRun(const QString& command, const QString& target)
{
    chooseCMajor();
    if (command == QStringLiteral("MI_Drucken")) {
        ModalAnswers answers({scope("RB_Tabelle"), printInto(target),
                              [](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); }});
        item("MI_Drucken")->trigger();
        QVERIFY2(answers.left() <= 1, "the print dialog was not shown");
        return;
    }
    answerSaveOnce(target, command == QStringLiteral("svg") ? 1 : 0);
    if (command == QStringLiteral("MI_GrifftabellePdf")) {
        ModalAnswers answers({scope("RB_Akkord")});
        item("MI_GrifftabellePdf")->trigger();
    } else if (command == QStringLiteral("MI_KlangWav")) {
        item("MI_KlangWav")->trigger();
    } else {
        ModalAnswers answers({imageSize(64, 64)});
        item("MI_DiagrammExport")->trigger();
    }
}

int ExportTest::chooseCMajor()
{
    TrefferClass chord;
    chord.Grundton = 0;
    chord.AkkordTyp = 0;
    chord.GriffIndex = 0;
    window->grifftabFenster()->AuswahlSetzen(chord);
    if (window->dokument().GriffHolen(0, 0, false, 0) >= 0)
        window->NachHolenAktualisieren();
    return int(DiagramExport(window->dokument()).select(0, 0).size());
}

int ExportTest::pagesFor(int grips, int columns)
{
    ChordSheet::Layout layout;
    layout.spalten = columns;
    return DiagramExport(window->dokument()).sheet(layout, QString()).pageCount(grips);
}

void ExportTest::menuItemsSitInTheFileMenu()
{
    auto* datei = window->findChild<QMenu*>(QStringLiteral("MI_Datei"));
    auto* exportieren = window->findChild<QMenu*>(QStringLiteral("MI_Exportieren"));
    QVERIFY(datei && exportieren);
    const QList<QAction*> fileItems = datei->actions();
    const int saveAs = int(fileItems.indexOf(item("MI_SpeichernAls")));
    QVERIFY(saveAs >= 0);
    QCOMPARE(fileItems.value(saveAs + 1), exportieren->menuAction());
    QCOMPARE(exportieren->title(), QStringLiteral("&Exportieren"));
    // Printing follows the export and import submenus and the song sheet.
    const int drucken = int(fileItems.indexOf(item("MI_Drucken")));
    QVERIFY(drucken > saveAs + 1 && drucken <= saveAs + 4);
    QCOMPARE(item("MI_Drucken")->text(), QStringLiteral("&Drucken..."));
    QCOMPARE(item("MI_Drucken")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));

    const QList<QAction*> exportItems = exportieren->actions();
    QCOMPARE(exportItems.value(0), item("MI_DiagrammExport"));
    QCOMPARE(exportItems.value(1), item("MI_GrifftabellePdf"));
    QCOMPARE(item("MI_DiagrammExport")->text(), QStringLiteral("Diagramm als &Bild..."));
    QCOMPARE(item("MI_GrifftabellePdf")->text(), QStringLiteral("Grifftabelle als &PDF..."));
    QVERIFY(exportItems.contains(item("MI_Kopieren")));
    QCOMPARE(item("MI_Kopieren")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    for (const char* name : {"MI_DiagrammExport", "MI_GrifftabellePdf", "MI_Kopieren", "MI_Drucken"})
        QVERIFY2(!item(name)->statusTip().isEmpty(), name);
}

void ExportTest::imageExportWritesTheChosenSizeAndFormat_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("style");
    QTest::newRow("png by its filter") << 0 << QStringLiteral("bild") << QStringLiteral("bild.png") << 0;
    QTest::newRow("svg by its filter") << 1 << QStringLiteral("bild") << QStringLiteral("bild.svg") << 0;
    QTest::newRow("svg by its name") << 0 << QStringLiteral("bild.svg") << QStringLiteral("bild.svg") << 0;
    QTest::newRow("svg of the board") << 1 << QStringLiteral("brett") << QStringLiteral("brett.svg") << 1;
}

void ExportTest::imageExportWritesTheChosenSizeAndFormat()
{
    QFETCH(int, filter);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(int, style);
    chooseCMajor();
    const QString chord = window->statusleiste()->panelText(0);
    answerSave(f->file(typed), filter);
    ModalAnswers answers({imageSize(320, 240, style)});
    item("MI_DiagrammExport")->trigger();
    QCOMPARE(answers.left(), 0);
    QCOMPARE(saveDialogs, 1);
    const QString path = f->file(written);
    QVERIFY2(QFile::exists(path), qPrintable(path));
    if (written.endsWith(QStringLiteral(".png"))) {
        QCOMPARE(QImage(path).size(), QSize(320, 240));
    } else {
        QSvgRenderer svg(path);
        QVERIFY(svg.isValid());
        QCOMPARE(svg.defaultSize(), QSize(320, 240));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (!chord.isEmpty())
            QVERIFY2(bytes.contains(QStringLiteral(">%1</text>").arg(chord).toUtf8()), qPrintable(chord));
        // Only the horizontal board has the label "1.Bund"; the box has its nut.
        QCOMPARE(bytes.contains("Bund</text>"), style == 1);
    }
    // The size is offered again next time.
    QVERIFY2(f->iniText().contains(QStringLiteral("Bildbreite=320")), qPrintable(f->iniText()));
    ModalAnswers again({clickButton("B_Abbruch", [style](QWidget* dialog) {
        QCOMPARE(dialog->findChild<QSpinBox*>(QStringLiteral("E_Breite"))->value(), 320);
        QCOMPARE(dialog->findChild<QSpinBox*>(QStringLiteral("E_Hoehe"))->value(), 240);
        QCOMPARE(dialog->findChild<QComboBox*>(QStringLiteral("CB_Stil"))->currentIndex(), style);
    })});
    item("MI_DiagrammExport")->trigger();
    QCOMPARE(again.left(), 0);
}

void ExportTest::cancelledDialogsWriteNothing()
{
    const QStringList before = QDir(f->file(QString())).entryList(QDir::Files);
    answerSave(f->file(QStringLiteral("nie.png")));
    {
        ModalAnswers answers({clickButton("B_Abbruch")});
        item("MI_DiagrammExport")->trigger();
        QCOMPARE(answers.left(), 0);
    }
    QCOMPARE(saveDialogs, 0);
    {
        ModalAnswers answers({clickButton("B_Abbruch")});
        item("MI_GrifftabellePdf")->trigger();
        QCOMPARE(answers.left(), 0);
    }
    QCOMPARE(saveDialogs, 0);
    // A cancelled save dialog.
    answerSave(QString());
    {
        ModalAnswers answers({imageSize(400, 400)});
        item("MI_DiagrammExport")->trigger();
    }
    QCOMPARE(saveDialogs, 1);
    QStringList after = QDir(f->file(QString())).entryList(QDir::Files);
    after.removeAll(QStringLiteral("Zupfwerk.ini"));
    QStringList expected = before;
    expected.removeAll(QStringLiteral("Zupfwerk.ini"));
    QCOMPARE(after, expected);
    QVERIFY(f->asked.isEmpty());
}

void ExportTest::unwritableImageNamesFileAndReason()
{
    const QString path = f->file(QStringLiteral("fehlt/bild.png"));
    answerSave(path);
    ModalAnswers answers({imageSize(400, 400)});
    item("MI_DiagrammExport")->trigger();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked.first().symbol, 1);
    QVERIFY2(f->asked.first().meldung.contains(path), qPrintable(f->asked.first().meldung));
    QVERIFY(f->asked.first().meldung.contains(QStringLiteral("konnte nicht geschrieben werden")));
    QVERIFY2(f->asked.first().meldung.contains(QStringLiteral("Der Ordner existiert nicht.")),
             qPrintable(f->asked.first().meldung));
    QVERIFY(!QFile::exists(path));
}

void ExportTest::ctrlCCopiesTheBoard()
{
    QApplication::clipboard()->clear();
    window->activateWindow();
    QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QApplication::clipboard()->image();
    QVERIFY2(!copied.isNull(), "Ctrl+C left no image on the clipboard");
    // The picture "Diagramm als Bild" offers, at its size.
    QCOMPARE(copied.size(), QSize(400, 400));
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Diagramm in die Zwischenablage kopiert"));
}

void ExportTest::pdfOfTheChordChosenInTheChordTable()
{
    const int grips = chooseCMajor();
    QVERIFY(grips > 0);
    const QString path = f->file(QStringLiteral("c.pdf"));
    answerSave(path);
    QStringList offered;
    ModalAnswers answers({scope("RB_Akkord")});
    // The choices name what they hold.
    QTimer::singleShot(0, this, [&offered] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            for (const char* name : {"RB_Tabelle", "RB_Grundton", "RB_Akkord"})
                offered << dialog->findChild<QRadioButton*>(QString::fromLatin1(name))->text();
        }
    });
    item("MI_GrifftabellePdf")->trigger();
    QCOMPARE(answers.left(), 0);
    QCOMPARE(saveDialogs, 1);
    QCOMPARE(offered.size(), 3);
    QVERIFY2(offered.value(0).startsWith(QStringLiteral("&Ganze Grifftabelle (")),
             qPrintable(offered.value(0)));
    QVERIFY2(offered.value(1).startsWith(QStringLiteral("G&rundton C (")), qPrintable(offered.value(1)));
    QCOMPARE(offered.value(2), QStringLiteral("&Akkord C (%1 Griffe)").arg(grips));
    QCOMPARE(pdfPages(path), pagesFor(grips));
    const QString text = toolOutput(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    QVERIFY(text.contains(QStringLiteral("Gitarre")));
    QVERIFY(text.contains(QStringLiteral("Stimmung: E-A-D-G-H-E")));
    QVERIFY2(text.contains(QStringLiteral("Akkord C, %1 Griffe").arg(grips)), qPrintable(text.left(300)));
    QVERIFY(text.contains(QStringLiteral("Seite 1 von 1")));
    // Every box is named; none carries a second fret label.
    QVERIFY2(text.count(QStringLiteral("C")) >= grips, qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("Bund")));
}

void ExportTest::cancelledPdfExportLeavesNoFile()
{
    const QString path = f->file(QStringLiteral("abgebrochen.pdf"));
    answerSave(path);
    ModalAnswers answers({scope("RB_Tabelle"), cancelProgress()});
    item("MI_GrifftabellePdf")->trigger();
    QCOMPARE(answers.left(), 0);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Export abgebrochen"));
    QVERIFY(f->asked.isEmpty());
    QStringList leftovers =
        QDir(f->file(QString())).entryList({QStringLiteral("*abgebrochen*")}, QDir::Files | QDir::Hidden);
    QCOMPARE(leftovers, QStringList());
}

void ExportTest::printingGoesThroughThePrintDialog()
{
    const int grips = chooseCMajor();
    const QString path = f->file(QStringLiteral("gedruckt.pdf"));
    ModalAnswers answers({scope("RB_Akkord"), printInto(path)});
    QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(answers.left(), 0);
    QCOMPARE(pdfPages(path), pagesFor(grips));
    QVERIFY(window->statusleiste()->panelText(3).startsWith(QStringLiteral("Griffblatt gedruckt")));
}

void ExportTest::altAThenReturnPrintsOnlyTheChord()
{
    const int grips = chooseCMajor();
    QVERIFY(grips > 0 && grips < window->dokument().Anzahl());
    const QString path = f->file(QStringLiteral("nur-c.pdf"));
    QStringList keys;
    ModalAnswers answers(
        {[&keys](QWidget* dialog) {
             for (auto* button : dialog->findChildren<QAbstractButton*>())
                 keys << button->text();
             // Away from the chord first, so that only the access key can bring it back.
             dialog->findChild<QRadioButton*>(QStringLiteral("RB_Tabelle"))->setChecked(true);
             typeInto({{Qt::Key_A, Qt::AltModifier}, {Qt::Key_Return, Qt::NoModifier}})(dialog);
         },
         printInto(path)});
    item("MI_Drucken")->trigger();
    QCOMPARE(answers.left(), 0);
    // No two buttons share their access key.
    QStringList mnemonics;
    for (const QString& text : keys) {
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        if (amp >= 0)
            mnemonics << text.mid(amp + 1, 1).toLower();
    }
    QCOMPARE(QSet<QString>(mnemonics.begin(), mnemonics.end()).size(), mnemonics.size());
    QCOMPARE(pdfPages(path), pagesFor(grips));
    const QString text = toolOutput(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    QVERIFY2(text.contains(QStringLiteral("Akkord C, %1 Griffe").arg(grips)), qPrintable(text.left(300)));
    QVERIFY(window->statusleiste()->panelText(3).endsWith(QStringLiteral("%1 Griffe").arg(grips)));

    // Return alone takes the narrowest choice offered: the chord chosen in the chord-table window.
    const QString again = f->file(QStringLiteral("return.pdf"));
    ModalAnswers returnOnly({typeInto({{Qt::Key_Return, Qt::NoModifier}}), printInto(again)});
    item("MI_Drucken")->trigger();
    QCOMPARE(returnOnly.left(), 0);
    QCOMPARE(pdfPages(again), pagesFor(grips));
}

void ExportTest::printingHonoursThePageRangeAndCopies()
{
    const int grips = window->dokument().Anzahl();
    const int pages = pagesFor(grips, 8);
    QVERIFY(pages > 3);
    const QString path = f->file(QStringLiteral("seiten.pdf"));
    ModalAnswers answers({scope("RB_Tabelle", 8), printInto(path, 2, 3)});
    item("MI_Drucken")->trigger();
    QCOMPARE(answers.left(), 0);
    QCOMPARE(pdfPages(path), 2);
    const QString text = toolOutput(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    QVERIFY(text.contains(QStringLiteral("Seite 2 von %1").arg(pages)));
    QVERIFY(text.contains(QStringLiteral("Seite 3 von %1").arg(pages)));
    QVERIFY(!text.contains(QStringLiteral("Seite 1 von")));
    QVERIFY(text.contains(QStringLiteral("Ganze Grifftabelle, %1 Griffe").arg(grips)));

    // Two copies of page 2.
    const QString copies = f->file(QStringLiteral("kopien.pdf"));
    ModalAnswers twice({scope("RB_Tabelle", 8), printInto(copies, 2, 2, 2)});
    item("MI_Drucken")->trigger();
    QCOMPARE(twice.left(), 0);
    QCOMPARE(pdfPages(copies), 2);
}

void ExportTest::cancelledPrintLeavesNoFile()
{
    const QString path = f->file(QStringLiteral("nicht-gedruckt.pdf"));
    ModalAnswers answers({scope("RB_Tabelle"), printInto(path), cancelProgress()});
    item("MI_Drucken")->trigger();
    QCOMPARE(answers.left(), 0);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Drucken abgebrochen"));

    // A print dialog closed without printing prints nothing.
    ModalAnswers closed(
        {scope("RB_Tabelle"), [](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); }});
    item("MI_Drucken")->trigger();
    QCOMPARE(closed.left(), 0);
}

void ExportTest::emptyTableHasNothingToPrint()
{
    window->dokument().Zuruecksetzen(false);
    answerSave(f->file(QStringLiteral("leer.pdf")));
    item("MI_GrifftabellePdf")->trigger();
    item("MI_Drucken")->trigger();
    QCOMPARE(f->asked.size(), 2);
    QCOMPARE(f->asked.first().meldung, QStringLiteral("Die Grifftabelle enthält keine Griffe."));
    QCOMPARE(f->asked.first().titel, QStringLiteral("Grifftabelle als PDF"));
    QCOMPARE(f->asked.last().titel, QStringLiteral("Drucken"));
    QCOMPARE(saveDialogs, 0);
    QVERIFY(!QFile::exists(f->file(QStringLiteral("leer.pdf"))));
}

void ExportTest::exportsNeverReplaceAChordTableOrADevice_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("target"); // in the test's folder, or an absolute path
    QTest::addColumn<QString>("reason");
    const struct
    {
        const char* name;
        const char* target;
        const char* reason;
    } targets[] = {
        {"the open table", "Gitarre, E-A-D-G-H-E.cho", "ist die geöffnete Grifftabelle"},
        {"a link to the open table", "verweis.png", "ist die geöffnete Grifftabelle"},
        {"another table", "andere.cho", "ist eine Grifftabelle"},
        {"a table of the old format", "alt.pdf", "ist eine Grifftabelle"},
        {"a pipe", "rohr.pipe", "keine gewöhnliche Datei"},
        {"a link to a device", "geraet.png", "keine gewöhnliche Datei"},
    };
    for (const char* command :
         {"MI_DiagrammExport", "svg", "MI_GrifftabellePdf", "MI_KlangWav", "MI_Drucken"}) {
        for (const auto& target : targets)
            QTest::addRow("%s onto %s", command, target.name)
                << QString::fromLatin1(command) << QString::fromUtf8(target.target)
                << QString::fromUtf8(target.reason);
    }
}

void ExportTest::exportsNeverReplaceAChordTableOrADevice()
{
    QFETCH(QString, command);
    QFETCH(QString, target);
    QFETCH(QString, reason);
    const QString table = f->file(defaultTableName);
    QCOMPARE(window->dateiName(), table);
    QVERIFY(QFile::copy(table, f->file(QStringLiteral("andere.cho"))));
    QVERIFY(QFile::link(table, f->file(QStringLiteral("verweis.png"))));
    {
        QFile old(f->file(QStringLiteral("alt.pdf")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray("ZW01\0", 5) + QByteArray(300, '\1'));
    }
    QCOMPARE(::mkfifo(QFile::encodeName(f->file(QStringLiteral("rohr.pipe"))).constData(), 0600), 0);
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), f->file(QStringLiteral("geraet.png"))));
    const auto contents = [this] {
        QMap<QString, QByteArray> files;
        for (const QString& name :
             QDir(f->file(QString())).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            QFile file(f->file(name));
            if (name == QStringLiteral("rohr.pipe") || name == QStringLiteral("geraet.png"))
                files[name] = "a pipe, not read";
            else if (file.open(QIODevice::ReadOnly))
                files[name] = file.readAll();
        }
        return files;
    };
    const QMap<QString, QByteArray> before = contents();
    exportRun(command, f->file(target));

    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked.first().symbol, 1);
    QVERIFY2(f->asked.first().meldung.contains(reason), qPrintable(f->asked.first().meldung));
    QVERIFY2(f->asked.first().meldung.contains(QStringLiteral("anderen Namen")),
             qPrintable(f->asked.first().meldung));
    // The dialog came again for another name.
    if (command != QStringLiteral("MI_Drucken"))
        QCOMPARE(saveDialogs, 2);
    QMap<QString, QByteArray> after = contents();
    after.remove(QStringLiteral("Zupfwerk.ini"));
    QMap<QString, QByteArray> expected = before;
    expected.remove(QStringLiteral("Zupfwerk.ini"));
    QCOMPARE(after.keys(), expected.keys());
    for (auto file = expected.cbegin(); file != expected.cend(); ++file)
        QVERIFY2(after.value(file.key()) == file.value(), qPrintable(file.key()));
    QVERIFY(!QFileInfo(QStringLiteral("/dev/null")).isFile());
    QVERIFY(QFileInfo(f->file(QStringLiteral("geraet.png"))).isSymLink());
    QVERIFY(!window->isWindowModified());
}

void ExportTest::cancelledPrintKeepsAnExistingPdf()
{
    const QString path = f->file(QStringLiteral("vorher.pdf"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("%PDF-1.4 the sheet printed before\n");
    }
    const QStringList folder = QDir(f->file(QString())).entryList(QDir::Files | QDir::Hidden);
    ModalAnswers answers({scope("RB_Tabelle"), printInto(path), cancelProgress()});
    item("MI_Drucken")->trigger();
    QCOMPARE(answers.left(), 0);
    QFile kept(path);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("%PDF-1.4 the sheet printed before\n"));
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Drucken abgebrochen"));
    QCOMPARE(QDir(f->file(QString())).entryList(QDir::Files | QDir::Hidden), folder);
    QVERIFY(f->asked.isEmpty());
}

void ExportTest::fullDiskKeepsTheOldFileAndSaysWhy_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("name");
    QTest::newRow("png") << QStringLiteral("MI_DiagrammExport") << QStringLiteral("bild.png");
    QTest::newRow("wav") << QStringLiteral("MI_KlangWav") << QStringLiteral("klang.wav");
    QTest::newRow("pdf") << QStringLiteral("MI_GrifftabellePdf") << QStringLiteral("blatt.pdf");
}

void ExportTest::fullDiskKeepsTheOldFileAndSaysWhy()
{
    QFETCH(QString, command);
    QFETCH(QString, name);
    const QString mountPoint = f->file(QStringLiteral("klein"));
    QVERIFY(QDir().mkpath(mountPoint));
    if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=256k") != 0)
        QSKIP(qPrintable(QStringLiteral("no small tmpfs could be mounted here (%1)")
                             .arg(QString::fromLocal8Bit(std::strerror(errno)))));
    const auto unmount = qScopeGuard([&] { ::umount(QFile::encodeName(mountPoint).constData()); });
    const QString path = mountPoint + QLatin1Char('/') + name;
    const QByteArray old("the file exported before");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    {
        // Everything else the file system can hold.
        QFile filler(mountPoint + QStringLiteral("/fueller"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
    }
    exportRun(command, path);
    // The question whether to replace the old file, then the failure with its reason.
    QCOMPARE(f->asked.size(), 2);
    QCOMPARE(f->asked.first().symbol, 2);
    QCOMPARE(f->asked.last().symbol, 1);
    QVERIFY2(f->asked.last().meldung.contains(QStringLiteral("Der Datenträger ist voll.")),
             qPrintable(f->asked.last().meldung));
    QVERIFY2(f->asked.last().meldung.contains(path), qPrintable(f->asked.last().meldung));
    QFile kept(path);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), old);
    QStringList expected{QStringLiteral("fueller"), name};
    expected.sort();
    QCOMPARE(QDir(mountPoint).entryList(QDir::Files | QDir::Hidden), expected);
}

void ExportTest::silentGripIsNoSound()
{
    setGrip(window->dokument(), "xxxxxx", "xxxxxx");
    window->NachAenderungAktualisieren();
    answerSave(f->file(QStringLiteral("stumm.wav")));
    item("MI_KlangWav")->trigger();
    QCOMPARE(saveDialogs, 0);
    QCOMPARE(f->asked.size(), 1);
    QVERIFY2(f->asked.first().meldung.contains(QStringLiteral("keine Saite")),
             qPrintable(f->asked.first().meldung));
    QVERIFY(!QFile::exists(f->file(QStringLiteral("stumm.wav"))));
}

void ExportTest::dialogsComeAboveTheChordTable()
{
    QWidget* table = window->grifftabFenster();
    QVERIFY(table && table->isVisible());
    QVERIFY(table->windowFlags() & Qt::WindowStaysOnTopHint);
    QStringList seen;
    const auto onTop = [&seen](QWidget* dialog) {
        seen << dialog->metaObject()->className();
        QVERIFY2(dialog->windowFlags() & Qt::WindowStaysOnTopHint, dialog->metaObject()->className());
        QVERIFY2(dialog->windowHandle() && (dialog->windowHandle()->flags() & Qt::WindowStaysOnTopHint),
                 dialog->metaObject()->className());
    };
    const auto closeIt = [&onTop](QWidget* dialog) {
        onTop(dialog);
        qobject_cast<QDialog*>(dialog)->reject();
    };
    // The real boxes and dialogs, not the tests' answers.
    SetzeMeldungsAntwort(nullptr);
    const auto restore = qScopeGuard([this] {
        SetzeMeldungsAntwort([this](const MeldungsAnfrage& anfrage) {
            f->asked << anfrage;
            return 6;
        });
    });
    chooseCMajor();
    {
        ModalAnswers answers({closeIt});
        item("MI_DiagrammExport")->trigger();
        QCOMPARE(answers.left(), 0);
    }
    {
        ModalAnswers answers({clickButton("B_Ok", onTop), closeIt});
        item("MI_DiagrammExport")->trigger(); // size, then the real file dialog
        QCOMPARE(answers.left(), 0);
    }
    {
        ModalAnswers answers({clickButton("B_Ok", onTop), closeIt});
        item("MI_Drucken")->trigger(); // scope, then the print dialog
        QCOMPARE(answers.left(), 0);
    }
    setGrip(window->dokument(), "xxxxxx", "xxxxxx");
    window->NachAenderungAktualisieren();
    {
        ModalAnswers answers({closeIt});
        item("MI_KlangWav")->trigger(); // the program's own message box
        QCOMPARE(answers.left(), 0);
    }
    QCOMPARE(seen, QStringList({"QDialog", "QDialog", "QFileDialog", "QDialog", "QPrintDialog", "TF_Msg"}));
}

QTEST_MAIN(ExportTest)
#include "ExportTest.moc"
