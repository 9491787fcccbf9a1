#include "render/Finger.h"

#include <algorithm>

FingerClass::FingerClass() {}

FingerClass::~FingerClass() = default;

void FingerClass::Anordnen()
{
    layoutCells();
    buildSymbolSets();
}

CellRect FingerClass::GetFeld(int spalte, int zeile) const
{
    if (spalte < 0 || spalte >= MaxFretColumns || zeile < 0 || zeile >= MaxStringRows)
        return CellRect();
    return m_Felder[spalte][zeile];
}

void FingerClass::AddSymbol(int art, int bild, int saite, int bund)
{
    if (m_Symbolanzahl >= MaxSymbols)
        return;
    if (art < 0 || art >= SymbolKinds || bild < 0 || bild >= SymbolImages || saite < 1 ||
        saite > m_Saitenzahl)
        return;
    SymbolEintragClass& entry = m_Symbole[m_Symbolanzahl++];
    // Any column outside the board means the same; clamping keeps far-off frets from overflowing.
    const long long spalte = static_cast<long long>(bund) - m_ErsterBund;
    entry.Spalte =
        static_cast<std::int32_t>(std::clamp(spalte, -1LL, static_cast<long long>(MaxFretColumns)));
    entry.Zeile = m_Saitenzahl - saite;
    entry.Bild = bild;
    entry.Art = static_cast<std::int8_t>(art);
}

const SymbolEintragClass& FingerClass::Symbol(int i) const
{
    static const SymbolEintragClass none;
    return i >= 0 && i < m_Symbolanzahl ? m_Symbole[i] : none;
}

const FingerObjClass* FingerClass::Symbolsatz(int art) const
{
    return art >= 0 && art < SymbolKinds ? m_Symbolsaetze[art].get() : nullptr;
}

void FingerClass::layoutCells()
{
    for (auto& column : m_Felder)
        std::fill(std::begin(column), std::end(column), CellRect());
    for (int f = 0; f < m_Bundzahl; ++f) {
        for (int j = 0; j < m_Saitenzahl; ++j) {
            const QPoint here = m_Gitter[f][j];
            const int spacing = m_Gitter[f + 1][j].x() - here.x();
            int w = spacing;
            int h = 0;
            if (j + 1 < m_Saitenzahl)
                h = m_Gitter[f][j + 1].y() - here.y();
            else if (j > 0)
                h = here.y() - m_Gitter[f][j - 1].y();
            else
                h = w; // a single string: the cell is as tall as it is wide
            w -= 2 * (w / 10);
            h -= 2 * (h / 10);
            const int side = std::max(std::min(w, h), 0);
            CellRect& cell = m_Felder[f][j];
            cell.left = here.x() + (spacing - side) / 2;
            cell.top = here.y() - side / 2;
            cell.right = cell.left + side;
            cell.bottom = cell.top + side;
        }
    }
}

void FingerClass::buildSymbolSets()
{
    for (int k = 0; k < SymbolKinds; ++k) {
        m_Symbolsaetze[k].reset();
        m_Symbolsaetze[k] = std::make_unique<FingerObjClass>(*this, k);
        m_Symbolsaetze[k]->build();
    }
}

void FingerClass::drawSymbols()
{
    ClearZuKlein();
    for (int i = 0; i < m_Symbolanzahl; ++i) {
        const SymbolEintragClass& entry = m_Symbole[i];
        if (entry.Spalte < 0 || entry.Spalte >= m_Bundzahl) {
            SetZuKlein();
            continue;
        }
        // The tuning may have lost strings since the symbol was added.
        if (entry.Zeile >= m_Saitenzahl || !m_Flaeche.isActive())
            continue;
        const FingerObjClass* set = m_Symbolsaetze[entry.Art].get();
        if (set == nullptr || set->Bild(entry.Bild).isNull())
            continue;
        const CellRect& cell = m_Felder[entry.Spalte][entry.Zeile];
        const QRect area(cell.left, cell.top, set->Breite(), set->Hoehe());
        m_Flaeche.drawImage(spiegeln(area).topLeft(), set->Bild(entry.Bild));
    }
}
