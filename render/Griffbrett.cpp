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

QRect GriffbrettClass::CursorRechteck() const
{
    const int spalte = AktBund() - m_ErsterBund;
    const int zeile = m_Saitenzahl - AktSaite();
    if (spalte < 0 || spalte >= m_Bundzahl || zeile < 0 || zeile >= m_Saitenzahl)
        return {};
    const CellRect cell = GetFeld(spalte, zeile);
    if (cell.width() <= 0)
        return {};
    // Just outside the finger's disc, so that the frame never hides a finger number.
    const int gap = std::max(1, cell.width() / 8);
    return spiegeln(cell.toQRect().adjusted(-gap, -gap, gap, gap));
}

void GriffbrettClass::CursorZeichnen(QPainter& ziel) const
{
    const QRect frame = CursorRechteck();
    if (frame.isEmpty())
        return;
    ziel.save();
    ziel.setRenderHint(QPainter::Antialiasing, false);
    const int width = std::max(2, frame.width() / 12);
    QPen pen(CursorFarbe(), width);
    pen.setJoinStyle(Qt::MiterJoin);
    ziel.setPen(pen);
    ziel.setBrush(Qt::NoBrush);
    // The pen is centred on the path: inset by half its width, the frame stays inside the rectangle.
    const qreal inset = width / 2.0;
    ziel.drawRect(QRectF(frame).adjusted(inset, inset, -inset, -inset));
    ziel.restore();
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
