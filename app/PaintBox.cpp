#include "app/PaintBox.h"

#include <QMouseEvent>
#include <QPainter>

PaintBox::PaintBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (onPaint)
        onPaint(painter);
}

void PaintBox::mousePressEvent(QMouseEvent* event)
{
    m_pressPending = true;
    if (onMouseDown)
        onMouseDown(event);
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event)
{
    m_pressPending = false;
    if (onMouseUp)
        onMouseUp(event);
}

void PaintBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second click of a double click is a press like the first; some platforms deliver that
    // press before the double-click event, others only the double-click event.
    if (!m_pressPending)
        mousePressEvent(event);
}

void PaintBox::resizeEvent(QResizeEvent*)
{
    if (onResize)
        onResize();
}
