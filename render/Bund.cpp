#include "render/Bund.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Frets that carry a position marker; the octaves carry two.
constexpr int markedFrets[] = {3, 5, 7, 9, 12, 15, 17, 19, 21, 24};
const QColor markerColour(190, 180, 150);

bool isOctave(int fret)
{
    return fret % 12 == 0;
}

} // namespace

BundClass::BundClass()
{
    for (int i = 0; i < MaxFretColumns; ++i)
        std::snprintf(m_Bundnamen[i].Inhalt, sizeof m_Bundnamen[i].Inhalt, "%d.", i + 1);
    refreshCopies();
}

int BundClass::GetStartbund() const
{
    return m_Startbund;
}

void BundClass::SetBundanzahl(int n)
{
    m_Bundanzahl = std::clamp(n, 0, MaxFretColumns);
    refreshCopies();
    Anordnen();
}

void BundClass::Zeichnen()
{
    if (!m_Flaeche.isActive())
        return;
    const int lastRow = m_Saitenzahl - 1;
    for (int i = 0; i <= m_Bundzahl; ++i)
        drawLine(m_Gitter[i][0], m_Gitter[i][lastRow]);
    drawMarkers();

    if (GetStartbund() == 1) {
        // The nut's 2-pixel pen stays for every later line, in this paint and all later ones.
        m_pen = QPen(Qt::black, 2, Qt::SolidLine);
        m_Flaeche.setPen(m_pen);
        const int x0 = m_Gitter[0][0].x();
        for (int j = 0; j <= lastRow; ++j)
            drawLine(QPoint(x0 - 4, m_Gitter[0][j].y()), QPoint(x0, m_Gitter[0][j].y()));
        const int top = m_Gitter[0][0].y();
        const int bottom = m_Gitter[0][lastRow].y();
        drawLine(QPoint(x0 - 4, top), QPoint(x0 - 4, bottom));
        drawLine(QPoint(x0 - 5, top), QPoint(x0 - 5, bottom));
    }

    char label[112];
    composeLabel(label);
    stampText(m_labelStamp, m_Bundnamen[0].PosX, m_Bundnamen[0].PosY, label, m_labelFont,
              m_Breite - m_Bundnamen[0].PosX);
    drawFretNumbers();
}

void BundClass::Anordnen()
{
    layoutAxis();
    layoutLabels(GetRandOben());
}

void BundClass::SetZuKlein()
{
    m_ZuKlein = true;
}

void BundClass::ClearZuKlein()
{
    m_ZuKlein = false;
}

void BundClass::SetStartbund(int n)
{
    m_Startbund = std::clamp(n, 1, MaxFretColumns);
    refreshCopies();
}

const BeschriftungClass& BundClass::Bundname(int i) const
{
    static const BeschriftungClass none;
    return i >= 0 && i < MaxFretColumns ? m_Bundnamen[i] : none;
}

QString BundClass::fretLabel() const
{
    char label[112];
    composeLabel(label);
    return QString::fromUtf8(label);
}

TextPlacement BundClass::fretLabelPlacement() const
{
    char label[112];
    composeLabel(label);
    return placeText(m_Bundnamen[0].PosX, m_Bundnamen[0].PosY, label, m_labelFont,
                     m_Breite - m_Bundnamen[0].PosX);
}

int BundClass::fretNumberCount() const
{
    FretNumber numbers[MaxFretColumns / 5];
    return fretNumbers(numbers);
}

TextPlacement BundClass::fretNumberPlacement(int i) const
{
    FretNumber numbers[MaxFretColumns / 5];
    if (i < 0 || i >= fretNumbers(numbers))
        return {};
    char text[8];
    std::snprintf(text, sizeof text, "%d", numbers[i].fret);
    return placeText(numbers[i].at.x(), numbers[i].at.y(), text, m_numberFont, m_Breite);
}

int BundClass::markerCount() const
{
    QRect rects[12];
    return markers(rects);
}

QRect BundClass::markerRect(int i) const
{
    QRect rects[12];
    return i >= 0 && i < markers(rects) ? spiegeln(rects[i]) : QRect();
}

void BundClass::layoutAxis(int rightMargin)
{
    m_RandLinks = m_Breite / (m_Bundzahl + 3);
    // Without fret columns there is nothing to space; fret line 0 alone stays at RandLinks.
    const int right = std::max(m_RandLinks, rightMargin);
    m_Bundabstand = (m_Breite - m_RandLinks - right) / std::max(m_Bundzahl, 1);
    for (int i = 0; i <= m_Bundzahl; ++i)
        for (int j = 0; j < m_Saitenzahl; ++j)
            m_Gitter[i][j].setX(m_RandLinks + i * m_Bundabstand);
}

