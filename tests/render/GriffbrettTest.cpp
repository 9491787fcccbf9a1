#include <memory>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QTest>

#include "render/Griffbrett.h"

namespace {

std::unique_ptr<GriffbrettClass> laidOut(int breite = 269, int hoehe = 261, int buende = 10)
{
    auto board = std::make_unique<GriffbrettClass>(breite, hoehe);
    board->SetBundanzahl(buende);
    return board;
}

bool isDark(QRgb pixel)
{
    return qGray(pixel) < 128 && qAlpha(pixel) == 255;
}

bool isBlack(QRgb pixel)
{
    return (pixel & 0xffffffu) == 0 && qAlpha(pixel) == 255;
}

// Dark pixels in column x within 4 pixels of y: the thickness of a horizontal line there.
int thicknessAcross(const QImage& image, int x, int y)
{
    int count = 0;
    for (int dy = -4; dy <= 4; ++dy)
        count += isDark(image.pixel(x, y + dy)) ? 1 : 0;
    return count;
}

// Dark pixels in row y within 4 pixels of x: the thickness of a vertical line there.
int thicknessAlong(const QImage& image, int x, int y)
{
    int count = 0;
    for (int dx = -4; dx <= 4; ++dx)
        count += isDark(image.pixel(x + dx, y)) ? 1 : 0;
    return count;
}

int darkPixelsIn(const QImage& image, const QRect& area)
{
    int count = 0;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            count += isDark(image.pixel(x, y)) ? 1 : 0;
    return count;
}

// A point inside the cell's symbol but off its string line and off its digit.
QPoint insideSymbol(const CellRect& cell)
{
    return QPoint(cell.left + cell.width() / 2, cell.top + cell.height() / 2 + cell.height() / 4);
}

} // namespace

class GriffbrettTest : public QObject
{
    Q_OBJECT

private slots:
    void layoutMatchesTheWorkedExamples_data();
    void layoutMatchesTheWorkedExamples();
    void fourStringsSpreadOverTheFullHeight();
    void thirtyFretsPutTheRightTextsRightOfLineThirty();
    void nutAndFretLabelFollowTheFirstFret_data();
    void nutAndFretLabelFollowTheFirstFret();
    void symbolsOutsideTheColumnsSetZuKleinAndOthersStillShow();
    void barreOverStringsTwoToFiveCoversFourRows();
    void symbolImagesAreRebuiltAtTheNewSize();
    void symbolImagesCarryTheirDigit();
    void symbolSetRefusesTwentyTexts();
    void degenerateBoardsPaintWithoutCrashing_data();
    void degenerateBoardsPaintWithoutCrashing();
    void invalidSymbolsAreDropped();
    void atMostHundredSymbolsAreKept();
    void penStaysTwoPixelsAfterTheFirstNut();
    void layoutThroughAnyLayerLaysOutTheWholeBoard_data();
    void layoutThroughAnyLayerLaysOutTheWholeBoard();
    void paintThroughAnyLayerPaintsTheWholeBoard_data();
    void paintThroughAnyLayerPaintsTheWholeBoard();
    void fretCountThroughTheFretLayerRelaysEveryLayer();
    void baseOperationsReachTheOwningLayer();
    void textsAreCutOnACharacterBoundary_data();
    void textsAreCutOnACharacterBoundary();
    void titleAndSideTextsAppearOnlyWhenSet();
    void kopierenCopiesTheWholeBuffer();
    void lineCoverageMatchesQtsOwnLines_data();
    void lineCoverageMatchesQtsOwnLines();
};

void GriffbrettTest::layoutMatchesTheWorkedExamples_data()
{
    QTest::addColumn<int>("breite");
    QTest::addColumn<int>("hoehe");
    QTest::addColumn<int>("randLinks");
    QTest::addColumn<int>("bundabstand");
    QTest::addColumn<int>("randOben");
    QTest::addColumn<int>("saitenabstand");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("beschriftungsabstand");
    QTest::addColumn<int>("titleHeight");
    QTest::addColumn<int>("rightHeight");
    QTest::addColumn<int>("leftHeight");
    QTest::addColumn<int>("titleTop");

    // The designed title top (RandOben - height - Beschriftungsabstand + 5) would let the name's
    // descenders run into the discs of the top string, so the title sits higher; in the small board
    // the 20-pixel "X" would stick out left of the surface and shrinks to fit the 8 pixels there.
    QTest::newRow("269x261") << 269 << 261 << 20 << 22 << 43 << 35 << 18 << 9 << 30 << 16 << 14 << 3;
    QTest::newRow("grown to 538x522") << 538 << 522 << 41 << 45 << 87 << 69 << 37 << 18 << 63 << 32 << 36
                                      << 3;
}

