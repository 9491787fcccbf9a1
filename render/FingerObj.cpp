#include "render/FingerObj.h"

#include <algorithm>
#include <cstring>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QRectF>
#include <QString>

#include "render/GriffbrettMain.h"

FingerObjClass::FingerObjClass(const GriffbrettMainClass& brett, int art)
    : m_brett(&brett), m_Art(static_cast<std::int8_t>(art))
{
    static constexpr const char* digits[] = {"", "1", "2", "3", "4"};
    setTexts(digits);
}

bool FingerObjClass::setTexts(std::span<const char* const> texts)
{
    if (texts.size() >= MaxTexte)
        return false;
    m_Textanzahl = static_cast<int>(texts.size());
    for (int i = 0; i < MaxTexte; ++i) {
        m_Texte[i][0] = '\0';
        if (i < m_Textanzahl && texts[i] != nullptr)
            std::strncat(m_Texte[i], texts[i], MaxTextBytes);
    }
    return true;
}

void FingerObjClass::build()
{
    const CellRect cell = m_brett->GetFeld(0, 0);
    m_Breite = cell.width();
    m_Hoehe = cell.height();
    m_Schrifthoehe = 3 * (m_Breite / 4);
    if (m_Art > 0) {
        // Rows below the tuning's last string have no cell: extend with the row pitch.
        const int pitch =
            m_brett->GetSaitenzahl() > 1 ? m_brett->GetFeld(0, 1).top - cell.top : cell.height();
        m_Hoehe = m_Art * pitch + cell.height();
    }
    for (int t = 0; t < MaxTexte; ++t)
        m_Bilder[t] = t < m_Textanzahl ? render(m_Texte[t]) : QImage();
}

const char* FingerObjClass::Text(int i) const
{
    return i >= 0 && i < m_Textanzahl ? m_Texte[i] : "";
}

const QImage& FingerObjClass::Bild(int i) const
{
    static const QImage none;
    return i >= 0 && i < m_Textanzahl ? m_Bilder[i] : none;
}

QImage FingerObjClass::render(const char* text) const
{
    if (m_Breite <= 0 || m_Hoehe <= 0)
        return QImage();
    const qreal ratio = m_brett->Pixelverhaeltnis();
    QImage image(QSize(m_Breite, m_Hoehe) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const QRectF shape(0, 0, m_Breite, m_Hoehe);
    if (m_Art == 0)
        painter.drawEllipse(shape);
    else
        painter.drawRoundedRect(shape, m_Breite / 2.0, m_Breite / 2.0);

    if (text[0] == '\0' || !haveGuiApplication())
        return image;
    const QString digit = QString::fromUtf8(text);
    const int limit = m_Art == 0 ? 3 * (m_Hoehe / 4) : m_Schrifthoehe;
    int height = limit;
    int width = 0;
    QFont font;
    do {
        --height;
        font = courierFont(height, true);
        width = QFontMetrics(font).horizontalAdvance(digit);
    } while (width > limit && height > 1);

    const QFontMetrics metrics(font);
    // Source-atop keeps the digit inside the shape, as the mask would cut it.
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const int left = (m_Breite - width) / 2;
    const int top = (m_Hoehe - metrics.height()) / 2;
    painter.drawText(left, top + metrics.ascent(), digit);
    return image;
}
