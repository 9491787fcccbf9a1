#include "render/GriffbrettMain.h"

#include <algorithm>
#include <cmath>
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

QRect inkBounds(const QFont& font, const char* utf8)
{
    if (!haveGuiApplication())
        return QRect();
    const QFontMetrics metrics(font);
    return metrics.tightBoundingRect(QString::fromUtf8(utf8)).translated(0, metrics.ascent());
}

int fittingPixelSize(const char* utf8, int pixelSize, bool bold, int maxWidth, int least)
{
    for (int size = pixelSize; size > least; --size) {
        if (textSize(courierFont(size, bold), utf8).width() <= maxWidth)
            return size;
    }
    return std::max(least, 1);
}

namespace {

// How a text is drawn into the box its font gives it.
struct FittedText
{
    QFont font;
    QString shown;
    QSize box; // the box of the unshrunk text's height, as wide as what is drawn
    int baseline = 0;
    bool shortened = false;
};

// The smallest size a text shrinks to before it is shortened instead.
constexpr int leastShrunkHeight = 6;

FittedText fitText(const char* utf8, const QFont& font, int maxWidth)
{
    FittedText fitted;
    fitted.font = font;
    fitted.shown = QString::fromUtf8(utf8);
    const QSize natural = textSize(font, utf8);
    if (natural.isEmpty() || maxWidth <= 0)
        return fitted;
    int width = natural.width();
    if (width > maxWidth) {
        fitted.shortened = true;
        fitted.font = courierFont(
            fittingPixelSize(utf8, font.pixelSize(), font.bold(), maxWidth, leastShrunkHeight), font.bold());
        const QFontMetrics metrics(fitted.font);
        fitted.shown = metrics.elidedText(fitted.shown, Qt::ElideRight, maxWidth);
        width = metrics.horizontalAdvance(fitted.shown);
    }
    const QFontMetrics metrics(fitted.font);
    fitted.box = QSize(width, natural.height());
    fitted.baseline = (natural.height() - metrics.height()) / 2 + metrics.ascent();
    return fitted;
}

} // namespace

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
    // The image covers every device pixel of the logical surface; the painter scales by itself.
    const auto device = [this](int logical) {
        return static_cast<int>(std::ceil(logical * m_Pixelverhaeltnis - 1e-6));
    };
    m_Puffer = QImage(device(m_Breite), device(m_Hoehe), QImage::Format_ARGB32_Premultiplied);
    m_Puffer.setDevicePixelRatio(m_Pixelverhaeltnis);
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
        ziel.drawImage(m_Rahmen.topLeft(), m_Puffer);
}

QRect GriffbrettMainClass::spiegeln(const QRect& rect) const
{
    if (!m_Linkshaender)
        return rect;
    return QRect(m_Breite - rect.x() - rect.width(), rect.y(), rect.width(), rect.height());
}

QPoint GriffbrettMainClass::Gitterpunkt(int bund, int zeile) const
{
    if (bund < 0 || bund > MaxFretColumns || zeile < 0 || zeile >= MaxStringRows)
        return QPoint();
    return m_Gitter[bund][zeile];
}

void GriffbrettMainClass::stampText(TextStamp& stamp, int x, int y, const char* utf8, const QFont& font,
                                    int maxWidth)
{
    if (!m_Flaeche.isActive() || utf8[0] == '\0')
        return;
    if (stamp.layout != m_layout || std::strcmp(stamp.text, utf8) != 0) {
        std::strncpy(stamp.text, utf8, sizeof stamp.text - 1);
        stamp.layout = m_layout;
        stamp.image = QImage();
        const FittedText fitted = fitText(utf8, font, maxWidth);
        if (!fitted.box.isEmpty()) {
            stamp.image = QImage(fitted.box * m_Pixelverhaeltnis, QImage::Format_ARGB32_Premultiplied);
            stamp.image.setDevicePixelRatio(m_Pixelverhaeltnis);
            stamp.image.fill(m_Hintergrund);
            QPainter painter(&stamp.image);
            painter.setFont(fitted.font);
            painter.setPen(Qt::black);
            painter.drawText(0, fitted.baseline, fitted.shown);
        }
    }
    if (!stamp.image.isNull()) {
        const QSize box = stamp.image.deviceIndependentSize().toSize();
        m_Flaeche.drawImage(spiegeln(QRect(QPoint(x, y), box)).topLeft(), stamp.image);
    }
}

TextPlacement GriffbrettMainClass::placeText(int x, int y, const char* utf8, const QFont& font,
                                             int maxWidth) const
{
    TextPlacement placement;
    if (utf8[0] == '\0')
        return placement;
    const FittedText fitted = fitText(utf8, font, maxWidth);
    if (fitted.box.isEmpty())
        return placement;
    placement.box = spiegeln(QRect(QPoint(x, y), fitted.box));
    placement.shortened = fitted.shortened;
    return placement;
}

void GriffbrettMainClass::drawLine(QPoint a, QPoint b)
{
    // Filling the covered rectangle gives the same pixels as drawLine in half the time: the
    // raster engine strokes a vertical line one span per pixel row.
    const QRect area = lineCoverage(a, b, m_pen.width());
    if (area.isValid() && m_pen.style() == Qt::SolidLine) {
        m_Flaeche.fillRect(spiegeln(area), m_pen.color());
    } else if (m_Linkshaender) {
        m_Flaeche.drawLine(QPoint(m_Breite - 1 - a.x(), a.y()), QPoint(m_Breite - 1 - b.x(), b.y()));
    } else {
        m_Flaeche.drawLine(a, b);
    }
}
