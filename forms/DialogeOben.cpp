#include "forms/DialogeOben.h"

#include <QDialog>
#include <QEvent>
#include <QWidget>
#include <QWindow>

DialogeOben::DialogeOben(QObject* owner) : QObject(owner) {}

bool DialogeOben::IstDialog(const QWidget* fenster)
{
    if (!fenster || !fenster->isWindow())
        return false;
    const Qt::WindowType type = fenster->windowType();
    return qobject_cast<const QDialog*>(fenster) || type == Qt::Dialog || type == Qt::Sheet;
}

bool DialogeOben::eventFilter(QObject* watched, QEvent* event)
{
    // The show event comes before the window is mapped, so the hint is there when the window manager
    // first places it.
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* fenster = static_cast<QWidget*>(watched);
        if (IstDialog(fenster) && !(fenster->windowFlags() & Qt::WindowStaysOnTopHint)) {
            fenster->overrideWindowFlags(fenster->windowFlags() | Qt::WindowStaysOnTopHint);
            if (QWindow* window = fenster->windowHandle())
                window->setFlags(window->flags() | Qt::WindowStaysOnTopHint);
        }
    }
    return QObject::eventFilter(watched, event);
}