void GriffbrettTest::layoutMatchesTheWorkedExamples()
{
    QFETCH(int, breite);
    QFETCH(int, hoehe);
    QFETCH(int, randLinks);
    QFETCH(int, bundabstand);
    QFETCH(int, randOben);
    QFETCH(int, saitenabstand);
    QFETCH(int, side);
    QFETCH(int, beschriftungsabstand);
    QFETCH(int, titleHeight);
    QFETCH(int, rightHeight);
    QFETCH(int, leftHeight);
    QFETCH(int, titleTop);
    auto board = laidOut(269, 261, 10);
    board->SetGroesseUndAnordnen(breite, hoehe);

    QCOMPARE(board->Puffer().size(), QSize(breite, hoehe));
    QCOMPARE(board->RandLinks(), randLinks);
    QCOMPARE(board->Bundabstand(), bundabstand);
    QCOMPARE(board->RandOben(), randOben);
    QCOMPARE(board->Saitenabstand(), saitenabstand);
    const CellRect cell = board->GetFeld(0, 0);
    QCOMPARE(cell.width(), side);
    QCOMPARE(cell.height(), side);
    QCOMPARE(cell.top, randOben - side / 2);
    QCOMPARE(board->Beschriftungsabstand(), beschriftungsabstand);
    QCOMPARE(board->Titel().Schrifthoehe, titleHeight);
    QCOMPARE(board->Bundname(0).Schrifthoehe, titleHeight);
    QCOMPARE(board->TextRechts(0).Schrifthoehe, rightHeight);
    QCOMPARE(board->TextLinks(0).Schrifthoehe, leftHeight);
    QCOMPARE(board->Bundname(0).PosY, randOben + 5 * saitenabstand + beschriftungsabstand);
    QCOMPARE(board->Titel().PosY, titleTop);
    QVERIFY(board->Titel().PosY < randOben - titleHeight - beschriftungsabstand + 5);
}

void GriffbrettTest::fourStringsSpreadOverTheFullHeight()
{
    auto board = laidOut();
    board->AddSymbol(0, 0, 4, 3);
    board->AddSymbol(0, 0, 1, 3);
    board->SetSaitenzahl(4);
    board->SymboleLoeschen();
    board->AddSymbol(0, 0, 4, 3);
    board->AddSymbol(0, 0, 1, 5);

    QCOMPARE(board->RandOben(), 261 / 4);
    QCOMPARE(board->Saitenabstand(), (261 - 2 * (261 / 4)) / 3);
    QCOMPARE(board->Gitterpunkt(0, 3).y(), board->RandOben() + 3 * board->Saitenabstand());
    QCOMPARE(board->Symbol(0).Zeile, 0);
    QCOMPARE(board->Symbol(1).Zeile, 3);

    board->Zeichnen();
    const QImage& image = board->Puffer();
    QVERIFY2(isBlack(image.pixel(insideSymbol(board->GetFeld(2, 0)))), "string 4 is the top row");
    QVERIFY2(isBlack(image.pixel(insideSymbol(board->GetFeld(4, 3)))), "string 1 is the bottom row");
    QVERIFY(!board->ZuKlein());
}

void GriffbrettTest::thirtyFretsPutTheRightTextsRightOfLineThirty()
{
    auto board = laidOut();
    board->SetBundanzahl(30);
    for (int j = 0; j < 6; ++j)
        board->SetTextRechts(j, QStringLiteral("E"));
    board->Zeichnen();

    const int lineThirty = board->Gitterpunkt(30, 0).x();
    QCOMPARE(lineThirty, board->RandLinks() + 30 * board->Bundabstand());
    QVERIFY(lineThirty < board->Breite());
    const QImage& image = board->Puffer();
    for (int j = 0; j < 6; ++j) {
        const BeschriftungClass& text = board->TextRechts(j);
        QCOMPARE(text.PosX, lineThirty + board->Textabstand());
        const QRect box(text.PosX, text.PosY, text.Schrifthoehe, text.Schrifthoehe + 4);
        QVERIFY2(darkPixelsIn(image, box) > 0, qPrintable(QStringLiteral("right text of row %1").arg(j)));
    }
}

