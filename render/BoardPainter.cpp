#include "render/BoardPainter.h"

#include <cstdlib>

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QString>
#include <QTransform>

#include "render/Griffbrett.h"

namespace {

const QColor markerColour(190, 180, 150);
// The least pixel height a text shrinks to before it is shortened, as on the board.
constexpr int leastShrunkHeight = 6;

// A text in the box the board gives it: shrunk and shortened as the board does when the box is
// narrower than the text, vertically centred in the box of its unshrunk height.
void drawPlaced(QPainter& painter, const TextPlacement& placement, const QString& text, QFont font,
                const QColor& colour)
{
    if (text.isEmpty() || placement.box.isEmpty())
        return;
    const QRect box = placement.box;
    QString shown = text;
    if (QFontMetrics(font).horizontalAdvance(text) > box.width()) {
        const QByteArray utf8 = text.toUtf8();
        font = courierFont(
            fittingPixelSize(utf8.constData(), font.pixelSize(), font.bold(), box.width(), leastShrunkHeight),
            font.bold());
        // Box widths are whole pixels: a pixel more is no reason to shorten.
        if (placement.shortened && QFontMetrics(font).horizontalAdvance(text) > box.width() + 1)
            shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, box.width() + 1);
    }
    const QFontMetrics metrics(font);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(
        QPointF(box.left(), box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent()), shown);
}

QFont recordFont(const BeschriftungClass& record, bool bold)
{
    return courierFont(record.Schrifthoehe, bold);
}

// The largest font whose line fits the height of a box.
QFont fontForHeight(int height, bool bold)
{
    int size = height;
    while (size > 1 && QFontMetrics(courierFont(size, bold)).height() > height)
        --size;
    return courierFont(size, bold);
}

// The fret of the column a fret number stands under.
int fretUnder(const GriffbrettClass& board, const QRect& box)
{
    const int centre = board.spiegeln(box).center().x();
    int column = 0;
    int nearest = -1;
    for (int c = 0; c < board.Bundzahl(); ++c) {
        const int middle = (board.Gitterpunkt(c, 0).x() + board.Gitterpunkt(c + 1, 0).x()) / 2;
        const int distance = std::abs(middle - centre);
        if (nearest < 0 || distance < nearest) {
            nearest = distance;
            column = c;
        }
    }
    return board.ErsterBund() + column;
}

// The finger digit shrinks until it fits the symbol, the way the symbol sets fit it.
void drawDigit(QPainter& painter, const QRect& shape, int art, int schrifthoehe, const char* text)
{
    const QString digit = QString::fromUtf8(text);
    if (digit.isEmpty())
        return;
    const int limit = art == 0 ? 3 * (shape.height() / 4) : schrifthoehe;
    int height = limit;
    int width = 0;
    QFont font;
    do {
        --height;
        font = courierFont(height, true);
        width = QFontMetrics(font).horizontalAdvance(digit);
    } while (width > limit && height > 1);
    const QFontMetrics metrics(font);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(shape.left() + (shape.width() - width) / 2,
                             shape.top() + (shape.height() - metrics.height()) / 2 + metrics.ascent()),
                     digit);
}

} // namespace

void BoardPainter::paint(const GriffbrettClass& board, QPainter& painter)
{
    painter.save();
    painter.fillRect(board.Rahmen(), board.Hintergrund());

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(markerColour);
    for (int i = 0; i < board.markerCount(); ++i)
        painter.drawEllipse(QRectF(board.markerRect(i)));
    painter.restore();

    // Lines and shapes are laid out unmirrored; a left-handed board mirrors them as a whole.
    painter.save();
    if (board.Linkshaender())
        painter.setTransform(QTransform(-1, 0, 0, 1, board.Breite(), 0), true);
    const int lastRow = board.Saitenanzahl() - 1;
    const int frets = board.Bundzahl();
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i <= frets; ++i)
        painter.drawLine(board.Gitterpunkt(i, 0), board.Gitterpunkt(i, lastRow));
    if (board.GetStartbund() == 1) {
        // A bar three pixels wide left of fret line 0, joined to it at every string.
        const int x0 = board.Gitterpunkt(0, 0).x();
        const int top = board.Gitterpunkt(0, 0).y();
        const int bottom = board.Gitterpunkt(0, lastRow).y();
        painter.fillRect(QRect(QPoint(x0 - 6, top - 1), QPoint(x0 - 4, bottom)), Qt::black);
        for (int j = 0; j <= lastRow; ++j) {
            const int y = board.Gitterpunkt(0, j).y();
            painter.fillRect(QRect(QPoint(x0 - 6, y - 1), QPoint(x0, y)), Qt::black);
        }
    }
    for (int j = 0; j <= lastRow; ++j)
        painter.drawLine(board.Gitterpunkt(0, j), board.Gitterpunkt(frets, j));
    painter.restore();

    // Texts are placed where the board shows them, mirrored boxes included, and never mirrored.
    const BeschriftungClass& titel = board.Titel();
    drawPlaced(painter, board.titelPlacement(), titel.text(), recordFont(titel, true), Qt::black);
    const BeschriftungClass& label = board.Bundname(0);
    drawPlaced(painter, board.fretLabelPlacement(), board.fretLabel(),
               recordFont(label, label.Schriftstil == FontStyle::Bold), Qt::black);
    for (int i = 0; i < board.fretNumberCount(); ++i) {
        const TextPlacement number = board.fretNumberPlacement(i);
        drawPlaced(painter, number, QString::number(fretUnder(board, number.box)),
                   fontForHeight(number.box.height(), true), Qt::black);
    }
    const BeschriftungClass& links0 = board.TextLinks(0);
    const BeschriftungClass& rechts0 = board.TextRechts(0);
    const QFont leftFont = recordFont(links0, links0.Schriftstil == FontStyle::Bold);
    const QFont rightFont = recordFont(rechts0, rechts0.Schriftstil == FontStyle::Bold);
    for (int j = 0; j <= lastRow; ++j) {
        drawPlaced(painter, board.TextLinksFeld(j), board.TextLinks(j).text(), leftFont, Qt::black);
        drawPlaced(painter, board.TextRechtsFeld(j), board.TextRechts(j).text(), rightFont, Qt::black);
    }

    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < board.Symbolanzahl(); ++i) {
        const SymbolEintragClass& symbol = board.Symbol(i);
        const FingerObjClass* set = board.Symbolsatz(symbol.Art);
        if (symbol.Spalte < 0 || symbol.Spalte >= frets || !set)
            continue;
        const CellRect cell = board.GetFeld(symbol.Spalte, symbol.Zeile);
        const QRect shape = board.spiegeln(QRect(cell.left, cell.top, set->Breite(), set->Hoehe()));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        if (symbol.Art == 0)
            painter.drawEllipse(QRectF(shape));
        else
            painter.drawRoundedRect(QRectF(shape), shape.width() / 2.0, shape.width() / 2.0);
        drawDigit(painter, shape, symbol.Art, set->Schrifthoehe(), set->Text(symbol.Bild));
    }
    painter.restore();
}
