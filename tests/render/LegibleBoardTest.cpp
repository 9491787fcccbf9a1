#include <memory>

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTest>

#include "render/Griffbrett.h"

namespace {

std::unique_ptr<GriffbrettClass> board(int breite, int hoehe, int buende, int saiten = 6)
{
    auto b = std::make_unique<GriffbrettClass>(breite, hoehe);
    b->SetSaitenzahl(saiten);
    b->SetBundanzahl(buende);
    for (int row = 0; row < 6; ++row) {
        b->SetTextLinks(row, QString());
        b->SetTextRechts(row, QString());
    }
    return b;
}

bool isDark(QRgb pixel)
{
    return qGray(pixel) < 128 && qAlpha(pixel) == 255;
}

bool isBlack(QRgb pixel)
{
    return (pixel & 0xffffffu) == 0 && qAlpha(pixel) == 255;
}

// The pixels that differ between two paints of the same board: what one text added.
QRect changedPixels(const QImage& before, const QImage& after)
{
    QRect box;
    for (int y = 0; y < after.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(after.constScanLine(y));
        for (int x = 0; x < after.width(); ++x)
            if (a[x] != b[x])
                box |= QRect(x, y, 1, 1);
    }
    return box;
}

// Paints the board, lets change() put one text on it, paints again and returns that text's ink.
// The first paint draws fret lines with the thin default pen, so the comparison starts at the second.
template <typename Change> QRect inkOf(GriffbrettClass& b, Change change)
{
    b.Zeichnen();
    b.Zeichnen();
    const QImage before = b.Puffer().copy();
    change();
    b.Zeichnen();
    return changedPixels(before, b.Puffer());
}

// A point inside the cell's symbol but off its string line and off its digit.
QPoint insideSymbol(const CellRect& cell)
{
    return QPoint(cell.left + cell.width() / 2, cell.top + cell.height() / 2 + cell.height() / 4);
}

QString describe(const QRect& r)
{
    return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Chord names at the catalogue's limits: five-character roots and nineteen-character types.
const QStringList longNames = {QStringLiteral("C"),
                               QStringLiteral("Cmaj7"),
                               QStringLiteral("F#m7b5"),
                               QStringLiteral("G#/Abmaj7(#11)"),
                               QStringLiteral("D#/Ebmaj7(b9,#11,b13)"),
                               QStringLiteral("F#/Gbsus4add9(b13)xyz")};
const QStringList annotations = {QStringLiteral("maj7"), QStringLiteral("b13"), QStringLiteral("#11"),
                                 QStringLiteral("A#"), QStringLiteral("1")};

} // namespace

class LegibleBoardTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTextStaysInsideItsArea_data();
    void everyTextStaysInsideItsArea();
    void annotationShowsWholeInTheDefaultWindow_data();
    void annotationShowsWholeInTheDefaultWindow();
    void annotationWidensTheMarginWhenShrinkingIsNotEnough();
    void titleAndDiscsNeverOverlap_data();
    void titleAndDiscsNeverOverlap();
    void highDpiImageHasItsOwnPixels_data();
    void highDpiImageHasItsOwnPixels();
    void fewStringsAreAsLegibleAsSix_data();
    void fewStringsAreAsLegibleAsSix();
    void leftHandedBoardIsTheMirror();
    void leftHandedTextsSitAtTheMirroredPlaces();
    void markersLieUnderTheStringsAtTheirFrets_data();
    void markersLieUnderTheStringsAtTheirFrets();
    void fretNumbersStandUnderEveryFifthColumn();
    void noMarkersWhenSwitchedOff();
};

void LegibleBoardTest::everyTextStaysInsideItsArea_data()
{
    QTest::addColumn<int>("breite");
    QTest::addColumn<int>("hoehe");
    QTest::addColumn<int>("buende");
    QTest::addColumn<int>("saiten");
    QTest::addColumn<bool>("links");

    QTest::newRow("default window, 4 frets") << 320 << 336 << 4 << 6 << false;
    QTest::newRow("designed example, 10 frets") << 269 << 261 << 10 << 6 << false;
    QTest::newRow("whole neck, 16 frets") << 1009 << 330 << 16 << 6 << false;
    QTest::newRow("whole neck, 30 frets") << 1009 << 330 << 30 << 6 << false;
    QTest::newRow("small, 12 frets") << 220 << 180 << 12 << 6 << false;
    QTest::newRow("four strings") << 320 << 336 << 5 << 4 << false;
    QTest::newRow("two strings") << 320 << 336 << 4 << 2 << false;
    QTest::newRow("left-handed") << 320 << 336 << 4 << 6 << true;
}

