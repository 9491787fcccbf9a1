#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include <sys/stat.h>

#include "app/MainForm.h"
#include "forms/DateiDialog.h"
#include "render/DiagramExport.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"
#include "tests/app/TestFenster.h"
#include "tests/support/TestTabelle.h"

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runExport(const QStringList& arguments)
{
    QProcess process;
    // As from a cron job or a build script: no display, no runtime folder.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ZW_EXPORT_PROGRAM), arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int pdfPages(const QString& path)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(QStringLiteral("pdfinfo")), {path});
    process.waitForFinished(30000);
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

} // namespace

class ExportCliTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void helpPrintsTheUsage();
    void badInputsWriteNothing_data();
    void badInputsWriteNothing();
    void svgNamesTheChord();
    void sheetsHaveTheirPages_data();
    void sheetsHaveTheirPages();
    void pngEqualsTheWindowsExport_data();
    void pngEqualsTheWindowsExport();

private:
    // The folder's files apart from the inputs made by init.
    QStringList outputs() const;

    std::unique_ptr<QTemporaryDir> dir;
    QString table;
};

void ExportCliTest::initTestCase()
{
    QVERIFY2(QFile::exists(QStringLiteral(ZW_EXPORT_PROGRAM)), ZW_EXPORT_PROGRAM);
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty(),
             "pdfinfo is missing: scripts/setup.sh installs poppler-utils");
}

void ExportCliTest::init()
{
    dir = std::make_unique<QTemporaryDir>();
    table = dir->filePath(QStringLiteral("gitarre.cho"));
    QVERIFY(QFile::copy(QStringLiteral(ZW_DEFAULT_TABLE), table));
    const QByteArray bytes = readBytes(table);
    writeBytes(dir->filePath(QStringLiteral("kaputt.cho")), bytes.left(bytes.size() / 2));
    writeBytes(dir->filePath(QStringLiteral("text.cho")), "Am7 x02010\n");
    writeBytes(dir->filePath(QStringLiteral("alt.cho")), QByteArray("ZW01", 5) + QByteArray(300, '\1'));
    QCOMPARE(::mkfifo(QFile::encodeName(dir->filePath(QStringLiteral("rohr"))).constData(), 0600), 0);
    // Reading it would wait for a writer for good.
    QCOMPARE(::mkfifo(dir->filePath(QStringLiteral("pipe.cho")).toLocal8Bit().constData(), 0666), 0);
    // Major, minor, 7 and m7, with grips of C major only; and a table without grips.
    auto small = tableWithCatalogue();
    small->SetzeText(0, "Gitarre");
    setGrip(*small, "x32010", 0, 0);
    small->GriffAufnehmen();
    QVERIFY(small->Speichern(dir->filePath(QStringLiteral("nur-c.cho")).toStdString()));
    small->Zuruecksetzen(false);
    QVERIFY(small->Speichern(dir->filePath(QStringLiteral("leer.cho")).toStdString()));
}

QStringList ExportCliTest::outputs() const
{
    QStringList files =
        QDir(dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const char* input :
         {"gitarre.cho", "kaputt.cho", "text.cho", "alt.cho", "nur-c.cho", "leer.cho", "pipe.cho", "rohr"})
        files.removeAll(QString::fromLatin1(input));
    return files;
}

