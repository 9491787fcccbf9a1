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

#include "render/ChordBoxPainter.h"
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
    void chordBoxesShowWhatAGuitaristReads_data();
    void chordBoxesShowWhatAGuitaristReads();
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
    for (const DiagramStil stil : {DiagramStil::Kasten, DiagramStil::Griffbrett}) {
        DiagramView view = DiagramExport::frameFor(doc->Element(2));
        view.stil = stil;
        const QByteArray bytes = svg(2, QSize(400, 400), &view);
        QSvgRenderer renderer(bytes);
        QVERIFY2(renderer.isValid(), "Qt's SVG renderer rejects the file");
        QCOMPARE(renderer.defaultSize(), QSize(400, 400));
        QVERIFY2(bytes.contains(">Am</text>"), "the chord name is not a text of the SVG");
        // The one fret label of each style: the box's first fret, the board's "5.Bund".
        QVERIFY2(bytes.contains(stil == DiagramStil::Kasten ? ">5</text>" : ">5.Bund</text>"),
                 "the fret label is not a text of the SVG");
        QVERIFY2(!bytes.contains("<image"), "the SVG embeds a bitmap");
    }
}

void DiagramExportTest::chordBoxesShowWhatAGuitaristReads_data()
{
    QTest::addColumn<QString>("frets");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("leftHanded");
    QTest::addColumn<int>("startbund");
    QTest::newRow("open C from the nut") << QStringLiteral("x32010") << QSize(400, 400) << false << 1;
    QTest::newRow("C at the third fret") << QStringLiteral("x35553") << QSize(400, 400) << false << 3;
    QTest::newRow("tall image") << QStringLiteral("x32010") << QSize(300, 1200) << false << 1;
    QTest::newRow("wide image") << QStringLiteral("577555") << QSize(1200, 300) << false << 5;
    QTest::newRow("small and left-handed") << QStringLiteral("x35553") << QSize(120, 140) << true << 3;
    QTest::newRow("stretch over seven frets") << QStringLiteral("x3xx9x") << QSize(300, 300) << false << 3;
}

void DiagramExportTest::chordBoxesShowWhatAGuitaristReads()
{
    QFETCH(QString, frets);
    QFETCH(QSize, size);
    QFETCH(bool, leftHanded);
    QFETCH(int, startbund);
    setGrip(*doc, frets.toLatin1().constData(), 0, Major);
    const DiagramExport exporter(*doc);
    AkkordClass griff;
    static_cast<StimmClass&>(griff) = static_cast<const StimmClass&>(*doc);
    griff.Daten() = doc->Daten();
    TrefferClass akkord;
    akkord.Grundton = 0;
    akkord.AkkordTyp = Major;
    DiagramView view = DiagramExport::frameFor(griff);
    view.linkshaender = leftHanded;
    QCOMPARE(view.startbund, startbund);
    const QImage image = exporter.image(griff, akkord, DiagramOptions(), view, size);
    QCOMPARE(image.size(), size);
    const ChordBox box = DiagramComposer(*doc).chordBox(griff, akkord, DiagramOptions(), view);
    QVERIFY(box.bundanzahl >= 4);
    const ChordBoxPainter::Geometry g = ChordBoxPainter::geometry(box, QRectF(QPointF(0, 0), QSizeF(size)));

    const auto darkIn = [&image](const QRectF& area) {
        int dark = 0;
        const QRect r = area.toAlignedRect().intersected(image.rect());
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                dark += isDark(image.pixel(x, y)) ? 1 : 0;
        return dark;
    };
    // Nothing is cut off: every dark pixel keeps a margin from the edges, and the box is as tall or as
    // wide as the image allows.
    QRect ink;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (isDark(image.pixel(x, y)))
                ink |= QRect(x, y, 1, 1);
    QVERIFY2(
        image.rect().adjusted(1, 1, -1, -1).contains(ink),
        qPrintable(
            QStringLiteral("ink %1,%2 %3x%4").arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())));
    QVERIFY(ink.width() > size.width() * 6 / 10 || ink.height() > size.height() * 6 / 10);
    QVERIFY2(darkIn(g.title) > 0, "no chord name above the box");

    // One fret label: the thick nut from the first fret, otherwise the first fret's number.
    const int nutPixels = g.nut.width() * g.nut.height();
    if (startbund == 1) {
        QVERIFY2(g.nut.height() >= 3 * g.strokes.line, "the nut is no thicker than a fret");
        QCOMPARE(darkIn(g.nut), nutPixels);
        QCOMPARE(darkIn(g.fretNumber), 0);
    } else {
        QVERIFY2(darkIn(g.fretNumber) > 0, "no fret number beside the first fret");
        // Only the first fret line lies in the nut's place.
        QVERIFY2(darkIn(g.nut) <= g.nut.width() * g.strokes.line + 2 * g.nut.height(),
                 "a nut drawn on a box that starts above the first fret");
        const QRectF other = leftHanded ? QRectF(g.gridLeft - g.fretNumber.width() - g.spacing, g.gridTop,
                                                 g.fretNumber.width(), g.fretHeight)
                                        : QRectF(g.gridLeft + g.gridWidth + g.spacing, g.gridTop,
                                                 g.fretNumber.width(), g.fretHeight);
        QCOMPARE(darkIn(other.intersected(QRectF(image.rect()))), 0);
    }
    // x and o above exactly the strings that are muted or open, no smaller than a finger number.
    QVERIFY(g.mark(1).height() >= 0.5 * g.unit);
    for (int saite = 1; saite <= 6; ++saite) {
        const int status = griff.SaitenStatus(saite);
        const int dark = darkIn(g.mark(saite));
        QVERIFY2((status == SaiteGegriffen) == (dark == 0),
                 qPrintable(QStringLiteral("string %1: %2 dark pixels in its mark").arg(saite).arg(dark)));
        QVERIFY(g.mark(saite).bottom() < g.nut.top());
    }
}