void GriffbrettTest::nutAndFretLabelFollowTheFirstFret_data()
{
    QTest::addColumn<int>("startbund");
    QTest::addColumn<bool>("nut");
    QTest::addColumn<QString>("label");

    QTest::newRow("first fret 1") << 1 << true << QStringLiteral("1.Bund");
    QTest::newRow("first fret 5") << 5 << false << QStringLiteral("5.Bund");
    QTest::newRow("first fret 30") << 30 << false << QStringLiteral("30.Bund");
}

void GriffbrettTest::nutAndFretLabelFollowTheFirstFret()
{
    QFETCH(int, startbund);
    QFETCH(bool, nut);
    QFETCH(QString, label);
    auto board = laidOut();
    board->SetStartbund(startbund);
    board->Zeichnen();

    const QImage& image = board->Puffer();
    const int x0 = board->RandLinks();
    const int between = board->RandOben() + board->Saitenabstand() / 2;
    QCOMPARE(isDark(image.pixel(x0 - 5, between)), nut);
    QCOMPARE(isDark(image.pixel(x0 - 2, board->RandOben())), nut);
    if (!nut)
        QCOMPARE(image.pixel(x0 - 5, between), board->Hintergrund().rgba());

    QCOMPARE(board->fretLabel(), label);
    const BeschriftungClass& first = board->Bundname(0);
    const QRect labelBox(first.PosX, first.PosY, first.Schrifthoehe * label.size(), first.Schrifthoehe + 4);
    QVERIFY(darkPixelsIn(image, labelBox) > 0);
}

void GriffbrettTest::symbolsOutsideTheColumnsSetZuKleinAndOthersStillShow()
{
    auto board = laidOut();
    board->SetStartbund(5);
    board->AddSymbol(0, 0, 3, 4);  // below the first fret shown
    board->AddSymbol(0, 0, 2, 15); // one past the last fret shown
    board->AddSymbol(0, 0, 1, 7);
    board->AddSymbol(0, 0, 6, 14);
    board->Zeichnen();

    QVERIFY(board->ZuKlein());
    const QImage& image = board->Puffer();
    QVERIFY(isBlack(image.pixel(insideSymbol(board->GetFeld(2, 5)))));
    QVERIFY(isBlack(image.pixel(insideSymbol(board->GetFeld(9, 0)))));
    QVERIFY(!isDark(image.pixel(insideSymbol(board->GetFeld(0, 3)))));

    board->SymboleLoeschen();
    board->AddSymbol(0, 0, 1, 7);
    board->Zeichnen();
    QVERIFY2(!board->ZuKlein(), "every paint recomputes ZuKlein");
}

void GriffbrettTest::barreOverStringsTwoToFiveCoversFourRows()
{
    auto board = laidOut();
    board->AddSymbol(3, 1, 5, 3);
    QCOMPARE(board->Symbol(0).Spalte, 2);
    QCOMPARE(board->Symbol(0).Zeile, 1);
    const FingerObjClass* bars = board->Symbolsatz(3);
    QVERIFY(bars != nullptr);
    const CellRect anchor = board->GetFeld(2, 1);
    QCOMPARE(bars->Breite(), anchor.width());
    QCOMPARE(bars->Hoehe(), 3 * board->Saitenabstand() + anchor.width());
    QCOMPARE(bars->Hoehe(), board->GetFeld(2, 4).bottom - anchor.top);

    board->Zeichnen();
    const QImage& image = board->Puffer();
    const int x = anchor.left + anchor.width() / 2;
    const int bottom = anchor.top + bars->Hoehe();
    QVERIFY2(isBlack(image.pixel(x, board->Gitterpunkt(2, 1).y() + 4)), "string 5");
    QVERIFY2(isBlack(image.pixel(x, board->Gitterpunkt(2, 4).y() + 4)), "string 2");
    QVERIFY2(!isDark(image.pixel(x, anchor.top - 2)), "string 6 stays free");
    QVERIFY2(!isDark(image.pixel(x, bottom + 2)), "string 1 stays free");
}