void ExportCliTest::helpPrintsTheUsage()
{
    const Run run = runExport({QStringLiteral("--help")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(QStringLiteral("Aufruf: zupfwerk-export GRIFFTABELLE.cho")),
             qPrintable(run.out));
    QVERIFY(run.out.contains(QStringLiteral("--format png|svg|pdf")));
}

void ExportCliTest::badInputsWriteNothing_data()
{
    QTest::addColumn<QStringList>("arguments"); // "@" stands for the folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, QStringList arguments, int code, const char* message) {
        QTest::newRow(name) << arguments << code << QString::fromUtf8(message);
    };
    row("no arguments", {}, 1, "keine Grifftabelle angegeben");
    row("unknown option", {"@/gitarre.cho", "--chord", "C", "-o", "@/c.png", "--farbe"}, 1,
        "unbekannte Option \"--farbe\"");
    row("bad size", {"@/gitarre.cho", "--chord", "C", "-o", "@/c.png", "--size", "0"}, 1,
        "Größe \"0\" ungültig");
    row("unknown format", {"@/gitarre.cho", "--chord", "C", "-o", "@/c.gif"}, 1, "Format von");
    row("image of the whole table", {"@/gitarre.cho", "--all", "-o", "@/alle.png"}, 1, "nur als pdf");
    row("output is the table", {"@/gitarre.cho", "--all", "-o", "@/gitarre.cho", "--format", "pdf"}, 1,
        "ist die Grifftabelle");
    row("missing table", {"@/fehlt.cho", "--chord", "C", "-o", "@/c.png"}, 2, "nicht gefunden");
    row("folder as table", {"@", "--chord", "C", "-o", "@/c.png"}, 2, "ist ein Ordner, keine Datei");
    row("pipe as table", {"@/pipe.cho", "--chord", "C", "-o", "@/c.png"}, 2, "ist eine benannte Pipe, keine Datei");
    row("device as table", {"/dev/zero", "--chord", "C", "-o", "@/c.png"}, 2, "ist ein Gerät, keine Datei");
    row("damaged table", {"@/kaputt.cho", "--chord", "C", "-o", "@/c.png"}, 2, "beschädigt");
    row("not a table", {"@/text.cho", "--chord", "C", "-o", "@/c.png"}, 2, "keine Grifftabelle von Zupfwerk");
    row("old format", {"@/alt.cho", "--chord", "C", "-o", "@/c.png"}, 2, "alten Format");
    row("unknown chord", {"@/gitarre.cho", "--chord", "Cmaj13#5", "-o", "@/c.svg"}, 3,
        "Akkord \"Cmaj13#5\" unbekannt");
    row("unknown root", {"@/gitarre.cho", "--root", "Q", "-o", "@/q.pdf"}, 3, "Grundton \"Q\" unbekannt");
    row("no grips of the chord", {"@/nur-c.cho", "--chord", "Dm", "-o", "@/dm.png"}, 4,
        "keine gespeicherten Griffe für den Akkord \"Dm\"");
    row("no grips on the root", {"@/nur-c.cho", "--root", "Eb", "-o", "@/es.pdf"}, 4,
        "keine gespeicherten Griffe für den Grundton \"Eb\"");
    row("empty table", {"@/leer.cho", "--all", "-o", "@/leer.pdf"}, 4,
        "keine gespeicherten Griffe für die Grifftabelle");
    row("missing folder", {"@/gitarre.cho", "--chord", "Am7", "-o", "@/fehlt/am7.png"}, 5,
        "Die Datei '@/fehlt/am7.png' konnte nicht geschrieben werden. Der Ordner existiert nicht.");
    row("folder as output", {"@/gitarre.cho", "--all", "-o", "@", "--format", "pdf"}, 5,
        "keine gewöhnliche Datei");
    row("another chord table as output", {"@/gitarre.cho", "--all", "-o", "@/nur-c.cho", "--format", "pdf"},
        5, "ist eine Grifftabelle und wird nicht überschrieben");
    row("old chord table as output", {"@/gitarre.cho", "--chord", "C", "-o", "@/alt.cho", "--format", "png"},
        5, "ist eine Grifftabelle");
    row("device as output", {"@/gitarre.cho", "--chord", "C", "-o", "/dev/null", "--format", "png"}, 5,
        "keine gewöhnliche Datei");
    row("pipe as output", {"@/gitarre.cho", "--chord", "C", "-o", "@/rohr", "--format", "svg"}, 5,
        "keine gewöhnliche Datei");
}