void LegibleBoardTest::everyTextStaysInsideItsArea()
{
    QFETCH(int, breite);
    QFETCH(int, hoehe);
    QFETCH(int, buende);
    QFETCH(int, saiten);
    QFETCH(bool, links);
    auto b = board(breite, hoehe, buende, saiten);
    b->SetLinkshaender(links);
    b->SetTextRechtsMuster(QStringLiteral("maj7"));
    const QRect surface(0, 0, breite, hoehe);
    const int lastRow = saiten - 1;
    const int x0 = b->Gitterpunkt(0, 0).x();
    const int xLast = b->Gitterpunkt(buende, 0).x();
    const int pitch = b->Saitenabstand();
    // Areas as the unmirrored board has them.
    const auto mirrored = [&](const QRect& r) { return b->spiegeln(r); };

    const QRect titleArea = mirrored(QRect(0, 0, breite, b->GetFeld(0, 0).top));
    for (const QString& name : longNames) {
        const QRect ink = inkOf(*b, [&] { b->SetTitel(name); });
        QVERIFY2(!ink.isEmpty(), qPrintable(name));
        QVERIFY2(titleArea.contains(ink), qPrintable(name + QStringLiteral(": ") + describe(ink) +
                                                     QStringLiteral(" outside ") + describe(titleArea)));
        b->SetTitel(QString());
    }

    const int labelTop = b->GetFeld(0, lastRow).bottom;
    const QRect labelArea(0, labelTop, breite, hoehe - labelTop);
    for (int first : {1, 12, 30}) {
        b->SetStartbund(first);
        b->Zeichnen();
        const QImage withLabel = b->Puffer().copy();
        b->SetStartbund(1);
        // The label is the only text; everything else of the board lies above the label area.
        QRect ink;
        for (int y = labelTop; y < hoehe; ++y)
            for (int x = 0; x < breite; ++x)
                if (isDark(withLabel.pixel(x, y)))
                    ink |= QRect(x, y, 1, 1);
        QVERIFY2(!ink.isEmpty() && labelArea.contains(ink) && surface.contains(ink),
                 qPrintable(QStringLiteral("fret label %1: ").arg(first) + describe(ink)));
        QVERIFY(!b->fretLabelPlacement().shortened);
    }

    for (int row = 0; row < saiten; ++row) {
        const int y = b->Gitterpunkt(0, row).y();
        const QRect band(0, y - pitch / 2, breite, pitch);
        for (const QString& text : annotations) {
            const QRect ink = inkOf(*b, [&] { b->SetTextRechts(row, text); });
            const QRect rightArea = mirrored(QRect(xLast + 1, band.top(), breite - xLast - 1, band.height()));
            QVERIFY2(rightArea.contains(ink),
                     qPrintable(QStringLiteral("right text %1 of row %2: ").arg(text).arg(row) +
                                describe(ink) + QStringLiteral(" outside ") + describe(rightArea)));
            QVERIFY2(!b->TextRechtsFeld(row).shortened, qPrintable(text));
            b->SetTextRechts(row, QString());
        }
        for (const QString& mark : {QStringLiteral("0"), QStringLiteral("X")}) {
            const QRect ink = inkOf(*b, [&] { b->SetTextLinks(row, mark); });
            const QRect leftArea = mirrored(QRect(0, band.top(), x0 - 5, band.height()));
            QVERIFY2(!ink.isEmpty() && leftArea.contains(ink),
                     qPrintable(QStringLiteral("mark %1 of row %2: ").arg(mark).arg(row) + describe(ink)));
            b->SetTextLinks(row, QString());
        }
    }
}

void LegibleBoardTest::annotationShowsWholeInTheDefaultWindow_data()
{
    QTest::addColumn<QString>("longest");
    QTest::newRow("intervals") << QStringLiteral("maj7");
    QTest::newRow("notes") << QStringLiteral("A#");
    QTest::newRow("renamed notes") << QStringLiteral("Fis/G");
}

