#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

#include "render/DiagramExport.h"
#include "table/AkkordDepot.h"
#include "tests/support/TestTabelle.h"

namespace {

constexpr int Major = 0;
constexpr int Minor = 1;
constexpr int Minor7 = 3;

// A guitar table: A minor 7 and C major open, A minor at the fifth fret, and `extra` grips more.
std::unique_ptr<AkkordDepotClass> guitarTable(int extra)
{
    auto doc = tableWithCatalogue();
    doc->SetzeText(0, "Gitarre");
    setGrip(*doc, "x02010", 9, Minor7);
    doc->GriffAufnehmen();
    setGrip(*doc, "x32010", 0, Major);
    doc->GriffAufnehmen();
    setGrip(*doc, "577555", 9, Minor);
    doc->GriffAufnehmen();
    fillTable(*doc, extra);
    return doc;
}

// What a command-line tool prints, or an empty text when it is missing or fails.
QString toolOutput(const QString& tool, const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return QString();
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& path)
{
    const QString info = toolOutput(QStringLiteral("pdfinfo"), {path});
    for (const QString& line : info.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

bool isDark(QRgb pixel)
{
    return qGray(pixel) < 96;
}

} // namespace

class DiagramExportTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void svgIsValidAndNamesTheChord();
    void svgDrawsWhatThePngShows_data();
    void svgDrawsWhatThePngShows();
    void pngHasTheRequestedSize_data();
    void pngHasTheRequestedSize();
    void pngIsPaintedOnWhite();
    void leftHandedDiagramIsMirrored();
    void viewFitsTheGrip_data();
    void viewFitsTheGrip();
    void selectionKeepsTheTableOrder();
    void sheetHasItsPagesAndNames();
    void sheetProgressRunsToTheEnd();
    void cancelledSheetLeavesNoFile();
    void cancelledSheetKeepsAnOlderFile();
    void unwritablePathsFailWithTheirReason();

private:
    std::unique_ptr<AkkordDepotClass> doc;
    std::unique_ptr<QTemporaryDir> dir;

    // The diagram of stored grip index as the export draws it.
    QImage png(int index, QSize size, const DiagramView* view = nullptr,
               const DiagramOptions& options = DiagramOptions());
    QByteArray svg(int index, QSize size, const DiagramView* view = nullptr,
                   const DiagramOptions& options = DiagramOptions());
};

void DiagramExportTest::init()
{
    doc = guitarTable(0);
    dir = std::make_unique<QTemporaryDir>();
}

QImage DiagramExportTest::png(int index, QSize size, const DiagramView* view, const DiagramOptions& options)
{
    const DiagramExport exporter(*doc);
    AkkordClass griff;
    TrefferClass akkord;
    exporter.storedGrip(index, griff, akkord);
    return exporter.image(griff, akkord, options, view ? *view : DiagramExport::frameFor(griff), size);
}

QByteArray DiagramExportTest::svg(int index, QSize size, const DiagramView* view,
                                  const DiagramOptions& options)
{
    const DiagramExport exporter(*doc);
    AkkordClass griff;
    TrefferClass akkord;
    exporter.storedGrip(index, griff, akkord);
    return exporter.svg(griff, akkord, options, view ? *view : DiagramExport::frameFor(griff), size);
}

void DiagramExportTest::svgIsValidAndNamesTheChord()
{
    const QByteArray bytes = svg(0, QSize(400, 400));
    QSvgRenderer renderer(bytes);
    QVERIFY2(renderer.isValid(), "Qt's SVG renderer rejects the file");
    QCOMPARE(renderer.defaultSize(), QSize(400, 400));
    QVERIFY2(bytes.contains(">Am7</text>"), "the chord name is not a text of the SVG");
    QVERIFY2(bytes.contains(">1.Bund</text>"), "the fret label is not a text of the SVG");
    QVERIFY2(!bytes.contains("<image"), "the SVG embeds a bitmap");
}

void DiagramExportTest::svgDrawsWhatThePngShows_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("frets"); // 0: as the grip needs
    QTest::addColumn<bool>("leftHanded");
    QTest::addColumn<bool>("markers");
    QTest::addColumn<int>("annotation");
    QTest::newRow("open chord") << 1 << 0 << false << false << 0;
    QTest::newRow("barre at the fifth fret") << 2 << 0 << false << false << 0;
    QTest::newRow("left-handed") << 2 << 0 << true << false << 0;
    QTest::newRow("notes on the right") << 0 << 0 << false << false << 1;
    QTest::newRow("intervals, left-handed") << 0 << 0 << true << false << 2;
    QTest::newRow("whole neck with markers") << 2 << 12 << false << true << 0;
}