void GriffbrettTest::symbolImagesAreRebuiltAtTheNewSize()
{
    auto board = laidOut();
    QCOMPARE(board->Symbolsatz(0)->Breite(), 18);
    QCOMPARE(board->Symbolsatz(0)->Bild(1).size(), QSize(18, 18));

    board->SetGroesseUndAnordnen(538, 522);
    const FingerObjClass* discs = board->Symbolsatz(0);
    QCOMPARE(discs->Breite(), 37);
    QCOMPARE(discs->Hoehe(), 37);
    QCOMPARE(discs->Schrifthoehe(), 3 * (37 / 4));
    for (int bild = 0; bild < 5; ++bild)
        QCOMPARE(discs->Bild(bild).size(), QSize(37, 37));
    QCOMPARE(board->Symbolsatz(5)->Bild(0).size(), QSize(37, 5 * 69 + 37));

    const QImage& disc = discs->Bild(0);
    QCOMPARE(qAlpha(disc.pixel(0, 0)), 0);
    QCOMPARE(disc.pixel(18, 18), qRgba(0, 0, 0, 255));
}

void GriffbrettTest::symbolImagesCarryTheirDigit()
{
    auto board = laidOut(538, 522);
    auto whitePixels = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += qGray(image.pixel(x, y)) > 200 && qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
        return count;
    };
    for (int art = 0; art < 6; ++art) {
        const FingerObjClass* set = board->Symbolsatz(art);
        QCOMPARE(set->Textanzahl(), 5);
        QCOMPARE(whitePixels(set->Bild(0)), 0);
        for (int bild = 1; bild < 5; ++bild)
            QVERIFY2(whitePixels(set->Bild(bild)) > 10,
                     qPrintable(QStringLiteral("kind %1 digit %2").arg(art).arg(bild)));
    }
}

void GriffbrettTest::symbolSetRefusesTwentyTexts()
{
    auto board = laidOut();
    FingerObjClass set(*board, 0);
    const char* twenty[20] = {};
    for (const char*& text : twenty)
        text = "9";
    QVERIFY(!set.setTexts(twenty));
    QCOMPARE(set.Textanzahl(), 5);
    QCOMPARE(QString::fromUtf8(set.Text(4)), QStringLiteral("4"));

    const char* three[] = {"", "a", "b"};
    QVERIFY(set.setTexts(three));
    set.build();
    QCOMPARE(set.Textanzahl(), 3);
    QVERIFY(!set.Bild(2).isNull());
    QVERIFY(set.Bild(3).isNull());
}

void GriffbrettTest::degenerateBoardsPaintWithoutCrashing_data()
{
    QTest::addColumn<int>("breite");
    QTest::addColumn<int>("hoehe");
    QTest::addColumn<int>("saiten");
    QTest::addColumn<int>("buende");
    QTest::addColumn<int>("saitenanzahl");
    QTest::addColumn<int>("bundanzahl");

    QTest::newRow("one string") << 269 << 261 << 1 << 10 << 1 << 10;
    QTest::newRow("no strings") << 269 << 261 << 0 << 10 << 1 << 10;
    QTest::newRow("too many strings") << 269 << 261 << 99 << 10 << 6 << 10;
    QTest::newRow("no frets") << 269 << 261 << 6 << 0 << 6 << 0;
    QTest::newRow("negative frets") << 269 << 261 << 6 << -5 << 6 << 0;
    QTest::newRow("too many frets") << 269 << 261 << 6 << 99 << 6 << 30;
    QTest::newRow("0x0") << 0 << 0 << 6 << 10 << 6 << 10;
    QTest::newRow("negative size") << -10 << -3 << 6 << 10 << 6 << 10;
    QTest::newRow("1x1") << 1 << 1 << 6 << 10 << 6 << 10;
    QTest::newRow("5x4, one string, no frets") << 5 << 4 << 1 << 0 << 1 << 0;
}