void LegibleBoardTest::annotationShowsWholeInTheDefaultWindow()
{
    QFETCH(QString, longest);
    // The paint box of the 320-pixel main window with four frets.
    auto b = board(320, 336, 4);
    const int designedHeight = 4 * (b->Saitenabstand() / 8);
    b->SetTextRechtsMuster(longest);
    QCOMPARE(b->TextRechtsMuster(), longest);
    QVERIFY2(b->TextRechts(0).Schrifthoehe >= LegibleTextHeight,
             qPrintable(QString::number(b->TextRechts(0).Schrifthoehe)));
    QVERIFY(b->TextRechts(0).Schrifthoehe <= designedHeight);
    for (int row = 0; row < 6; ++row)
        b->SetTextRechts(row, longest);
    b->Zeichnen();
    for (int row = 0; row < 6; ++row) {
        const TextPlacement placed = b->TextRechtsFeld(row);
        QVERIFY(!placed.shortened);
        QVERIFY2(placed.box.right() < 320, qPrintable(describe(placed.box)));
    }
}

void LegibleBoardTest::annotationWidensTheMarginWhenShrinkingIsNotEnough()
{
    // Thirty frets in a small window leave a right margin of 8 pixels.
    auto b = board(269, 261, 30);
    const int randLinks = b->RandLinks();
    const int bundabstand = b->Bundabstand();
    QCOMPARE(b->Breite() - b->Gitterpunkt(30, 0).x(), 269 - randLinks - 30 * bundabstand);
    b->SetTextRechtsMuster(QStringLiteral("maj7"));
    QCOMPARE(b->RandLinks(), randLinks);
    QVERIFY(b->Bundabstand() < bundabstand);
    QVERIFY(b->TextRechts(0).Schrifthoehe >= LegibleTextHeight);
    for (int row = 0; row < 6; ++row)
        b->SetTextRechts(row, QStringLiteral("maj7"));
    b->Zeichnen();
    for (int row = 0; row < 6; ++row) {
        QVERIFY(!b->TextRechtsFeld(row).shortened);
        QVERIFY(b->TextRechtsFeld(row).box.right() < 269);
    }
    // Without an annotation the designed geometry returns.
    b->SetTextRechtsMuster(QString());
    QCOMPARE(b->Bundabstand(), bundabstand);
}

void LegibleBoardTest::titleAndDiscsNeverOverlap_data()
{
    QTest::addColumn<int>("breite");
    QTest::addColumn<int>("hoehe");
    QTest::addColumn<int>("buende");
    QTest::newRow("default window") << 320 << 336 << 4;
    QTest::newRow("designed example") << 269 << 261 << 10;
    QTest::newRow("grown example") << 538 << 522 << 10;
    QTest::newRow("wide and low") << 900 << 200 << 5;
}

void LegibleBoardTest::titleAndDiscsNeverOverlap()
{
    QFETCH(int, breite);
    QFETCH(int, hoehe);
    QFETCH(int, buende);
    auto b = board(breite, hoehe, buende);
    for (int fret = 1; fret <= buende; ++fret)
        b->AddSymbol(0, 1, 6, fret);
    const int discTop = b->GetFeld(0, 0).top;
    // Names with descenders: the j of maj7, the brackets of added tones.
    for (const QString& name :
         {QStringLiteral("Cmaj7"), QStringLiteral("Gm7(b9)"), QStringLiteral("Hbjgpq")}) {
        const QRect ink = inkOf(*b, [&] { b->SetTitel(name); });
        QVERIFY2(ink.bottom() < discTop,
                 qPrintable(name +
                            QStringLiteral(" ends at %1, discs start at %2").arg(ink.bottom()).arg(discTop)));
        QVERIFY(ink.top() >= 0);
        b->SetTitel(QString());
    }
}

void LegibleBoardTest::highDpiImageHasItsOwnPixels_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("pixels");
    QTest::newRow("1.25") << qreal(1.25) << QSize(337, 327);
    QTest::newRow("1.5") << qreal(1.5) << QSize(404, 392);
    QTest::newRow("2") << qreal(2.0) << QSize(538, 522);
}

