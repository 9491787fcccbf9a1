#pragma once

#include <QWidget>

#include <functional>

// A plain surface whose painting and mouse presses are handled by its owner.
class PaintBox : public QWidget
{
    Q_OBJECT

public:
    explicit PaintBox(QWidget* parent = nullptr);

    std::function<void(QPainter&)> onPaint;
    std::function<void(QMouseEvent*)> onMouseDown;
    std::function<void(QMouseEvent*)> onMouseUp;
    std::function<void()> onResize;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool m_pressPending = false;
};
