#include "app/Bildschirmlage.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <climits>

namespace {

constexpr int gap = 8;

QRect nearestArea(const QPoint& point)
{
    QRect best;
    long long bestDistance = LLONG_MAX;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        const QRect area = screen->availableGeometry();
        const int dx =
            point.x() < area.left() ? area.left() - point.x() : std::max(0, point.x() - area.right());
        const int dy =
            point.y() < area.top() ? area.top() - point.y() : std::max(0, point.y() - area.bottom());
        const long long distance = static_cast<long long>(dx) * dx + static_cast<long long>(dy) * dy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = area;
        }
    }
    return best;
}

QPoint clampInto(const QRect& frame, const QRect& area)
{
    if (area.isEmpty())
        return frame.topLeft();
    const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    return {x, y};
}

} // namespace

QPoint sichtbareLage(const QRect& rahmen)
{
    if (QGuiApplication::screenAt(rahmen.center()))
        return rahmen.topLeft();
    return clampInto(rahmen, nearestArea(rahmen.center()));
}

QPoint lageDaneben(const QRect& neben, const QSize& groesse)
{
    const QRect area = nearestArea(neben.center());
    QRect frame(QPoint(neben.right() + 1 + gap, neben.top()), groesse);
    if (!area.isEmpty() && frame.right() > area.right())
        frame.moveLeft(neben.left() - gap - groesse.width());
    return clampInto(frame, area);
}

QSize passendeGroesse(const QSize& gewuenscht, const QSize& minimum, const QPoint& ort)
{
    const QRect area = nearestArea(ort);
    const QSize most = area.isEmpty() ? QSize(4096, 4096) : area.size();
    const QSize least = minimum.expandedTo(QSize(1, 1)).boundedTo(most);
    return {std::clamp(gewuenscht.width(), least.width(), most.width()),
            std::clamp(gewuenscht.height(), least.height(), most.height())};
}