void LegibleBoardTest::highDpiImageHasItsOwnPixels()
{
    QFETCH(qreal, ratio);
    QFETCH(QSize, pixels);
    const auto compose = [](GriffbrettClass& b) {
        b.SetTitel(QStringLiteral("Cmaj7"));
        b.SetTextLinks(0, QStringLiteral("0"));
        b.SetTextRechts(1, QStringLiteral("maj7"));
        b.AddSymbol(0, 3, 5, 3);
        b.AddSymbol(3, 1, 5, 5);
    };
    auto plain = board(269, 261, 10);
    compose(*plain);
    plain->Zeichnen();
    auto sharp = board(269, 261, 10);
    sharp->SetPixelverhaeltnis(ratio);
    compose(*sharp);
    sharp->Zeichnen();

    QCOMPARE(sharp->Pixelverhaeltnis(), ratio);
    QCOMPARE(sharp->Puffer().size(), pixels);
    QCOMPARE(sharp->Puffer().devicePixelRatio(), ratio);
    // Geometry stays in logical pixels.
    QCOMPARE(sharp->Breite(), 269);
    QCOMPARE(sharp->RandLinks(), plain->RandLinks());
    QCOMPARE(sharp->Saitenabstand(), plain->Saitenabstand());
    QCOMPARE(sharp->GetFeld(3, 2), plain->GetFeld(3, 2));
    QCOMPARE(sharp->Titel().PosY, plain->Titel().PosY);

    if (ratio != 2.0)
        return;
    // A board drawn at 1x and doubled has equal column pairs; one drawn at 2x does not.
    const QImage& image = sharp->Puffer();
    int distinctPairs = 0;
    for (int x = 0; x + 1 < image.width(); x += 2) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) != image.pixel(x + 1, y)) {
                ++distinctPairs;
                break;
            }
        }
    }
    QVERIFY2(distinctPairs > image.width() / 8, qPrintable(QString::number(distinctPairs)));
    const QImage doubled = plain->Puffer().scaled(pixels);
    QVERIFY(doubled != image.convertToFormat(doubled.format()));
    // The disc of the finger on string 5 at fret 3, in device pixels.
    const QPoint inside = insideSymbol(sharp->GetFeld(2, 1));
    QVERIFY(isBlack(image.pixel(inside * 2)));
}

void LegibleBoardTest::fewStringsAreAsLegibleAsSix_data()
{
    QTest::addColumn<int>("saiten");
    QTest::newRow("two strings") << 2;
    QTest::newRow("three strings") << 3;
}

void LegibleBoardTest::fewStringsAreAsLegibleAsSix()
{
    QFETCH(int, saiten);
    auto six = board(320, 336, 4, 6);
    auto few = board(320, 336, 4, saiten);
    for (int saite = 1; saite <= saiten; ++saite) {
        few->AddSymbol(0, saite, saite, saite);
        few->SetTextLinks(saiten - saite, QStringLiteral("X"));
        few->SetTextRechts(saiten - saite, QStringLiteral("maj7"));
    }
    few->SetTitel(QStringLiteral("Am"));
    few->Zeichnen();
    const QImage& image = few->Puffer();

    QVERIFY(!few->ZuKlein());
    QVERIFY(few->Saitenabstand() >= six->Saitenabstand());
    QVERIFY(few->GetFeld(0, 0).width() >= six->GetFeld(0, 0).width());
    QVERIFY(few->TextLinks(0).Schrifthoehe >= six->TextLinks(0).Schrifthoehe);
    QVERIFY(few->TextRechts(0).Schrifthoehe >= six->TextRechts(0).Schrifthoehe);
    // The title and the fret label keep about the size they have on a six-string board.
    QVERIFY(few->Titel().Schrifthoehe <= 2 * six->Titel().Schrifthoehe);
    const int middleX = (few->Gitterpunkt(3, 0).x() + few->Gitterpunkt(4, 0).x()) / 2;
    int previousY = -1;
    for (int row = 0; row < saiten; ++row) {
        const int y = few->Gitterpunkt(0, row).y();
        QVERIFY2(y > previousY + few->GetFeld(0, row).height(), "each string has a line of its own");
        QVERIFY(y > 0 && y < 336);
        QVERIFY2(isDark(image.pixel(middleX, y)),
                 qPrintable(QStringLiteral("string line of row %1").arg(row)));
        previousY = y;
        const int saite = saiten - row;
        QVERIFY2(isBlack(image.pixel(insideSymbol(few->GetFeld(saite - 1, row)))),
                 qPrintable(QStringLiteral("disc of finger %1").arg(saite)));
        QVERIFY(!few->TextLinksFeld(row).box.isEmpty());
        QVERIFY(!few->TextRechtsFeld(row).box.isEmpty());
        QVERIFY(few->TextLinksFeld(row).box.top() > few->Titel().PosY);
    }
}

