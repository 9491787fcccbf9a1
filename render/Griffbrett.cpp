#include "render/Griffbrett.h"

#include <algorithm>
#include <cmath>

GriffbrettClass::GriffbrettClass(int breite, int hoehe) : GriffbrettMainClass(breite, hoehe) {}

int GriffbrettClass::GetStartbund() const
{
    return m_Startbund;
}

int GriffbrettClass::GetSaitenzahl() const
{
    return m_Saitenanzahl;
}

int GriffbrettClass::GetRandOben() const
{
    return m_RandOben;
}

CellRect GriffbrettClass::GetFeld(int spalte, int zeile) const
{
    return FingerClass::GetFeld(spalte, zeile);
}

void GriffbrettClass::SetZuKlein()
{
    BundClass::SetZuKlein();
}

void GriffbrettClass::ClearZuKlein()
{
    BundClass::ClearZuKlein();
}

void GriffbrettClass::SetGroesse(int breite, int hoehe)
{
    SetGroesseUndAnordnen(breite, hoehe);
}

void GriffbrettClass::SetBundanzahl(int n)
{
    BundClass::SetBundanzahl(n);
}

void GriffbrettClass::Zeichnen()
{
    if (m_Flaeche.isActive()) {
        m_Flaeche.fillRect(m_Rahmen, m_Hintergrund);
        stampText(m_titelStamp, m_Titel.PosX, m_Titel.PosY, m_Titel.Inhalt, m_titelFont,
                  m_Breite - m_Titel.PosX);
        BundClass::Zeichnen();
        SaitenClass::Zeichnen();
    }
    // Runs without a surface too: ZuKlein must still follow the symbols.
    drawSymbols();
}

void GriffbrettClass::Anordnen()
{
    BundClass::layoutAxis();
    SaitenClass::layoutAxis();
    // Right texts that do not fit even at a legible height get a wider right margin; at most a
    // third of the surface, so that a board remains.
    const int room = rightTextRoom();
    if (room > m_Breite - m_Gitter[m_Bundzahl][0].x())
        BundClass::layoutAxis(std::min(room, m_Breite / 3));
    FingerClass::Anordnen();
    BundClass::layoutLabels(textRand());
    SaitenClass::layoutTexts();
    layoutTitle();
    layoutChanged();
}

void GriffbrettClass::SetGroesseUndAnordnen(int breite, int hoehe)
{
    GriffbrettMainClass::SetGroesse(breite, hoehe);
    Anordnen();
}

void GriffbrettClass::SetPixelverhaeltnis(qreal verhaeltnis)
{
    if (!(verhaeltnis > 0) || std::abs(verhaeltnis - m_Pixelverhaeltnis) < 1e-9)
        return;
    m_Pixelverhaeltnis = verhaeltnis;
    SetGroesseUndAnordnen(m_Breite, m_Hoehe);
}

TextPlacement GriffbrettClass::titelPlacement() const
{
    return placeText(m_Titel.PosX, m_Titel.PosY, m_Titel.Inhalt, m_titelFont, m_Breite - m_Titel.PosX);
}

void GriffbrettClass::layoutTitle()
{
    m_Titel.Schrifthoehe = 3 * (textRand() / 4);
    m_Titel.PosX = m_Gitter[0][0].x();
    m_Titel.PosY = m_Gitter[0][0].y() - m_Titel.Schrifthoehe - m_Beschriftungsabstand + 5;
    // The title's glyphs end above the discs of the top string: it moves up, and where the room
    // above the board is too low for them, its font shrinks. Brackets and bars reach highest and
    // lowest in the font, so they stand for every name.
    static constexpr const char* tallest = "()|Hbgj";
    const int discTop = GetFeld(0, 0).top;
    QRect ink = inkBounds(courierFont(m_Titel.Schrifthoehe, true), tallest);
    if (!ink.isEmpty() && m_Titel.PosY + ink.bottom() >= discTop) {
        while (m_Titel.Schrifthoehe > 1 && ink.height() > discTop) {
            --m_Titel.Schrifthoehe;
            ink = inkBounds(courierFont(m_Titel.Schrifthoehe, true), tallest);
        }
        m_Titel.PosY = discTop - 1 - ink.bottom();
    }
    // The canvas font is bold when the title is drawn, whatever the title's own style.
    m_titelFont = courierFont(m_Titel.Schrifthoehe, true);
}