void GriffbrettTest::degenerateBoardsPaintWithoutCrashing()
{
    QFETCH(int, breite);
    QFETCH(int, hoehe);
    QFETCH(int, saiten);
    QFETCH(int, buende);
    QFETCH(int, saitenanzahl);
    QFETCH(int, bundanzahl);
    GriffbrettClass board(breite, hoehe);
    board.SetSaitenzahl(saiten);
    board.SetBundanzahl(buende);
    QCOMPARE(board.Saitenanzahl(), saitenanzahl);
    QCOMPARE(board.Bundanzahl(), bundanzahl);

    board.SetTitel(QStringLiteral("Cmaj7"));
    for (int art = 0; art < 6; ++art)
        board.AddSymbol(art, art % 5, saitenanzahl, 1 + art);
    board.AddSymbol(0, 1, 1, 2147483647);
    board.AddSymbol(0, 1, 1, -2147483647);
    board.Zeichnen();
    board.Zeichnen();
    QVERIFY2(board.ZuKlein(), "the far-off frets lie outside the columns");

    QImage target(std::max(breite, 1), std::max(hoehe, 1), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&target);
    board.Kopieren(painter);
    painter.end();

    if (saitenanzahl == 1 && breite > 100) {
        QCOMPARE(board.RandOben(), hoehe / 2);
        QVERIFY(board.Saitenabstand() > 0);
        QVERIFY(board.GetFeld(0, 0).width() > 0);
    }
}

void GriffbrettTest::invalidSymbolsAreDropped()
{
    auto board = laidOut();
    board->AddSymbol(-1, 0, 1, 1);
    board->AddSymbol(6, 0, 1, 1);
    board->AddSymbol(0, -1, 1, 1);
    board->AddSymbol(0, 5, 1, 1);
    board->AddSymbol(0, 0, 0, 1);
    board->AddSymbol(0, 0, 7, 1);
    QCOMPARE(board->Symbolanzahl(), 0);

    board->SetSaitenzahl(4);
    board->AddSymbol(0, 0, 5, 1);
    QCOMPARE(board->Symbolanzahl(), 0);
    board->AddSymbol(5, 4, 4, 1);
    QCOMPARE(board->Symbolanzahl(), 1);
    board->Zeichnen();
    QVERIFY(!board->ZuKlein());
}

void GriffbrettTest::atMostHundredSymbolsAreKept()
{
    auto board = laidOut();
    for (int i = 0; i < 105; ++i)
        board->AddSymbol(0, 1, 1 + i % 6, 1 + i % 10);
    QCOMPARE(board->Symbolanzahl(), 100);
    QCOMPARE(board->Symbol(99).Spalte, 9);
    QCOMPARE(board->Symbol(100).Spalte, 0);
    board->Zeichnen();

    board->SymboleLoeschen();
    QCOMPARE(board->Symbolanzahl(), 0);
    board->AddSymbol(0, 1, 1, 1);
    QCOMPARE(board->Symbolanzahl(), 1);
}

void GriffbrettTest::penStaysTwoPixelsAfterTheFirstNut()
{
    auto fresh = laidOut();
    fresh->SetStartbund(5);
    fresh->Zeichnen();
    const int x = fresh->RandLinks() + 3 * fresh->Bundabstand() + fresh->Bundabstand() / 2;
    const int y = fresh->RandOben() + 2 * fresh->Saitenabstand();
    QCOMPARE(thicknessAcross(fresh->Puffer(), x, y), 1);

    auto board = laidOut();
    board->Zeichnen();
    const int fretX = board->RandLinks() + 3 * board->Bundabstand();
    const int between = board->RandOben() + board->Saitenabstand() / 2;
    QCOMPARE(thicknessAlong(board->Puffer(), fretX, between), 1); // fret lines come before the nut
    QCOMPARE(thicknessAcross(board->Puffer(), x, y), 2);

    board->SetStartbund(5);
    board->Zeichnen();
    QCOMPARE(thicknessAlong(board->Puffer(), fretX, between), 2);
    QCOMPARE(thicknessAcross(board->Puffer(), x, y), 2);

    board->SetGroesseUndAnordnen(269, 261);
    board->Zeichnen();
    QCOMPARE(thicknessAcross(board->Puffer(), x, y), 2);
}

void GriffbrettTest::layoutThroughAnyLayerLaysOutTheWholeBoard_data()
{
    QTest::addColumn<int>("layer");
    QTest::newRow("fret layer") << 0;
    QTest::newRow("string layer") << 1;
    QTest::newRow("symbol layer") << 2;
    QTest::newRow("base, SetGroesse") << 3;
}

