#include "render/Bund.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

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
    stampText(m_labelStamp, m_Bundnamen[0].PosX, m_Bundnamen[0].PosY, label, m_labelFont);
}

void BundClass::Anordnen()
{
    layoutAxis();
    layoutLabels();
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

void BundClass::layoutAxis()
{
    m_RandLinks = m_Breite / (m_Bundzahl + 3);
    // Without fret columns there is nothing to space; fret line 0 alone stays at RandLinks.
    m_Bundabstand = (m_Breite - 2 * m_RandLinks) / std::max(m_Bundzahl, 1);
    for (int i = 0; i <= m_Bundzahl; ++i)
        for (int j = 0; j < m_Saitenzahl; ++j)
            m_Gitter[i][j].setX(m_RandLinks + i * m_Bundabstand);
}

void BundClass::layoutLabels()
{
    const CellRect cell = GetFeld(0, 0);
    m_Beschriftungsabstand = cell.height() / 2;
    const int height = 3 * (GetRandOben() / 4);
    for (int i = 0; i < MaxFretColumns; ++i) {
        BeschriftungClass& label = m_Bundnamen[i];
        std::snprintf(label.Inhalt, sizeof label.Inhalt, "%d.", i + 1);
        label.Schriftstil = FontStyle::Bold;
        label.Schrifthoehe = height;
        label.PosX = m_Gitter[0][0].x();
        label.PosY = m_Gitter[0][m_Saitenzahl - 1].y() + m_Beschriftungsabstand;
    }
    m_labelFont = courierFont(m_Bundnamen[0].Schrifthoehe, m_Bundnamen[0].Schriftstil == FontStyle::Bold);
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
