#include "render/GriffbrettMain.h"

#include <algorithm>
#include <cstring>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QString>

bool haveGuiApplication()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

QFont courierFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(std::max(pixelSize, 1));
    font.setBold(bold);
    return font;
}

QSize textSize(const QFont& font, const char* utf8)
{
    if (!haveGuiApplication())
        return QSize();
    const QFontMetrics metrics(font);
    return QSize(metrics.horizontalAdvance(QString::fromUtf8(utf8)), metrics.height());
}

QRect lineCoverage(QPoint a, QPoint b, int penWidth)
{
    if ((a.x() != b.x() && a.y() != b.y()) || penWidth < 1 || penWidth > 2)
        return QRect();
    const QPoint topLeft(std::min(a.x(), b.x()), std::min(a.y(), b.y()));
    const QPoint bottomRight(std::max(a.x(), b.x()), std::max(a.y(), b.y()));
    // A 2-pixel pen straddles the line, taking the pixel row or column before it.
    const int before = penWidth - 1;
    return QRect(topLeft - QPoint(before, before), bottomRight);
}

GriffbrettMainClass::GriffbrettMainClass(int breite, int hoehe)
    : m_Hintergrund(haveGuiApplication() ? QGuiApplication::palette().color(QPalette::ToolTipBase)
                                         : QColor(255, 255, 225)),
      m_pen(Qt::black, 1, Qt::SolidLine)
{
    GriffbrettMainClass::SetGroesse(breite, hoehe);
}

GriffbrettMainClass::~GriffbrettMainClass() = default;

void GriffbrettMainClass::SetGroesse(int breite, int hoehe)
{
    m_Breite = std::max(breite, 0);
    m_Hoehe = std::max(hoehe, 0);
    if (m_Flaeche.isActive())
        m_Flaeche.end();
    m_Puffer = QImage(m_Breite, m_Hoehe, QImage::Format_ARGB32_Premultiplied);
    m_Rahmen = QRect(0, 0, m_Breite, m_Hoehe);
    if (m_Puffer.isNull())
        return;
    m_Puffer.fill(m_Hintergrund);
    m_Flaeche.begin(&m_Puffer);
    m_Flaeche.setPen(m_pen);
}

void GriffbrettMainClass::Kopieren(QPainter& ziel) const
{
    if (!m_Puffer.isNull())
        ziel.drawImage(m_Rahmen, m_Puffer, m_Rahmen);
}

QPoint GriffbrettMainClass::Gitterpunkt(int bund, int zeile) const
{
    if (bund < 0 || bund > MaxFretColumns || zeile < 0 || zeile >= MaxStringRows)
        return QPoint();
    return m_Gitter[bund][zeile];
}

void GriffbrettMainClass::stampText(TextStamp& stamp, int x, int y, const char* utf8, const QFont& font)
{
    if (!m_Flaeche.isActive() || utf8[0] == '\0')
        return;
    if (stamp.layout != m_layout || std::strcmp(stamp.text, utf8) != 0) {
        std::strncpy(stamp.text, utf8, sizeof stamp.text - 1);
        stamp.layout = m_layout;
        stamp.image = QImage();
        const QSize size = textSize(font, utf8);
        if (!size.isEmpty()) {
            stamp.image = QImage(size, QImage::Format_ARGB32_Premultiplied);
            stamp.image.fill(m_Hintergrund);
            QPainter painter(&stamp.image);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(0, QFontMetrics(font).ascent(), QString::fromUtf8(utf8));
        }
    }
    if (!stamp.image.isNull())
        m_Flaeche.drawImage(x, y, stamp.image);
}

void GriffbrettMainClass::drawLine(QPoint a, QPoint b)
{
    // Filling the covered rectangle gives the same pixels as drawLine in half the time: the
    // raster engine strokes a vertical line one span per pixel row.
    const QRect area = lineCoverage(a, b, m_pen.width());
    if (area.isValid() && m_pen.style() == Qt::SolidLine)
        m_Flaeche.fillRect(area, m_pen.color());
    else
        m_Flaeche.drawLine(a, b);
}