void LegibleBoardTest::leftHandedBoardIsTheMirror()
{
    const auto compose = [](GriffbrettClass& b) {
        b.SetLagenpunkte(true);
        b.AddSymbol(0, 0, 6, 3);
        b.AddSymbol(0, 0, 4, 2);
        b.AddSymbol(2, 0, 3, 5);
        b.AddSymbol(5, 0, 6, 7);
    };
    auto right = board(320, 336, 9);
    compose(*right);
    right->Zeichnen();
    auto left = board(320, 336, 9);
    compose(*left);
    left->SetLinkshaender(true);
    left->Zeichnen();
    QVERIFY(left->Linkshaender());

    // The fret label is text, which reads left to right on either board; it lies below the rest.
    const int below = std::min(right->fretLabelPlacement().box.top(), left->fretLabelPlacement().box.top());
    const QImage& r = right->Puffer();
    const QImage& l = left->Puffer();
    const int w = r.width();
    int mismatches = 0;
    for (int y = 0; y < below; ++y) {
        for (int x = 0; x < w; ++x) {
            const int shade = qGray(r.pixel(x, y));
            bool matched = false;
            for (int d = -1; d <= 1 && !matched; ++d) {
                const int mx = w - 1 - x + d;
                matched = mx >= 0 && mx < w && std::abs(qGray(l.pixel(mx, y)) - shade) <= 48;
            }
            mismatches += matched ? 0 : 1;
        }
    }
    QCOMPARE(mismatches, 0);
    QVERIFY(isBlack(
        l.pixel(w - 1 - insideSymbol(right->GetFeld(2, 0)).x(), insideSymbol(right->GetFeld(2, 0)).y())));
}

void LegibleBoardTest::leftHandedTextsSitAtTheMirroredPlaces()
{
    auto b = board(320, 336, 4);
    b->SetTitel(QStringLiteral("Cmaj7"));
    b->SetTextLinks(0, QStringLiteral("0"));
    b->SetTextRechts(1, QStringLiteral("maj7"));
    const QRect title = b->titelPlacement().box;
    const QRect mark = b->TextLinksFeld(0).box;
    const QRect annotation = b->TextRechtsFeld(1).box;
    const QRect label = b->fretLabelPlacement().box;
    b->SetLinkshaender(true);
    const auto mirror = [](const QRect& r) {
        return QRect(320 - r.x() - r.width(), r.y(), r.width(), r.height());
    };
    QCOMPARE(b->titelPlacement().box, mirror(title));
    QCOMPARE(b->TextLinksFeld(0).box, mirror(mark));
    QCOMPARE(b->TextRechtsFeld(1).box, mirror(annotation));
    QCOMPARE(b->fretLabelPlacement().box, mirror(label));
    // The mark now lies right of the nut, the annotation left of the board.
    QVERIFY(b->TextLinksFeld(0).box.left() > b->spiegeln(QRect(b->RandLinks(), 0, 1, 1)).left());
    QVERIFY(b->TextRechtsFeld(1).box.right() < b->spiegeln(QRect(b->Gitterpunkt(4, 0).x(), 0, 1, 1)).left());

    b->Zeichnen();
    int darkInMark = 0;
    const QRect shown = b->TextLinksFeld(0).box;
    for (int y = shown.top(); y <= shown.bottom(); ++y)
        for (int x = shown.left(); x <= shown.right(); ++x)
            darkInMark += isDark(b->Puffer().pixel(x, y)) ? 1 : 0;
    QVERIFY(darkInMark > 5);
}

