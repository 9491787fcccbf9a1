#pragma once

#include <cstdint>
#include <vector>

#include "erkennung/Erkennung.h"
#include "griffsuche/GefundenerGriff.h"
#include "theory/Grenzen.h"

// What the finder searches: the neck up to a fret, and how far the hand stretches.
struct GriffsucheEinstellungClass
{
    static constexpr int MinBund = 1;
    static constexpr int MaxBund = 24;
    static constexpr int MinSpannweite = 3;
    static constexpr int MaxSpannweite = 5;

    int HoechsterBund = 15; // frets 0..HoechsterBund
    int Spannweite = 4;     // pressed frets lie within this many frets
};

// The chord finder: every playable grip of one chord on the catalogue's instrument and tuning that the
// recognition names as that chord from its bass, ranked from the easiest. It can run in steps (one
// lowest fret each), so that a window stays responsive.
//
// A grip is playable when four fingers can hold it: each finger on one fret, the fingers ascending with the
// fret and stretching at most one fret beyond one per finger (none beyond when reaching back across a lower
// finger on the next string), at most three single fingers on one fret, and at most one barre. A barre lies
// flat from its lowest string up to the highest one: under it every string sounds its fret or a higher one,
// no string above it rings open or at a lower fret, and a finger on a lower string at the same fret is a
// lower finger. Only the first finger's barre may cross a muted string, which the finger pressing the string
// below it damps. A muted string between sounding ones stands alone, right above a string that a single
// finger presses.
class GriffsucheClass
{
public:
    // Prepares the search for root and chord type t of the catalogue, with settings clamped to their
    // ranges. False (and no grips) for a root outside 0..11, an unknown type or one without intervals,
    // and a tuning of fewer than 2 strings.
    bool Starten(const ErkennungClass& katalog, int grundton, int typ,
                 const GriffsucheEinstellungClass& einstellung);
    // Searches the next lowest fret; sorts the grips after the last one. False when nothing is left.
    bool Weiter();
    bool Fertig() const { return m_naechsterBund > m_hoechsterBund; }
    // 0..100
    int Fortschritt() const;
    // Starts and finishes in one go; the number of grips.
    int Suchen(const ErkennungClass& katalog, int grundton, int typ,
               const GriffsucheEinstellungClass& einstellung);

    int Anzahl() const { return static_cast<int>(m_griffe.size()); }
    const GefundenerGriffClass& Griff(int i) const { return m_griffe[static_cast<std::size_t>(i)]; }
    // Positions of the grips that pass the filters, best first.
    std::vector<int> Gefiltert(bool grundtonImBass, bool ohneLeersaiten) const;
    int Grundton() const { return m_grundton; }
    int Typ() const { return m_typ; }
    const GriffsucheEinstellungClass& Einstellung() const { return m_einstellung; }

private:
    struct Choice
    {
        std::int8_t fret;
        unsigned note; // bit of the pitch class it sounds, 0 when muted
    };

    void searchFret(int lowest);
    void descend(int saite, unsigned notes, bool lowestUsed);
    void evaluate();
    bool namedAsChord(const GefundenerGriffClass& griff);
    void thinnedMark();
    void buildRecord(GefundenerGriffClass& griff) const;

    int m_saiten = 0;
    int m_offen[MaxSaiten] = {};
    int m_grundton = KeinTon;
    int m_typ = -1;
    unsigned m_erlaubt = 0;   // pitch classes the chord may sound
    unsigned m_gefordert = 0; // pitch classes it must sound, the root among them
    int m_minKlingend = 0;
    bool m_kraftakkord = false; // root and fifth only: the low strings alone are the grip
    ErkennungClass m_namen;     // the catalogue, to name each grip from its bass
    GriffsucheEinstellungClass m_einstellung;
    int m_hoechsterBund = -1;
    int m_naechsterBund = 0;

    // The grip being built: choices per string for the current lowest fret, and the chosen frets.
    Choice m_wahl[MaxSaiten][2 + GriffsucheEinstellungClass::MaxSpannweite] = {};
    int m_wahlAnzahl[MaxSaiten] = {};
    bool m_hatTiefsten[MaxSaiten + 1] = {}; // whether string s or a later one can take the lowest fret
    int m_tiefster = 0;
    std::int8_t m_bunde[MaxSaiten] = {};

    std::vector<GefundenerGriffClass> m_griffe;
};

// The fingers of one grip: true and Finger, BarreBund, BarreVon, BarreBis and BarreFinger filled when
// four fingers can hold the frets (-1 muted, 0 open) as the finder's rules say; the easiest way wins.
bool FingerSetzen(GefundenerGriffClass& griff);
