#include "render/BoardPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QString>

#include "render/Griffbrett.h"

namespace {

QFont recordFont(const BeschriftungClass& record, bool bold)
{
    return courierFont(record.Schrifthoehe, bold);
}

// Top-left placement as the renderer's stamps use it: the baseline lies one ascent below.
void drawTextAt(QPainter& painter, int x, int y, const QString& text, const QFont& font, const QColor& colour)
{
    if (text.isEmpty())
        return;
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPointF(x, y + QFontMetrics(font).ascent()), text);
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
    const int left = shape.left() + (shape.width() - width) / 2;
    const int top = shape.top() + (shape.height() - metrics.height()) / 2;
    drawTextAt(painter, left, top, digit, font, Qt::white);
}

} // namespace

void BoardPainter::paint(const GriffbrettClass& board, QPainter& painter)
{
    painter.save();
    painter.fillRect(board.Rahmen(), board.Hintergrund());

    const BeschriftungClass& titel = board.Titel();
    drawTextAt(painter, titel.PosX, titel.PosY, titel.text(), recordFont(titel, true), Qt::black);

    const int lastRow = board.Saitenanzahl() - 1;
    const int frets = board.Bundzahl();
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i <= frets; ++i)
        painter.drawLine(board.Gitterpunkt(i, 0), board.Gitterpunkt(i, lastRow));
    if (board.GetStartbund() == 1) {
        const int x0 = board.Gitterpunkt(0, 0).x();
        const int top = board.Gitterpunkt(0, 0).y();
        const int bottom = board.Gitterpunkt(0, lastRow).y();
        // A bar three pixels wide left of fret line 0, joined to it at every string.
        painter.fillRect(QRect(QPoint(x0 - 6, top - 1), QPoint(x0 - 4, bottom)), Qt::black);
        for (int j = 0; j <= lastRow; ++j) {
            const int y = board.Gitterpunkt(0, j).y();
            painter.fillRect(QRect(QPoint(x0 - 6, y - 1), QPoint(x0, y)), Qt::black);
        }
    }
    const BeschriftungClass& label = board.Bundname(0);
    drawTextAt(painter, label.PosX, label.PosY, board.fretLabel(),
               recordFont(label, label.Schriftstil == FontStyle::Bold), Qt::black);

    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    for (int j = 0; j <= lastRow; ++j)
        painter.drawLine(board.Gitterpunkt(0, j), board.Gitterpunkt(frets, j));
    const QFont leftFont = recordFont(board.TextLinks(0), board.TextLinks(0).Schriftstil == FontStyle::Bold);
    const QFont rightFont = recordFont(board.TextRechts(0), board.TextRechts(0).Schriftstil == FontStyle::Bold);
    for (int j = 0; j <= lastRow; ++j) {
        const BeschriftungClass& links = board.TextLinks(j);
        drawTextAt(painter, links.PosX, links.PosY, links.text(), leftFont, Qt::black);
        const BeschriftungClass& rechts = board.TextRechts(j);
        drawTextAt(painter, rechts.PosX, rechts.PosY, rechts.text(), rightFont, Qt::black);
    }

    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < board.Symbolanzahl(); ++i) {
        const SymbolEintragClass& symbol = board.Symbol(i);
        const FingerObjClass* set = board.Symbolsatz(symbol.Art);
        if (symbol.Spalte < 0 || symbol.Spalte >= frets || !set)
            continue;
        const CellRect cell = board.GetFeld(symbol.Spalte, symbol.Zeile);
        const QRect shape(cell.left, cell.top, set->Breite(), set->Hoehe());
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
