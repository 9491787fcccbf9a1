#include "render/ChordBoxPainter.h"

#include <algorithm>
#include <cmath>

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include "render/ChordBox.h"

namespace {

// Everything in units of the string spacing.
constexpr double padding = 0.3;
constexpr double sideMargin = 1.5;
constexpr double titleRow = 1.35;
constexpr double titleText = 1.0;
constexpr double markRow = 1.0;
constexpr double markSide = 0.56;
constexpr double fretSpacing = 1.3;
constexpr double annotationRow = 0.9;
constexpr double annotationText = 0.5;
constexpr double dotSide = 0.78;
constexpr double fingerText = 0.56;
constexpr double fretNumberText = 0.62;
constexpr double lineWeight = 0.07;
constexpr double markWeight = 0.09;
constexpr double nutWeight = 0.3;

bool hasAnnotations(const ChordBox& box)
{
    return std::any_of(box.unten.begin(), box.unten.begin() + std::clamp(box.saiten, 1, MaxSaiten),
                       [](const QString& text) { return !text.isEmpty(); });
}

QFont boxFont(double pixelSize, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    font.setBold(bold);
    // The same pixels from every program on every screen: the window's and the command line's PNG agree.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    return font;
}

// The font shrunk until text fits into width.
QFont fitted(double pixelSize, bool bold, const QString& text, double width)
{
    QFont font = boxFont(pixelSize, bold);
    while (font.pixelSize() > 1 && QFontMetricsF(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

int weight(double unit, double share, int least)
{
    return std::max(least, static_cast<int>(std::lround(unit * share)));
}

} // namespace

ChordBoxPainter::Strokes ChordBoxPainter::strokesFor(double unit)
{
    return {weight(unit, lineWeight, 1), weight(unit, markWeight, 1), weight(unit, nutWeight, 3)};
}

QSizeF ChordBoxPainter::proportions(const ChordBox& box)
{
    const int strings = std::clamp(box.saiten, 1, MaxSaiten);
    const double height = 2 * padding + (box.titel.isEmpty() ? 0.0 : titleRow) + markRow +
                          std::max(1, box.bundanzahl) * fretSpacing +
                          (hasAnnotations(box) ? annotationRow : 0.0);
    return QSizeF(2 * sideMargin + (strings - 1), height);
}

double ChordBoxPainter::unitFor(const ChordBox& box, const QSizeF& area)
{
    const QSizeF units = proportions(box);
    return std::max(0.0, std::min(area.width() / units.width(), area.height() / units.height()));
}

ChordBoxPainter::Geometry ChordBoxPainter::geometry(const ChordBox& box, const QRectF& area)
{
    const double unit = unitFor(box, area.size());
    const QSizeF size = proportions(box) * unit;
    return geometry(
        box,
        QRectF(area.left(), area.top() + (area.height() - size.height()) / 2, area.width(), size.height()),
        unit, strokesFor(unit));
}

ChordBoxPainter::Geometry ChordBoxPainter::geometry(const ChordBox& box, const QRectF& area, double unit,
                                                    const Strokes& strokes)
{
    Geometry g;
    g.unit = unit;
    g.strokes = strokes;
    g.strings = std::clamp(box.saiten, 1, MaxSaiten);
    g.frets = std::max(1, box.bundanzahl);
    g.linkshaender = box.linkshaender;
    const QSizeF size = proportions(box) * unit;
    const double left = area.left() + (area.width() - size.width()) / 2;
    g.bounds = QRectF(left, area.top(), size.width(), size.height());
    double y = area.top() + padding * unit;
    if (!box.titel.isEmpty()) {
        g.title = QRectF(left, y, size.width(), titleRow * unit);
        y += titleRow * unit;
    }
    g.markY = y + markRow * unit * 0.42;
    y += markRow * unit;
    g.spacing = std::max(1, static_cast<int>(std::lround(unit)));
    g.fretHeight = std::max(1, static_cast<int>(std::lround(unit * fretSpacing)));
    // Lines lie on whole pixels: every string and every fret the same weight.
    g.gridLeft = static_cast<int>(std::lround(left + sideMargin * unit));
    g.gridTop = static_cast<int>(std::lround(y));
    g.gridWidth = (g.strings - 1) * g.spacing;
    g.gridBottom = g.gridTop + g.frets * g.fretHeight;
    g.nut =
        QRect(g.gridLeft, g.gridTop - strokes.nut + strokes.line, g.gridWidth + strokes.line, strokes.nut);
    // Clear of a dot or bar on the outer string.
    const double gap = (dotSide / 2 + 0.1) * unit;
    const double width = sideMargin * unit - gap;
    g.fretNumber = box.linkshaender
                       ? QRectF(g.gridLeft + g.gridWidth + strokes.line + gap, g.gridTop, width, g.fretHeight)
                       : QRectF(g.gridLeft - gap - width, g.gridTop, width, g.fretHeight);
    return g;
}

int ChordBoxPainter::Geometry::stringX(int saite) const
{
    const int column = linkshaender ? strings - saite : saite - 1;
    return gridLeft + column * spacing;
}

QRectF ChordBoxPainter::Geometry::mark(int saite) const
{
    const double side = markSide * unit;
    return QRectF(stringX(saite) + strokes.line / 2.0 - side / 2, markY - side / 2, side, side);
}

void ChordBoxPainter::paint(QPainter& painter, const QRectF& area, const ChordBox& box)
{
    const Geometry g = geometry(box, area);
    paint(painter, g.bounds, box, g.unit, g.strokes);
}

void ChordBoxPainter::paint(QPainter& painter, const QRectF& area, const ChordBox& box, double unit,
                            const Strokes& strokes)
{
    if (unit <= 0)
        return;
    const Geometry g = geometry(box, area, unit, strokes);
    const int strings = g.strings;
    const int frets = g.frets;
    const int line = strokes.line;
    const int mark = strokes.mark;
    const int spacing = g.spacing;
    const int fretHeight = g.fretHeight;
    const int gridLeft = g.gridLeft;
    const int gridWidth = g.gridWidth;
    const int gridTop = g.gridTop;
    const int gridBottom = g.gridBottom;
    const auto columnX = [&g](int saite) { return g.stringX(saite); };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    if (!box.titel.isEmpty()) {
        painter.setPen(Qt::black);
        painter.setFont(fitted(titleText * unit, true, box.titel, g.title.width()));
        painter.drawText(g.title, Qt::AlignHCenter | Qt::AlignVCenter, box.titel);
    }

    // x and o over the strings.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int saite = 1; saite <= strings; ++saite) {
        const ChordBox::Saite status = box.status[static_cast<std::size_t>(saite - 1)];
        const QRectF square = g.mark(saite);
        painter.setPen(QPen(Qt::black, mark, Qt::SolidLine, Qt::FlatCap));
        painter.setBrush(Qt::NoBrush);
        if (status == ChordBox::Saite::Leer) {
            painter.drawEllipse(square.adjusted(mark / 2.0, mark / 2.0, -mark / 2.0, -mark / 2.0));
        } else if (status == ChordBox::Saite::Stumm) {
            painter.drawLine(square.topLeft(), square.bottomRight());
            painter.drawLine(square.topRight(), square.bottomLeft());
        }
    }
    painter.restore();

    // Frets across, the nut as a thick bar on top when the box starts at the first fret.
    for (int f = box.startbund == 1 ? 1 : 0; f <= frets; ++f)
        painter.fillRect(QRect(gridLeft, gridTop + f * fretHeight, gridWidth + line, line), Qt::black);
    if (box.startbund == 1)
        painter.fillRect(g.nut, Qt::black);
    for (int saite = 1; saite <= strings; ++saite)
        painter.fillRect(QRect(columnX(saite), gridTop, line, gridBottom - gridTop + line), Qt::black);

    if (box.startbund > 1) {
        const QString number = QString::number(box.startbund);
        painter.setPen(Qt::black);
        painter.setFont(fitted(fretNumberText * unit, true, number, g.fretNumber.width()));
        painter.drawText(g.fretNumber, (box.linkshaender ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                         number);
    }

    // Dots and bars in the middle of their fret, the finger in white.
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double dot = dotSide * unit;
    const QFont fingerFont = boxFont(fingerText * unit, true);
    const auto fretCentre = [&](int bund) {
        return gridTop + (bund - box.startbund + 0.5) * fretHeight + line / 2.0;
    };
    const auto shown = [&](int bund) { return bund >= box.startbund && bund < box.startbund + frets; };
    const auto digit = [&](const QRectF& shape, int finger) {
        if (finger < 1 || finger > 4)
            return;
        painter.setPen(Qt::white);
        painter.setFont(fingerFont);
        painter.drawText(shape, Qt::AlignCenter, QString::number(finger));
    };
    for (const ChordBox::Barre& barre : box.barres) {
        if (!shown(barre.bund))
            continue;
        const double a = columnX(std::clamp(barre.tiefsteSaite, 1, strings)) + line / 2.0;
        const double b = columnX(std::clamp(barre.hoechsteSaite, 1, strings)) + line / 2.0;
        const QRectF shape(std::min(a, b) - dot / 2, fretCentre(barre.bund) - dot / 2, std::abs(b - a) + dot,
                           dot);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(shape, dot / 2, dot / 2);
        digit(shape, barre.finger);
    }
    for (const ChordBox::Punkt& punkt : box.punkte) {
        if (!shown(punkt.bund) || punkt.saite < 1 || punkt.saite > strings)
            continue;
        const QRectF shape(columnX(punkt.saite) + line / 2.0 - dot / 2, fretCentre(punkt.bund) - dot / 2, dot,
                           dot);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(shape);
        digit(shape, punkt.finger);
    }

    if (hasAnnotations(box)) {
        const double top = gridBottom + line;
        for (int saite = 1; saite <= strings; ++saite) {
            const QString& text = box.unten[static_cast<std::size_t>(saite - 1)];
            if (text.isEmpty())
                continue;
            const double width = spacing * 0.98;
            const QRectF place(columnX(saite) + line / 2.0 - width / 2, top, width, annotationRow * unit);
            painter.setPen(Qt::black);
            painter.setFont(fitted(annotationText * unit, false, text, width));
            painter.drawText(place, Qt::AlignCenter, text);
        }
    }
    painter.restore();
}
