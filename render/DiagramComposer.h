#pragma once

#include <QString>

#include "theory/Grenzen.h"

class AkkordClass;
class ErkennungClass;
class GriffbrettClass;
struct TrefferClass;

// What the board shows besides the grip itself.
struct DiagramOptions
{
    bool akkordname = true;
    bool fingerzahlen = true;
    // 0 nothing, 1 notes, 2 intervals; any other value shows nothing.
    int rechteAnzeige = 0;
    // The root the intervals are named against when no chord is recognised.
    int intervallGrundton = 0;
};

// Turns a grip and its chord into the renderer's title, symbols and side texts; the main window and
// every export fill the board through it, so both draw the same picture.
class DiagramComposer
{
public:
    // katalog: the note names and chord types the names are built from.
    explicit DiagramComposer(const ErkennungClass& katalog) : m_katalog(katalog) {}

    // Root's short name followed directly by the type's name, and for a bass other than the root a
    // slash and the bass's short name; empty without a chord type.
    QString chordName(int grundton, int akkordTyp, int bass = KeinTon) const;
    // Rewrites the title, the symbol list and the side texts of every string of griff.
    void compose(GriffbrettClass& board, const AkkordClass& griff, const TrefferClass& akkord,
                 const DiagramOptions& options) const;

private:
    const ErkennungClass& m_katalog;
};