void DiagramExportTest::svgDrawsWhatThePngShows_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("frets"); // 0: as the grip needs
    QTest::addColumn<bool>("leftHanded");
    QTest::addColumn<bool>("markers");
    QTest::addColumn<int>("annotation");
    QTest::addColumn<bool>("board");
    QTest::newRow("open chord") << 1 << 0 << false << false << 0 << false;
    QTest::newRow("barre at the fifth fret") << 2 << 0 << false << false << 0 << false;
    QTest::newRow("left-handed") << 2 << 0 << true << false << 0 << false;
    QTest::newRow("notes under the strings") << 0 << 0 << false << false << 1 << false;
    QTest::newRow("intervals, left-handed") << 0 << 0 << true << false << 2 << false;
    QTest::newRow("board: open chord") << 1 << 0 << false << false << 0 << true;
    QTest::newRow("board: notes on the right") << 0 << 0 << false << false << 1 << true;
    QTest::newRow("board: intervals, left-handed") << 0 << 0 << true << false << 2 << true;
    QTest::newRow("board: whole neck with markers") << 2 << 12 << false << true << 0 << true;
}

void DiagramExportTest::svgDrawsWhatThePngShows()
{
    QFETCH(int, index);
    QFETCH(int, frets);
    QFETCH(bool, leftHanded);
    QFETCH(bool, markers);
    QFETCH(int, annotation);
    QFETCH(bool, board);
    DiagramView view = DiagramExport::frameFor(doc->Element(index));
    view.stil = board ? DiagramStil::Griffbrett : DiagramStil::Kasten;
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
    QTest::newRow("open chord") << QStringLiteral("x32010") << 1 << 4;
    QTest::newRow("no fingers") << QStringLiteral("000000") << 1 << 4;
    QTest::newRow("up to the fourth fret") << QStringLiteral("320004") << 1 << 4;
    QTest::newRow("barre at the third fret") << QStringLiteral("x35553") << 3 << 4;
    QTest::newRow("fifth position") << QStringLiteral("577655") << 5 << 4;
    QTest::newRow("stretch from the first fret") << QStringLiteral("1xxx5x") << 1 << 5;
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
    ChordSheet::Layout layout;
    layout.spalten = 3;
    const QString inhalt = exporter.contentText(-1, -1, 45);
    QCOMPARE(inhalt, QStringLiteral("Ganze Grifftabelle, 45 Griffe"));
    const int pages = exporter.sheet(layout, inhalt).pageCount(45);
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
    const QString path = dir->filePath(QStringLiteral("tabelle.pdf"));
    QString fehler;
    QVERIFY2(exporter.writeSheet(path, all, layout, inhalt, nullptr, &fehler), qPrintable(fehler));
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty(),
             "pdfinfo is missing: scripts/setup.sh installs poppler-utils");
    QCOMPARE(pdfPages(path), pages);

    const QString text =
        toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    QVERIFY2(text.contains(QStringLiteral("Gitarre")), qPrintable(text.left(400)));
    QVERIFY(text.contains(QStringLiteral("Stimmung: E-A-D-G-H-E")));
    QVERIFY(text.contains(inhalt));
    QVERIFY(text.contains(QStringLiteral("Am7")));
    QVERIFY2(!text.contains(QStringLiteral("Bund")), "a second fret label beside the box's own");
    QVERIFY(text.contains(QStringLiteral("Seite 1 von %1").arg(pages)));
    QVERIFY(text.contains(QStringLiteral("Seite %1 von %1").arg(pages)));
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
    ChordSheet::Layout layout;
    layout.spalten = 4;
    QVERIFY(exporter.writeSheet(dir->filePath(QStringLiteral("p.pdf")), exporter.select(-1, -1), layout,
                                QString(), progress, nullptr));
    QCOMPARE(reported.size(), 26);
    QCOMPARE(reported.first(), 0);
    QCOMPARE(reported.last(), 25);
    QCOMPARE(pdfPages(dir->filePath(QStringLiteral("p.pdf"))),
             exporter.sheet(layout, QString()).pageCount(25));
}

void DiagramExportTest::cancelledSheetLeavesNoFile()
{
    doc = guitarTable(40);
    const DiagramExport exporter(*doc);
    const QString path = dir->filePath(QStringLiteral("abgebrochen.pdf"));
    QString fehler = QStringLiteral("unchanged");
    const auto stopAtTen = [](int done, int) { return done < 10; };
    QVERIFY(!exporter.writeSheet(path, exporter.select(-1, -1), {}, QString(), stopAtTen, &fehler));
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
        path, exporter.select(-1, -1), {}, QString(), [](int, int) { return false; }, nullptr));
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
    QVERIFY(!exporter.writeSheet(sheet, exporter.select(-1, -1), {}, QString(), nullptr, &fehler));
    QVERIFY2(fehler.contains(sheet), qPrintable(fehler));
    QVERIFY(!QFile::exists(sheet));
}

QTEST_MAIN(DiagramExportTest)
#include "DiagramExportTest.moc"
