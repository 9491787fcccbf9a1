#include "chordpro/ChordProGrip.h"

#include <algorithm>

#include "grip/Akkord.h"

void ChordProGrip::soundingFrets(const AkkordDatenClass& griff, int saiten, int* frets, int* fingers)
{
    for (int s = 1; s <= saiten; ++s) {
        frets[s - 1] = griff.Leer[s - 1] ? 0 : ChordProDefinition::Stumm;
        fingers[s - 1] = 0;
    }
    const int count = std::clamp(griff.PunktAnzahl, 0, MaxPunkte);
    for (int i = 0; i < count; ++i) {
        const FingerPunktClass& punkt = griff.Punkte[i];
        if (punkt.Saite < 1 || punkt.Saite > saiten)
            continue;
        // The highest entry on a string is the one that sounds.
        if (punkt.Bund > frets[punkt.Saite - 1]) {
            frets[punkt.Saite - 1] = punkt.Bund;
            fingers[punkt.Saite - 1] = punkt.Finger;
        }
    }
}

ChordProDefinition ChordProGrip::definition(const AkkordDatenClass& griff, int saiten)
{
    ChordProDefinition result;
    result.saiten = std::clamp(saiten, 0, MaxSaiten);
    int absolute[MaxSaiten] = {};
    soundingFrets(griff, result.saiten, absolute, result.fingers);
    int lowest = 0;
    int highest = 0;
    for (int s = 0; s < result.saiten; ++s) {
        if (absolute[s] > 0) {
            lowest = lowest == 0 ? absolute[s] : std::min(lowest, absolute[s]);
            highest = std::max(highest, absolute[s]);
        }
    }
    result.baseFret = highest <= 5 ? 1 : lowest;
    result.hasFingers = false;
    for (int s = 0; s < result.saiten; ++s)
        result.hasFingers = result.hasFingers || result.fingers[s] > 0;
    for (int s = 0; s < result.saiten; ++s)
        result.frets[s] = absolute[s] > 0 ? absolute[s] - result.baseFret + 1 : absolute[s];
    return result;
}

GriffUmwandlung ChordProGrip::grip(const ChordProDefinition& definition, const StimmClass& stimmung,
                                   AkkordDatenClass& griff)
{
    const int saiten = stimmung.SaitenAnzahl();
    if (definition.saiten != saiten)
        return GriffUmwandlung::FalscheSaitenzahl;
    AkkordClass akkord;
    static_cast<StimmClass&>(akkord) = stimmung;
    akkord.Loeschen();
    int absolute[MaxSaiten] = {};
    bool sounds = false;
    for (int s = 0; s < saiten; ++s) {
        const int fret = definition.frets[s];
        absolute[s] = fret > 0 ? fret + definition.baseFret - 1 : fret;
        sounds = sounds || fret >= 0;
    }
    if (!sounds)
        return GriffUmwandlung::KeinTon;
    int entries = 0;
    for (int s = 0; s < saiten; ++s) {
        if (absolute[s] > 0)
            ++entries;
    }
    if (entries > MaxPunkte)
        return GriffUmwandlung::ZuVielePunkte;
    for (int s = 0; s < saiten; ++s) {
        if (absolute[s] == 0)
            akkord.LeerSetzen(s + 1, true);
        else if (absolute[s] > 0)
            akkord.FingerSetzen(absolute[s], s + 1, definition.hasFingers ? definition.fingers[s] : 0, true);
    }
    if (definition.hasFingers) {
        for (int s = 0; s < saiten; ++s) {
            const int finger = definition.fingers[s];
            const int fret = absolute[s];
            if (finger == 0 || fret <= 0)
                continue;
            int last = s;
            for (int t = s + 1; t < saiten; ++t) {
                if (definition.fingers[t] == finger && absolute[t] == fret)
                    last = t;
            }
            for (int t = s + 1; t < last; ++t) {
                if (absolute[t] > fret && akkord.FingerBei(fret, t + 1) < 0 &&
                    akkord.FingerSetzen(fret, t + 1, finger, true) < 0)
                    return GriffUmwandlung::ZuVielePunkte;
            }
        }
    }
    akkord.Sortieren();
    griff = akkord.Daten();
    griff.Nummer = 0;
    return GriffUmwandlung::Ok;
}