void ExportCliTest::badInputsWriteNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    arguments.replaceInStrings(QStringLiteral("@"), dir->path());
    message.replace(QStringLiteral("@"), dir->path());
    QMap<QString, QByteArray> tables;
    for (const char* name : {"gitarre.cho", "alt.cho", "nur-c.cho"})
        tables[QString::fromLatin1(name)] = readBytes(dir->filePath(QString::fromLatin1(name)));
    const Run run = runExport(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.startsWith(QStringLiteral("zupfwerk-export: ")) && run.err.contains(message),
             qPrintable(run.err));
    // Its own message and nothing else: no line of Qt's.
    for (const QString& line : run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        QVERIFY2(line.startsWith(QStringLiteral("zupfwerk-export: ")) ||
                     line.startsWith(QStringLiteral("Hilfe: ")),
                 qPrintable(line));
    QVERIFY2(run.out.isEmpty(), qPrintable(run.out));
    QCOMPARE(outputs(), QStringList());
    for (auto table = tables.cbegin(); table != tables.cend(); ++table)
        QVERIFY2(readBytes(dir->filePath(table.key())) == table.value(), qPrintable(table.key()));
    QVERIFY(QFileInfo(QStringLiteral("/dev/null")).exists() &&
            !QFileInfo(QStringLiteral("/dev/null")).isFile());
}

void ExportCliTest::svgNamesTheChord()
{
    const QString path = dir->filePath(QStringLiteral("bm.svg"));
    const Run run = runExport({table, QStringLiteral("--chord"), QStringLiteral("Bm"), QStringLiteral("-o"),
                               path, QStringLiteral("--size"), QStringLiteral("300x360")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    const QByteArray svg = readBytes(path);
    // The table names the note below H "A#": that is the name the diagram shows.
    QVERIFY2(svg.contains(">A#m</text>"), svg.left(600).constData());
    QVERIFY(svg.contains("<svg width=\"300\" height=\"360\""));
}

void ExportCliTest::sheetsHaveTheirPages_data()
{
    QTest::addColumn<QStringList>("selection");
    QTest::addColumn<int>("grundton");
    QTest::addColumn<int>("akkordTyp");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one chord") << QStringList{QStringLiteral("--chord"), QStringLiteral("C")} << 0 << 0 << 5
                               << QStringLiteral("Akkord C, ");
    QTest::newRow("one root") << QStringList{QStringLiteral("--root"), QStringLiteral("Db")} << 1 << -1 << 5
                              << QStringLiteral("Grundton C#, ");
    QTest::newRow("whole table") << QStringList{QStringLiteral("--all")} << -1 << -1 << 5
                                 << QStringLiteral("Ganze Grifftabelle, ");
    QTest::newRow("three columns") << QStringList{QStringLiteral("--all"), QStringLiteral("--spalten"),
                                                  QStringLiteral("3")}
                                   << -1 << -1 << 3 << QStringLiteral("Ganze Grifftabelle, ");
    QTest::newRow("eight columns of boards")
        << QStringList{QStringLiteral("--all"), QStringLiteral("--spalten=8"), QStringLiteral("--stil"),
                       QStringLiteral("griffbrett")}
        << -1 << -1 << 8 << QStringLiteral("Ganze Grifftabelle, ");
}

void ExportCliTest::sheetsHaveTheirPages()
{
    QFETCH(QStringList, selection);
    QFETCH(int, grundton);
    QFETCH(int, akkordTyp);
    QFETCH(int, columns);
    QFETCH(QString, shown);
    const auto doc = std::make_unique<AkkordDepotClass>();
    QCOMPARE(doc->Laden(table.toStdString()), int(LadenOk));
    const DiagramExport exporter(*doc);
    const int diagrams = int(exporter.select(grundton, akkordTyp).size());
    QVERIFY(diagrams > 0);
    ChordSheet::Layout layout;
    layout.spalten = columns;
    layout.stil =
        selection.contains(QStringLiteral("griffbrett")) ? DiagramStil::Griffbrett : DiagramStil::Kasten;
    const int pages = exporter.sheet(layout, QString()).pageCount(diagrams);

    const QString path = dir->filePath(QStringLiteral("blatt.pdf"));
    const Run run = runExport(QStringList{table, QStringLiteral("-o"), path} + selection);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(QStringLiteral(": %1 Diagramm").arg(diagrams)), qPrintable(run.out));
    QVERIFY2(run.out.contains(QStringLiteral(" auf %1 Seite").arg(pages)), qPrintable(run.out));
    QCOMPARE(run.err, QString());
    QCOMPARE(pdfPages(path), pages);
    QProcess text;
    text.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
               {QStringLiteral("-l"), QStringLiteral("1"), path, QStringLiteral("-")});
    text.waitForFinished(30000);
    const QString first = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(first.contains(QStringLiteral("Gitarre")) &&
                 first.contains(QStringLiteral("Stimmung: E-A-D-G-H-E")),
             qPrintable(first.left(300)));
    const QString griffe =
        diagrams == 1 ? QStringLiteral("1 Griff") : QStringLiteral("%1 Griffe").arg(diagrams);
    QVERIFY2(first.contains(shown + griffe), qPrintable(first.left(300)));
    QVERIFY(first.contains(QStringLiteral("Seite 1 von %1").arg(pages)));
}