void DiagramExportTest::svgDrawsWhatThePngShows()
{
    QFETCH(int, index);
    QFETCH(int, frets);
    QFETCH(bool, leftHanded);
    QFETCH(bool, markers);
    QFETCH(int, annotation);
    DiagramView view = DiagramExport::frameFor(doc->Element(index));
    if (frets > 0) {
        view.startbund = 1;
        view.bundanzahl = frets;
    }
    view.linkshaender = leftHanded;
    view.lagenpunkte = markers;
    DiagramOptions options;
    options.rechteAnzeige = annotation;

    // The lines, symbols and texts of the PNG are where the SVG drawn back has them: edges may differ by
    // a pixel between the two, whole strokes may not.
    const QSize size(frets > 0 ? 800 : 400, 400);
    const QImage raster = png(index, size, &view, options);
    QImage drawn(size, QImage::Format_RGB32);
    drawn.fill(Qt::red);
    QPainter painter(&drawn);
    const QByteArray vector = svg(index, size, &view, options);
    QSvgRenderer(vector).render(&painter);
    painter.end();
    if (markers)
        QVERIFY2(vector.contains(">5</text>") && vector.contains(">10</text>"),
                 "fret numbers under the board");
    int onlyInPng = 0;
    int onlyInSvg = 0;
    int dark = 0;
    for (int y = 0; y < size.height(); y += 2) {
        for (int x = 0; x < size.width(); x += 2) {
            const bool inPng = isDark(raster.pixel(x, y));
            const bool inSvg = isDark(drawn.pixel(x, y));
            dark += inPng ? 1 : 0;
            onlyInPng += inPng && !inSvg ? 1 : 0;
            onlyInSvg += inSvg && !inPng ? 1 : 0;
        }
    }
    QVERIFY(dark > 500);
    QVERIFY2(onlyInPng * 20 < dark && onlyInSvg * 20 < dark,
             qPrintable(QStringLiteral("%1 dark samples, %2 only in the PNG, %3 only in the SVG")
                            .arg(dark)
                            .arg(onlyInPng)
                            .arg(onlyInSvg)));
    QCOMPARE(drawn.pixel(2, 2), raster.pixel(2, 2));
}

void DiagramExportTest::pngHasTheRequestedSize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("default") << QSize(400, 400);
    QTest::newRow("wide") << QSize(640, 300);
    QTest::newRow("small") << QSize(120, 120);
    QTest::newRow("tall") << QSize(300, 700);
}

void DiagramExportTest::pngHasTheRequestedSize()
{
    QFETCH(QSize, size);
    const QString path = dir->filePath(QStringLiteral("am7.png"));
    const DiagramExport exporter(*doc);
    AkkordClass griff;
    TrefferClass akkord;
    exporter.storedGrip(0, griff, akkord);
    QString fehler;
    QVERIFY2(exporter.writeImage(path, false, griff, akkord, DiagramOptions(), DiagramExport::frameFor(griff),
                                 size, &fehler),
             qPrintable(fehler));
    QImage read;
    QVERIFY(read.load(path, "PNG"));
    QCOMPARE(read.size(), size);
}

void DiagramExportTest::pngIsPaintedOnWhite()
{
    const QImage image = png(0, QSize(400, 400));
    QCOMPARE(image.pixel(1, 1), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(399, 399), qRgb(255, 255, 255));
    int dark = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x)
            dark += isDark(image.pixel(x, y)) ? 1 : 0;
    QVERIFY2(dark > 2000, "the diagram has no board, no symbols or no name");
}

void DiagramExportTest::leftHandedDiagramIsMirrored()
{
    DiagramView view = DiagramExport::frameFor(doc->Element(2));
    const QImage right = png(2, QSize(400, 400), &view);
    view.linkshaender = true;
    const QImage left = png(2, QSize(400, 400), &view);
    // The barré bar lies at the same distance from the other edge.
    int matches = 0;
    int bar = 0;
    for (int y = 0; y < 400; y += 3) {
        for (int x = 0; x < 400; x += 3) {
            if (!isDark(right.pixel(x, y)))
                continue;
            ++bar;
            matches += isDark(left.pixel(399 - x, y)) ? 1 : 0;
        }
    }
    QVERIFY(bar > 0);
    // The texts are not mirrored, so they do not meet; the board and the symbols do.
    QVERIFY2(matches * 10 > bar * 6, qPrintable(QStringLiteral("%1 of %2").arg(matches).arg(bar)));
}

void DiagramExportTest::viewFitsTheGrip_data()
{
    QTest::addColumn<QString>("frets");
    QTest::addColumn<int>("startbund");
    QTest::addColumn<int>("bundanzahl");
    QTest::newRow("open chord") << QStringLiteral("x32010") << 1 << 5;
    QTest::newRow("no fingers") << QStringLiteral("000000") << 1 << 5;
    QTest::newRow("fits from the nut") << QStringLiteral("x35553") << 1 << 5;
    QTest::newRow("fifth position") << QStringLiteral("577655") << 5 << 5;
    QTest::newRow("wide stretch") << QStringLiteral("x3xx9x") << 3 << 7;
}

void DiagramExportTest::viewFitsTheGrip()
{
    QFETCH(QString, frets);
    QFETCH(int, startbund);
    QFETCH(int, bundanzahl);
    setGrip(*doc, frets.toLatin1().constData(), 0, Major);
    const DiagramView view = DiagramExport::frameFor(doc->Daten());
    QCOMPARE(view.startbund, startbund);
    QCOMPARE(view.bundanzahl, bundanzahl);
}

