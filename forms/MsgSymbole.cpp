#include "forms/MsgSymbole.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace {

const QColor warningYellow(255, 214, 0);
const QColor errorRed(204, 0, 0);
const QColor markBlue(0, 64, 200);

QImage emptyPicture()
{
    QImage picture(MsgSymbolGroesse, MsgSymbolGroesse, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    return picture;
}

void drawWarning(QPainter& painter)
{
    const QPointF corners[] = {{18.5, 1.5}, {35.5, 34.5}, {1.5, 34.5}};
    painter.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(warningYellow);
    painter.drawPolygon(corners, 3);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const QPointF stem[] = {{16.0, 11.0}, {21.0, 11.0}, {19.8, 25.0}, {17.2, 25.0}};
    painter.drawPolygon(stem, 4);
    painter.drawEllipse(QPointF(18.5, 29.5), 2.3, 2.3);
}

void drawError(QPainter& painter)
{
    painter.setPen(QPen(errorRed.darker(150), 1.5));
    painter.setBrush(errorRed);
    painter.drawEllipse(QPointF(18.5, 18.5), 16.5, 16.5);

    painter.setPen(QPen(Qt::white, 4.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(12.0, 12.0), QPointF(25.0, 25.0));
    painter.drawLine(QPointF(25.0, 12.0), QPointF(12.0, 25.0));
}

void drawBubble(QPainter& painter)
{
    QPainterPath bubble;
    bubble.addEllipse(QRectF(1.5, 1.5, 34.0, 26.0));
    QPainterPath tail;
    const QPointF tailCorners[] = {{9.0, 22.0}, {17.0, 26.0}, {5.0, 35.5}};
    tail.addPolygon(QPolygonF(std::begin(tailCorners), std::end(tailCorners)));
    tail.closeSubpath();

    painter.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(bubble.united(tail));
}

void drawQuestion(QPainter& painter)
{
    drawBubble(painter);
    QPainterPath hook;
    const QRectF arc(13.0, 5.0, 11.0, 10.0);
    hook.arcMoveTo(arc, 170.0);
    hook.arcTo(arc, 170.0, -250.0);
    hook.quadTo(QPointF(18.5, 16.5), QPointF(18.5, 19.0));
    painter.setPen(QPen(markBlue, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(hook);

    painter.setPen(Qt::NoPen);
    painter.setBrush(markBlue);
    painter.drawEllipse(QPointF(18.5, 23.5), 2.0, 2.0);
}

void drawInformation(QPainter& painter)
{
    drawBubble(painter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(markBlue);
    painter.drawEllipse(QPointF(18.5, 7.5), 2.3, 2.3);
    painter.drawRoundedRect(QRectF(16.5, 11.5, 4.0, 13.0), 1.0, 1.0);
}

QPixmap drawSymbol(void (*draw)(QPainter&))
{
    QImage picture = emptyPicture();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QPixmap::fromImage(picture);
}

} // namespace

const std::array<QPixmap, 4>& MsgSymbole()
{
    static const std::array<QPixmap, 4> symbols = {drawSymbol(&drawWarning), drawSymbol(&drawError),
                                                   drawSymbol(&drawQuestion), drawSymbol(&drawInformation)};
    return symbols;
}

const QPixmap& MsgSymbol(int index)
{
    static const QPixmap none;
    if (index < 0 || index >= 4)
        return none;
    return MsgSymbole()[index];
}
