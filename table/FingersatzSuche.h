#pragma once

#include <cstdint>

#include "grip/AkkordDaten.h"

class AkkordDepotClass;

// Names a grip built by hand as the stored grip that sounds the same positions: on every string the
// same fret, or open, or muted, whatever fingers press them.
class FingersatzSucheClass
{
public:
    // What each of saiten strings sounds, 6 bits a string from string 1 up: the highest fret held,
    // 0 open, 63 muted. Fingers, barré entries under a higher fret and open flags left on fretted
    // strings do not count.
    static std::uint64_t Klangbild(const AkkordDatenClass& griff, int saiten);
    // Whether two grips sound the same positions in a tuning of saiten strings.
    static bool GleicherFingersatz(const AkkordDatenClass& a, const AkkordDatenClass& b, int saiten);
    // Index of the stored grip that sounds the current grip's positions, preferring one filed under the
    // current grip's chord, then one with the same fingers; -1 when there is none.
    static int Suchen(const AkkordDepotClass& depot);

    // Run before recognition. When the fingering differs from the one seen at the last call, or the
    // grip has no chord, and a stored grip sounds the same positions: gives the current grip that grip's
    // chord and clears open flags on its fretted strings, as storing does. Returns that grip's index, or
    // -1 (the grip untouched).
    int Uebernehmen(AkkordDepotClass& depot);

private:
    AkkordDatenClass m_zuletzt; // only the finger entries and open flags are compared
    bool m_gesehen = false;
};