void DiagramExportTest::selectionKeepsTheTableOrder()
{
    const DiagramExport exporter(*doc);
    QCOMPARE(exporter.select(-1, -1), (std::vector<int>{0, 1, 2}));
    QCOMPARE(exporter.select(9, -1), (std::vector<int>{0, 2}));
    QCOMPARE(exporter.select(9, Minor), (std::vector<int>{2}));
    QCOMPARE(exporter.select(4, -1), std::vector<int>());
}

void DiagramExportTest::sheetHasItsPagesAndNames()
{
    doc = guitarTable(42);
    const DiagramExport exporter(*doc);
    const std::vector<int> all = exporter.select(-1, -1);
    QCOMPARE(int(all.size()), 45);
    QCOMPARE(DiagramExport::pageCount(45), 3);
    const QString path = dir->filePath(QStringLiteral("tabelle.pdf"));
    QString fehler;
    QVERIFY2(exporter.writeSheet(path, all, DiagramOptions(), nullptr, &fehler), qPrintable(fehler));
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty(),
             "pdfinfo is missing: scripts/setup.sh installs poppler-utils");
    QCOMPARE(pdfPages(path), 3);

    const QString text =
        toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    QVERIFY2(text.contains(QStringLiteral("Gitarre")), qPrintable(text.left(400)));
    QVERIFY(text.contains(QStringLiteral("Stimmung: E-A-D-G-H-E")));
    QVERIFY(text.contains(QStringLiteral("Am7")));
    QVERIFY(text.contains(QStringLiteral("5. Bund")));
    QVERIFY(text.contains(QStringLiteral("Seite 1 von 3")));
    QVERIFY(text.contains(QStringLiteral("Seite 3 von 3")));
    // Every chord of the table is named under its diagram, in the table's order.
    AkkordClass griff;
    TrefferClass akkord;
    const DiagramComposer composer(*doc);
    qsizetype from = 0;
    for (int index : all) {
        exporter.storedGrip(index, griff, akkord);
        const QString name = composer.chordName(akkord.Grundton, akkord.AkkordTyp);
        const qsizetype at = text.indexOf(name, 0);
        QVERIFY2(at >= 0, qPrintable(name));
        from = at;
    }
    QVERIFY(from >= 0);
}

void DiagramExportTest::sheetProgressRunsToTheEnd()
{
    doc = guitarTable(22);
    const DiagramExport exporter(*doc);
    QList<int> reported;
    const auto progress = [&](int done, int total) {
        reported << done;
        return total == 25;
    };
    QVERIFY(exporter.writeSheet(dir->filePath(QStringLiteral("p.pdf")), exporter.select(-1, -1),
                                DiagramOptions(), progress, nullptr));
    QCOMPARE(reported.size(), 26);
    QCOMPARE(reported.first(), 0);
    QCOMPARE(reported.last(), 25);
    QCOMPARE(pdfPages(dir->filePath(QStringLiteral("p.pdf"))), 2);
}

void DiagramExportTest::cancelledSheetLeavesNoFile()
{
    doc = guitarTable(40);
    const DiagramExport exporter(*doc);
    const QString path = dir->filePath(QStringLiteral("abgebrochen.pdf"));
    QString fehler = QStringLiteral("unchanged");
    const auto stopAtTen = [](int done, int) { return done < 10; };
    QVERIFY(!exporter.writeSheet(path, exporter.select(-1, -1), DiagramOptions(), stopAtTen, &fehler));
    QVERIFY2(fehler.isEmpty(), "a cancel is no failure to report");
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void DiagramExportTest::cancelledSheetKeepsAnOlderFile()
{
    const QString path = dir->filePath(QStringLiteral("alt.pdf"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("older sheet");
    old.close();
    const DiagramExport exporter(*doc);
    QVERIFY(!exporter.writeSheet(
        path, exporter.select(-1, -1), DiagramOptions(), [](int, int) { return false; }, nullptr));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("older sheet"));
}

void DiagramExportTest::unwritablePathsFailWithTheirReason()
{
    const DiagramExport exporter(*doc);
    AkkordClass griff;
    TrefferClass akkord;
    exporter.storedGrip(0, griff, akkord);
    const QString missing = dir->filePath(QStringLiteral("fehlt/am7.svg"));
    QString fehler;
    QVERIFY(!exporter.writeImage(missing, true, griff, akkord, DiagramOptions(),
                                 DiagramExport::frameFor(griff), QSize(400, 400), &fehler));
    QVERIFY2(fehler.contains(missing), qPrintable(fehler));
    QVERIFY(!QFile::exists(missing));

    fehler.clear();
    const QString sheet = dir->filePath(QStringLiteral("fehlt/tabelle.pdf"));
    QVERIFY(!exporter.writeSheet(sheet, exporter.select(-1, -1), DiagramOptions(), nullptr, &fehler));
    QVERIFY2(fehler.contains(sheet), qPrintable(fehler));
    QVERIFY(!QFile::exists(sheet));
}

QTEST_MAIN(DiagramExportTest)
#include "DiagramExportTest.moc"
