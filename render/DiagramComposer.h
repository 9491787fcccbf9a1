#pragma once

#include <QString>

#include "render/ChordBox.h"
#include "theory/Grenzen.h"

class AkkordClass;
struct AkkordDatenClass;
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

// The frets a diagram shows and how.
struct DiagramView
{
    int startbund = 1;
    int bundanzahl = 4;
    bool lagenpunkte = false;
    bool linkshaender = false;
    DiagramStil stil = DiagramStil::Kasten;
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
    // The same grip as an upright chord box over the frets of view.
    ChordBox chordBox(const AkkordClass& griff, const TrefferClass& akkord, const DiagramOptions& options,
                      const DiagramView& view) const;

    // From the nut when the grip fits into the frets shown from there, otherwise from its lowest fret;
    // at least four frets, more when the grip spans more. Right-handed, as a chord box.
    static DiagramView frameFor(const AkkordDatenClass& griff);

private:
    // The text under or beside string saite for the annotation chosen; empty for none.
    QString annotation(const AkkordClass& griff, const TrefferClass& akkord, const DiagramOptions& options,
                       int saite) const;

    const ErkennungClass& m_katalog;
};