void GriffbrettTest::layoutThroughAnyLayerLaysOutTheWholeBoard()
{
    QFETCH(int, layer);
    GriffbrettClass board(269, 261);
    QCOMPARE(board.RandLinks(), 40);
    QCOMPARE(board.RandOben(), 60);
    QVERIFY(board.Symbolsatz(0) == nullptr);

    switch (layer) {
    case 0:
        static_cast<BundClass&>(board).Anordnen();
        break;
    case 1:
        static_cast<SaitenClass&>(board).Anordnen();
        break;
    case 2:
        static_cast<FingerClass&>(board).Anordnen();
        break;
    default:
        static_cast<GriffbrettMainClass&>(board).SetGroesse(269, 261);
        break;
    }

    QCOMPARE(board.RandLinks(), 269 / 7);
    QCOMPARE(board.RandOben(), 43);
    QVERIFY(board.GetFeld(3, 5).width() > 0);
    QVERIFY(board.Symbolsatz(5) != nullptr);
    QCOMPARE(board.TextRechts(0).PosX, board.Gitterpunkt(4, 0).x() + board.Textabstand());
    QCOMPARE(board.Bundname(0).PosX, board.RandLinks());
    QCOMPARE(board.Titel().Schrifthoehe, 30);
}

void GriffbrettTest::paintThroughAnyLayerPaintsTheWholeBoard_data()
{
    QTest::addColumn<int>("layer");
    QTest::newRow("fret layer") << 0;
    QTest::newRow("string layer") << 1;
}

void GriffbrettTest::paintThroughAnyLayerPaintsTheWholeBoard()
{
    QFETCH(int, layer);
    auto board = laidOut();
    board->SetTitel(QStringLiteral("Dmaj7"));
    board->AddSymbol(0, 0, 3, 2);
    board->AddSymbol(0, 0, 3, 20);
    if (layer == 0)
        static_cast<BundClass&>(*board).Zeichnen();
    else
        static_cast<SaitenClass&>(*board).Zeichnen();

    const QImage& image = board->Puffer();
    QVERIFY2(board->ZuKlein(), "symbols");
    QVERIFY2(isBlack(image.pixel(insideSymbol(board->GetFeld(1, 3)))), "symbols");
    QVERIFY2(isDark(image.pixel(board->RandLinks() + board->Bundabstand() / 2, board->RandOben())),
             "strings");
    QVERIFY2(isDark(image.pixel(board->RandLinks() + board->Bundabstand(), board->RandOben() + 5)), "frets");
    const BeschriftungClass& title = board->Titel();
    QVERIFY2(darkPixelsIn(image, QRect(title.PosX, title.PosY, 100, title.Schrifthoehe)) > 0, "title");
}

void GriffbrettTest::fretCountThroughTheFretLayerRelaysEveryLayer()
{
    auto board = laidOut();
    BundClass& frets = *board;
    frets.SetBundanzahl(12);
    QCOMPARE(board->Bundzahl(), 12);
    QCOMPARE(board->LetzterBund(), 12);
    QVERIFY(board->GetFeld(11, 0).width() > 0);
    QCOMPARE(board->GetFeld(12, 0), CellRect());
    QCOMPARE(board->TextRechts(0).PosX, board->Gitterpunkt(12, 0).x() + board->Textabstand());
    QCOMPARE(board->Symbolsatz(0)->Breite(), board->GetFeld(0, 0).width());
}

void GriffbrettTest::baseOperationsReachTheOwningLayer()
{
    auto board = laidOut();
    board->SetStartbund(7);
    board->SetSaitenzahl(5);
    GriffbrettMainClass& base = *board;
    QCOMPARE(base.GetStartbund(), 7);
    QCOMPARE(base.ErsterBund(), 7);
    QCOMPARE(base.LetzterBund(), 16);
    QCOMPARE(base.GetSaitenzahl(), 5);
    QCOMPARE(base.GetRandOben(), 261 / 5);
    QCOMPARE(base.GetFeld(4, 4).top,
             board->RandOben() + 4 * board->Saitenabstand() - base.GetFeld(4, 4).height() / 2);
    QCOMPARE(base.GetFeld(4, 5), CellRect());
    QCOMPARE(base.GetFeld(-1, 0), CellRect());
    base.SetZuKlein();
    QVERIFY(board->ZuKlein());
    base.ClearZuKlein();
    QVERIFY(!board->ZuKlein());
}

