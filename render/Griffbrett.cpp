#include "render/Griffbrett.h"

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
        stampText(m_titelStamp, m_Titel.PosX, m_Titel.PosY, m_Titel.Inhalt, m_titelFont);
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
    FingerClass::Anordnen();
    BundClass::layoutLabels();
    SaitenClass::layoutTexts();
    layoutTitle();
    layoutChanged();
}

void GriffbrettClass::SetGroesseUndAnordnen(int breite, int hoehe)
{
    GriffbrettMainClass::SetGroesse(breite, hoehe);
    Anordnen();
}

void GriffbrettClass::layoutTitle()
{
    m_Titel.Schrifthoehe = 3 * (m_RandOben / 4);
    m_Titel.PosX = m_Gitter[0][0].x();
    m_Titel.PosY = m_Gitter[0][0].y() - m_Titel.Schrifthoehe - m_Beschriftungsabstand + 5;
    // The canvas font is bold when the title is drawn, whatever the title's own style.
    m_titelFont = courierFont(m_Titel.Schrifthoehe, true);
}
