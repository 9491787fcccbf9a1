#pragma once

#include "grip/AkkordDaten.h"

class AkkordDepotClass;

// Names a grip built by hand as the stored grip with the same fingering: the same finger entries
// (fret, string, finger) and the same open strings among the unfretted ones.
class FingersatzSucheClass
{
public:
    // Whether two grips have the same fingering in a tuning of saiten strings; the chord, the grip
    // number and open flags left on fretted strings do not count.
    static bool GleicherFingersatz(const AkkordDatenClass& a, const AkkordDatenClass& b, int saiten);
    // Index of the stored grip with the current grip's fingering, preferring one filed under the
    // current grip's chord; -1 when there is none.
    static int Suchen(const AkkordDepotClass& depot);

    // Run before recognition. When the fingering differs from the one seen at the last call, or the
    // grip has no chord, and a stored grip has it: gives the current grip that grip's chord and
    // clears open flags on its fretted strings, as storing does. Returns that grip's index, or -1
    // (the grip untouched).
    int Uebernehmen(AkkordDepotClass& depot);

private:
    AkkordDatenClass m_zuletzt; // only the finger entries and open flags are compared
    bool m_gesehen = false;
};