void BundClass::layoutLabels(int textRand)
{
    const CellRect cell = GetFeld(0, 0);
    m_Beschriftungsabstand = cell.height() / 2;
    int height = 3 * (textRand / 4);
    // The label keeps its place under the board; a font whose glyphs would reach below the surface
    // shrinks.
    const int top = m_Gitter[0][std::max(m_Saitenzahl - 1, 0)].y() + m_Beschriftungsabstand;
    while (height > 1 && top + inkBounds(courierFont(height, true), "30.Bund").bottom() >= m_Hoehe)
        --height;
    for (int i = 0; i < MaxFretColumns; ++i) {
        BeschriftungClass& label = m_Bundnamen[i];
        std::snprintf(label.Inhalt, sizeof label.Inhalt, "%d.", i + 1);
        label.Schriftstil = FontStyle::Bold;
        label.Schrifthoehe = height;
        label.PosX = m_Gitter[0][0].x();
        label.PosY = m_Gitter[0][m_Saitenzahl - 1].y() + m_Beschriftungsabstand;
    }
    m_labelFont = courierFont(m_Bundnamen[0].Schrifthoehe, m_Bundnamen[0].Schriftstil == FontStyle::Bold);
    // Two digits fit their column with a pixel to spare on either side.
    m_numberFont = courierFont(fittingPixelSize("30", 2 * height / 3, true, m_Bundabstand - 2, 1), true);
}

int BundClass::markers(QRect (&rects)[12]) const
{
    if (!m_Lagenpunkte || m_Saitenzahl < 1 || m_Bundzahl < 1)
        return 0;
    const int gaps = m_Saitenzahl - 1;
    const int pitch = gaps > 0 ? m_Gitter[0][1].y() - m_Gitter[0][0].y() : m_Bundabstand;
    const auto gapMiddle = [this, pitch](int k) { return m_Gitter[0][k].y() + pitch / 2; };
    const int diameter = std::max(3, 2 * std::min(m_Bundabstand, pitch) / 5);
    const auto dot = [diameter](int x, int y) {
        return QRect(x - diameter / 2, y - diameter / 2, diameter, diameter);
    };
    // A single marker sits in the middle gap; an octave's two in gaps symmetric about it, or side by
    // side when the board has only one gap.
    const int single = std::max(gaps - 1, 0) / 2;
    const int firstOfTwo = std::max((gaps - 1) / 2 - (gaps + 1) / 4, 0);
    const int secondOfTwo = std::max(gaps - 1 - firstOfTwo, 0);
    int count = 0;
    for (int fret : markedFrets) {
        const int column = fret - m_ErsterBund;
        if (column < 0 || column >= m_Bundzahl)
            continue;
        const int x = (m_Gitter[column][0].x() + m_Gitter[column + 1][0].x()) / 2;
        if (!isOctave(fret)) {
            rects[count++] = dot(x, gapMiddle(single));
        } else if (gaps >= 2) {
            rects[count++] = dot(x, gapMiddle(firstOfTwo));
            rects[count++] = dot(x, gapMiddle(secondOfTwo));
        } else {
            rects[count++] = dot(x - 3 * diameter / 4, gapMiddle(0));
            rects[count++] = dot(x + 3 * diameter / 4, gapMiddle(0));
        }
    }
    return count;
}

void BundClass::drawMarkers()
{
    QRect rects[12];
    const int count = markers(rects);
    if (count == 0)
        return;
    m_Flaeche.save();
    m_Flaeche.setRenderHint(QPainter::Antialiasing);
    m_Flaeche.setPen(Qt::NoPen);
    m_Flaeche.setBrush(markerColour);
    for (int i = 0; i < count; ++i)
        m_Flaeche.drawEllipse(spiegeln(rects[i]));
    m_Flaeche.restore();
}

int BundClass::fretNumbers(FretNumber (&numbers)[MaxFretColumns / 5]) const
{
    if (!m_Lagenpunkte || m_Bundzahl < 1)
        return 0;
    char label[112];
    composeLabel(label);
    const BeschriftungClass& first = m_Bundnamen[0];
    const QSize labelSize = textSize(m_labelFont, label);
    const QRect labelBox(first.PosX, first.PosY, std::min(labelSize.width(), m_Breite - first.PosX),
                         labelSize.height());
    int count = 0;
    for (int fret = 5; fret <= MaxFretColumns; fret += 5) {
        const int column = fret - m_ErsterBund;
        if (column < 0 || column >= m_Bundzahl)
            continue;
        char text[8];
        std::snprintf(text, sizeof text, "%d", fret);
        const QSize size = textSize(m_numberFont, text);
        const int middle = (m_Gitter[column][0].x() + m_Gitter[column + 1][0].x()) / 2;
        const QRect box(middle - size.width() / 2, first.PosY, size.width(), size.height());
        // The fret label says more; a number that would run into it stays away.
        if (size.isEmpty() || box.intersects(labelBox) || box.right() >= m_Breite)
            continue;
        numbers[count++] = {fret, box.topLeft()};
    }
    return count;
}

void BundClass::drawFretNumbers()
{
    FretNumber numbers[MaxFretColumns / 5];
    const int count = fretNumbers(numbers);
    for (int i = 0; i < count; ++i) {
        char text[8];
        std::snprintf(text, sizeof text, "%d", numbers[i].fret);
        // One stamp per number slot; a slot re-renders only when its fret changes.
        stampText(m_numberStamps[i], numbers[i].at.x(), numbers[i].at.y(), text, m_numberFont, m_Breite);
    }
}

void BundClass::refreshCopies()
{
    m_Bundzahl = m_Bundanzahl;
    m_ErsterBund = m_Startbund;
    m_LetzterBund = m_Startbund + m_Bundanzahl - 1;
}

void BundClass::composeLabel(char (&label)[112]) const
{
    std::snprintf(label, sizeof label, "%sBund", m_Bundnamen[m_Startbund - 1].Inhalt);
}