void GriffbrettTest::textsAreCutOnACharacterBoundary_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");

    const QString umlauts51 = QString(51, QChar(0x00e4));
    QTest::newRow("short") << QStringLiteral("Dmaj7") << QStringLiteral("Dmaj7");
    QTest::newRow("102 bytes exactly") << umlauts51 << umlauts51;
    QTest::newRow("cut inside a character")
        << QStringLiteral("a") + umlauts51 << QStringLiteral("a") + QString(50, QChar(0x00e4));
    QTest::newRow("long ASCII") << QString(150, QLatin1Char('x')) << QString(102, QLatin1Char('x'));
    QTest::newRow("empty") << QString() << QString();
}

void GriffbrettTest::textsAreCutOnACharacterBoundary()
{
    QFETCH(QString, text);
    QFETCH(QString, kept);
    auto board = laidOut();
    board->SetTitel(text);
    board->SetTextLinks(2, text);
    board->SetTextRechts(5, text);
    board->SetTextRechts(6, text);
    QCOMPARE(board->Titel().text(), kept);
    QCOMPARE(board->TextLinks(2).text(), kept);
    QCOMPARE(board->TextRechts(5).text(), kept);
    QCOMPARE(board->TextRechts(6).text(), QString());
    board->Zeichnen();
}

void GriffbrettTest::titleAndSideTextsAppearOnlyWhenSet()
{
    auto board = laidOut();
    board->Zeichnen();
    const QImage& image = board->Puffer();
    // Between the side texts, from the top edge down to the title's bottom.
    const QRect aboveBoard(
        QPoint(board->RandLinks(), 0),
        QPoint(board->Gitterpunkt(10, 0).x(), board->Titel().PosY + board->Titel().Schrifthoehe));
    QCOMPARE(darkPixelsIn(image, aboveBoard), 0);
    QCOMPARE(image.pixel(0, 0), board->Hintergrund().rgba());
    const BeschriftungClass& left = board->TextLinks(3);
    QCOMPARE(left.text(), QStringLiteral("X"));
    // The X ends where the gap before the nut begins.
    const QRect leftBox(left.PosX, left.PosY, board->RandLinks() - 5 - board->Textabstand() - left.PosX,
                        left.Schrifthoehe + 4);
    QVERIFY(darkPixelsIn(image, leftBox) > 0);

    board->SetTitel(QStringLiteral("C#maj7"));
    board->SetTextLinks(3, QString());
    board->Zeichnen();
    QVERIFY(darkPixelsIn(image, aboveBoard) > 0);
    QCOMPARE(darkPixelsIn(image, leftBox), 0);
}

void GriffbrettTest::kopierenCopiesTheWholeBuffer()
{
    auto board = laidOut();
    board->SetTitel(QStringLiteral("Am"));
    board->AddSymbol(1, 2, 3, 2);
    board->Zeichnen();

    QImage target(269, 261, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::red);
    QPainter painter(&target);
    board->Kopieren(painter);
    painter.end();
    QCOMPARE(target, board->Puffer());
}

void GriffbrettTest::lineCoverageMatchesQtsOwnLines_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");

    for (int width : {1, 2}) {
        const QByteArray pen = QByteArray::number(width) + " px, ";
        QTest::newRow(pen + "vertical") << width << QPoint(10, 4) << QPoint(10, 30);
        QTest::newRow(pen + "vertical upwards") << width << QPoint(10, 30) << QPoint(10, 4);
        QTest::newRow(pen + "horizontal") << width << QPoint(3, 12) << QPoint(33, 12);
        QTest::newRow(pen + "horizontal leftwards") << width << QPoint(33, 12) << QPoint(3, 12);
        QTest::newRow(pen + "a point") << width << QPoint(20, 20) << QPoint(20, 20);
        QTest::newRow(pen + "nut stub") << width << QPoint(16, 9) << QPoint(20, 9);
    }
}

void GriffbrettTest::lineCoverageMatchesQtsOwnLines()
{
    QFETCH(int, width);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QImage drawn(40, 40, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::white);
    QImage filled = drawn;
    QPainter painter(&drawn);
    painter.setPen(QPen(Qt::black, width, Qt::SolidLine));
    painter.drawLine(from, to);
    painter.end();
    painter.begin(&filled);
    painter.fillRect(lineCoverage(from, to, width), Qt::black);
    painter.end();
    QCOMPARE(filled, drawn);
}

QTEST_MAIN(GriffbrettTest)
#include "GriffbrettTest.moc"