void ExportCliTest::pngEqualsTheWindowsExport_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<QSize>("size");
    QTest::newRow("chord box") << QStringLiteral("kasten") << QSize(400, 400);
    QTest::newRow("tall chord box") << QStringLiteral("kasten") << QSize(300, 1200);
    QTest::newRow("board") << QStringLiteral("griffbrett") << QSize(400, 400);
}

void ExportCliTest::pngEqualsTheWindowsExport()
{
    QFETCH(QString, style);
    QFETCH(QSize, size);
    const QString cli = dir->filePath(QStringLiteral("c-cli.png"));
    const Run run = runExport({table, QStringLiteral("--chord"), QStringLiteral("C"), QStringLiteral("-o"),
                               cli, QStringLiteral("--stil"), style, QStringLiteral("--size"),
                               QStringLiteral("%1x%2").arg(size.width()).arg(size.height())});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());

    // The window shows the first stored C major grip, on five frets (the export takes the frets the grip
    // needs), with the chord name and finger numbers.
    TestFenster f;
    TF_Main& window = f.start();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const char* name : {"MI_AkkordnameOnOff", "MI_FingersatzOnOff"}) {
        QAction* item = window.findChild<QAction*>(QString::fromLatin1(name));
        if (!item->isChecked())
            item->trigger();
    }
    window.BundanzahlAnwenden(5);
    QVERIFY(window.dokument().GriffHolen(0, 0, false, 0) >= 0);
    window.NachHolenAktualisieren();
    QCOMPARE(int(window.ergebnis().Grundton), 0);
    QCOMPARE(window.ergebnis().AkkordTyp, 0);
    QCOMPARE(window.zeichner().Startbund(), 1);

    const QString fromWindow = dir->filePath(QStringLiteral("c-fenster.png"));
    SetzeDateiDialogAntwort([&](const DateiDialogAnfrage& anfrage) {
        if (anfrage.gewaehlterFilter)
            *anfrage.gewaehlterFilter = anfrage.filter.split(QStringLiteral(";;")).first();
        return fromWindow;
    });
    QTimer::singleShot(0, [size, style] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        QCOMPARE(dialog->findChild<QComboBox*>(QStringLiteral("CB_Stil"))->currentIndex(), 0);
        dialog->findChild<QSpinBox*>(QStringLiteral("E_Breite"))->setValue(size.width());
        dialog->findChild<QSpinBox*>(QStringLiteral("E_Hoehe"))->setValue(size.height());
        dialog->findChild<QComboBox*>(QStringLiteral("CB_Stil"))
            ->setCurrentIndex(style == QStringLiteral("griffbrett") ? 1 : 0);
        dialog->findChild<QPushButton*>(QStringLiteral("B_Ok"))->click();
    });
    window.findChild<QAction*>(QStringLiteral("MI_DiagrammExport"))->trigger();
    SetzeDateiDialogAntwort(nullptr);

    const QImage a(fromWindow);
    const QImage b(cli);
    QCOMPARE(a.size(), size);
    QCOMPARE(b.size(), size);
    QVERIFY2(a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32),
             "the command line and the window draw different pictures");
}

QTEST_MAIN(ExportCliTest)
#include "ExportCliTest.moc"