void LegibleBoardTest::markersLieUnderTheStringsAtTheirFrets_data()
{
    QTest::addColumn<int>("buende");
    QTest::addColumn<int>("saiten");
    QTest::addColumn<QList<int>>("frets");
    QTest::newRow("16 frets") << 16 << 6 << QList<int>{3, 5, 7, 9, 12, 12, 15};
    QTest::newRow("24 frets") << 24 << 6 << QList<int>{3, 5, 7, 9, 12, 12, 15, 17, 19, 21, 24, 24};
    QTest::newRow("four strings") << 12 << 4 << QList<int>{3, 5, 7, 9, 12, 12};
    QTest::newRow("two strings") << 12 << 2 << QList<int>{3, 5, 7, 9, 12, 12};
}

void LegibleBoardTest::markersLieUnderTheStringsAtTheirFrets()
{
    QFETCH(int, buende);
    QFETCH(int, saiten);
    QFETCH(QList<int>, frets);
    auto b = board(1009, 330, buende, saiten);
    b->SetLagenpunkte(true);
    b->AddSymbol(0, 0, saiten, 12);
    b->Zeichnen();
    const QImage& image = b->Puffer();
    QCOMPARE(b->markerCount(), frets.size());
    for (int i = 0; i < frets.size(); ++i) {
        const QRect dot = b->markerRect(i);
        const int column = frets[i] - 1;
        const int left = b->Gitterpunkt(column, 0).x();
        const int right = b->Gitterpunkt(column + 1, 0).x();
        QVERIFY2(dot.left() > left && dot.right() < right, qPrintable(QStringLiteral("marker %1").arg(i)));
        const QRgb centre = image.pixel(dot.center());
        QVERIFY2(centre != b->Hintergrund().rgba() && !isDark(centre),
                 qPrintable(QStringLiteral("marker %1 is drawn").arg(i)));
        // Between two strings, never on one.
        for (int row = 0; row < saiten; ++row) {
            const int y = b->Gitterpunkt(0, row).y();
            QVERIFY(dot.bottom() < y - 1 || dot.top() > y + 1);
            QVERIFY(isDark(image.pixel(dot.center().x(), y)));
        }
    }
    // The disc at the twelfth fret stays whole over the markers.
    QVERIFY(isBlack(image.pixel(insideSymbol(b->GetFeld(11, 0)))));
}

void LegibleBoardTest::fretNumbersStandUnderEveryFifthColumn()
{
    auto b = board(1009, 330, 16);
    b->SetLagenpunkte(true);
    b->Zeichnen();
    QCOMPARE(b->fretNumberCount(), 3);
    const QRect label = b->fretLabelPlacement().box;
    for (int i = 0; i < 3; ++i) {
        const int fret = 5 * (i + 1);
        const QRect box = b->fretNumberPlacement(i).box;
        const int middle = (b->Gitterpunkt(fret - 1, 0).x() + b->Gitterpunkt(fret, 0).x()) / 2;
        QVERIFY2(std::abs(box.center().x() - middle) <= 1, qPrintable(QStringLiteral("fret %1").arg(fret)));
        QVERIFY(!box.intersects(label));
        QVERIFY(box.top() >= b->GetFeld(fret - 1, 5).bottom);
        QVERIFY(box.right() < 1009 && box.bottom() < 330 + 8);
        QRect ink;
        for (int y = box.top(); y <= std::min(box.bottom(), 329); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (isDark(b->Puffer().pixel(x, y)))
                    ink |= QRect(x, y, 1, 1);
        QVERIFY2(!ink.isEmpty() && ink.bottom() < 330, qPrintable(QStringLiteral("fret %1").arg(fret)));
    }
}

void LegibleBoardTest::noMarkersWhenSwitchedOff()
{
    auto b = board(1009, 330, 16);
    QVERIFY(!b->Lagenpunkte());
    b->Zeichnen();
    b->Zeichnen();
    QCOMPARE(b->markerCount(), 0);
    QCOMPARE(b->fretNumberCount(), 0);
    const QImage plain = b->Puffer().copy();
    b->SetLagenpunkte(true);
    b->Zeichnen();
    QVERIFY(plain != b->Puffer());
    b->SetLagenpunkte(false);
    b->Zeichnen();
    QCOMPARE(b->Puffer(), plain);
}

QTEST_MAIN(LegibleBoardTest)
#include "LegibleBoardTest.moc"
