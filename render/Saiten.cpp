#include "render/Saiten.h"

#include <algorithm>

namespace {

const BeschriftungClass& rowOf(const BeschriftungClass (&texts)[MaxStringRows], int zeile)
{
    static const BeschriftungClass none;
    return zeile >= 0 && zeile < MaxStringRows ? texts[zeile] : none;
}

} // namespace

SaitenClass::SaitenClass()
{
    for (int j = 0; j < MaxStringRows; ++j) {
        m_TexteLinks[j].setText(QStringLiteral("X"));
        m_TexteRechts[j].setText(QStringLiteral("Abc"));
    }
    m_Saitenzahl = m_Saitenanzahl;
}

int SaitenClass::GetSaitenzahl() const
{
    return m_Saitenanzahl;
}

int SaitenClass::GetRandOben() const
{
    return m_RandOben;
}

void SaitenClass::Zeichnen()
{
    if (!m_Flaeche.isActive())
        return;
    for (int j = 0; j < m_Saitenzahl; ++j) {
        drawLine(m_Gitter[0][j], m_Gitter[m_Bundzahl][j]);
        const BeschriftungClass& text = m_TexteLinks[j];
        stampText(m_linksStamps[j], text.PosX, text.PosY, text.Inhalt, m_linksFont, m_Breite);
    }
    for (int j = 0; j < m_Saitenzahl; ++j) {
        const BeschriftungClass& text = m_TexteRechts[j];
        stampText(m_rechtsStamps[j], text.PosX, text.PosY, text.Inhalt, m_rechtsFont, m_Breite - text.PosX);
    }
}

void SaitenClass::Anordnen()
{
    layoutAxis();
    layoutTexts();
}

void SaitenClass::SetSaitenzahl(int n)
{
    m_Saitenanzahl = std::clamp(n, 1, MaxStringRows);
    m_Saitenzahl = m_Saitenanzahl;
    Anordnen();
}

void SaitenClass::SetTextLinks(int zeile, const QString& text)
{
    if (zeile >= 0 && zeile < MaxStringRows)
        m_TexteLinks[zeile].setText(text);
}

void SaitenClass::SetTextRechts(int zeile, const QString& text)
{
    if (zeile >= 0 && zeile < MaxStringRows)
        m_TexteRechts[zeile].setText(text);
}

const BeschriftungClass& SaitenClass::TextLinks(int zeile) const
{
    return rowOf(m_TexteLinks, zeile);
}

const BeschriftungClass& SaitenClass::TextRechts(int zeile) const
{
    return rowOf(m_TexteRechts, zeile);
}

TextPlacement SaitenClass::TextLinksFeld(int zeile) const
{
    if (zeile < 0 || zeile >= m_Saitenzahl)
        return {};
    const BeschriftungClass& text = m_TexteLinks[zeile];
    return placeText(text.PosX, text.PosY, text.Inhalt, m_linksFont, m_Breite);
}

TextPlacement SaitenClass::TextRechtsFeld(int zeile) const
{
    if (zeile < 0 || zeile >= m_Saitenzahl)
        return {};
    const BeschriftungClass& text = m_TexteRechts[zeile];
    return placeText(text.PosX, text.PosY, text.Inhalt, m_rechtsFont, m_Breite - text.PosX);
}

void SaitenClass::SetTextRechtsMuster(const QString& muster)
{
    if (m_rechtsMuster.text() == muster)
        return;
    m_rechtsMuster.setText(muster);
    Anordnen();
}

int SaitenClass::rightTextRoom() const
{
    if (m_rechtsMuster.isEmpty())
        return 0;
    const int least = std::min(4 * (m_Saitenabstand / 8), LegibleTextHeight);
    const int width = textSize(courierFont(least, false), m_rechtsMuster.Inhalt).width();
    return width > 0 ? m_Textabstand + width + 1 : 0;
}

int SaitenClass::textRand() const
{
    return m_Saitenanzahl == 2 || m_Saitenanzahl == 3 ? m_Hoehe / MaxStringRows : m_RandOben;
}

void SaitenClass::layoutAxis()
{
    if (m_Saitenanzahl == 2 || m_Saitenanzahl == 3) {
        // Spread over the full height two or three strings would lie too far apart, and two of them
        // on one line: they take the spacing of a four-string board, in the middle of the surface.
        m_Saitenabstand = (m_Hoehe - 2 * (m_Hoehe / 4)) / 3;
        m_RandOben = (m_Hoehe - (m_Saitenanzahl - 1) * m_Saitenabstand) / 2;
    } else if (m_Saitenanzahl > 1) {
        m_RandOben = m_Hoehe / m_Saitenanzahl;
        m_Saitenabstand = (m_Hoehe - 2 * m_RandOben) / (m_Saitenanzahl - 1);
    } else {
        // A single string has no neighbour to space against: it lies in the middle, and its
        // spacing (which sizes the side texts) is that of a six-string board.
        m_RandOben = m_Hoehe / 2;
        m_Saitenabstand = (m_Hoehe - 2 * (m_Hoehe / MaxStringRows)) / (MaxStringRows - 1);
    }
    for (int i = 0; i <= m_Bundzahl; ++i)
        for (int j = 0; j < m_Saitenanzahl; ++j)
            m_Gitter[i][j].setY(m_RandOben + j * m_Saitenabstand);
}

void SaitenClass::layoutTexts()
{
    const int lastLine = m_Bundzahl;

    int rightHeight = 4 * (m_Saitenabstand / 8);
    if (!m_rechtsMuster.isEmpty()) {
        const int room = m_Breite - m_Gitter[lastLine][0].x() - m_Textabstand;
        rightHeight = fittingPixelSize(m_rechtsMuster.Inhalt, rightHeight, false, room,
                                       std::min(rightHeight, LegibleTextHeight));
    }
    m_rechtsFont = courierFont(rightHeight, false);
    const int rightTextHeight = textSize(m_rechtsFont, "Text").height();
    for (int j = 0; j < m_Saitenanzahl; ++j) {
        BeschriftungClass& text = m_TexteRechts[j];
        text.Schriftstil = FontStyle::Regular;
        text.Schrifthoehe = rightHeight;
        text.PosX = m_Gitter[lastLine][j].x() + m_Textabstand;
        text.PosY = m_Gitter[lastLine][j].y() - rightTextHeight / 2;
    }

    // The mark shrinks when the margin left of the nut is too narrow for it.
    const int leftRoom = m_Gitter[0][0].x() - 5 - m_Textabstand;
    const int leftHeight = fittingPixelSize("X", 4 * (m_Saitenabstand / 7), true, leftRoom, 1);
    m_linksFont = courierFont(leftHeight, true);
    const QSize x = textSize(m_linksFont, "X");
    for (int j = 0; j < m_Saitenanzahl; ++j) {
        BeschriftungClass& text = m_TexteLinks[j];
        text.Schriftstil = FontStyle::Bold;
        text.Schrifthoehe = leftHeight;
        text.PosX = m_Gitter[0][j].x() - 5 - m_Textabstand - x.width();
        text.PosY = m_Gitter[0][j].y() - x.height() / 2;
    }
}
