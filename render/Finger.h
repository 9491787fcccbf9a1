#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "render/FingerObj.h"
#include "render/GriffbrettMain.h"

inline constexpr int MaxSymbols = 100;
inline constexpr int SymbolKinds = 6;  // 0 disc, 1..5 bar over 2..6 strings
inline constexpr int SymbolImages = 5; // 0 without a digit, 1..4 finger number

// One symbol to stamp: cell and image, fixed when it is added.
struct SymbolEintragClass
{
    std::int32_t Spalte = 0; // fret column: fret number - ErsterBund
    std::int32_t Zeile = 0;  // string row: Saitenzahl - string number
    std::int32_t Bild = 0;
    std::int8_t Art = 0;
};
static_assert(sizeof(SymbolEintragClass) == 16);
static_assert(offsetof(SymbolEintragClass, Art) == 12);

// Symbol layer: the cells of the board, the symbols to draw and their pre-rendered sets.
class FingerClass : public virtual GriffbrettMainClass
{
public:
    // Computes the cells and rebuilds every symbol set.
    virtual void Anordnen();
    CellRect GetFeld(int spalte, int zeile) const override;

    // Dropped when 100 symbols are held, or for a kind outside 0..5, an image outside 0..4 or a
    // string outside 1..Saitenzahl. A fret outside the columns shown is kept and sets ZuKlein at
    // paint.
    void AddSymbol(int art, int bild, int saite, int bund);
    void SymboleLoeschen() { m_Symbolanzahl = 0; }

    int Symbolanzahl() const { return m_Symbolanzahl; }
    // Entry i; an empty entry outside 0..Symbolanzahl-1.
    const SymbolEintragClass& Symbol(int i) const;
    // The set of kind art; null before the first layout.
    const FingerObjClass* Symbolsatz(int art) const;

protected:
    FingerClass();
    ~FingerClass() override;

    void layoutCells();
    void buildSymbolSets();
    // Clears ZuKlein, then stamps every symbol inside the columns shown and marks the others.
    void drawSymbols();

    CellRect m_Felder[MaxFretColumns][MaxStringRows] = {};
    SymbolEintragClass m_Symbole[MaxSymbols] = {};
    int m_Symbolanzahl = 0;
    std::array<std::unique_ptr<FingerObjClass>, SymbolKinds> m_Symbolsaetze;
};
