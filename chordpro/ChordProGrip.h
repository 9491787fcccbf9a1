#pragma once

#include "chordpro/ChordProDefinition.h"
#include "grip/AkkordDaten.h"

class StimmClass;

// Why a definition cannot become a grip.
enum class GriffUmwandlung {
    Ok,
    FalscheSaitenzahl, // the definition is for another string count
    ZuVielePunkte,     // more finger entries than a grip holds
    KeinTon,           // every string muted
};

// Conversion between a stored grip and a ChordPro definition.
class ChordProGrip
{
public:
    // Sounding fret per string (-1 muted, 0 open) and the finger on it (0 none); saiten strings.
    static void soundingFrets(const AkkordDatenClass& griff, int saiten, int* frets, int* fingers);
    // The definition of a grip: base fret 1 when the grip fits the first five frets, as a chord chart
    // draws it, else its lowest fret. No name.
    static ChordProDefinition definition(const AkkordDatenClass& griff, int saiten);
    // The grip of a definition on the tuning: one entry per fretted string with its finger, and the
    // entries under a barré (one finger at one fret on strings apart) on the strings between that are
    // fretted higher. Without fingers every entry has finger 0. No chord, grip number 0.
    static GriffUmwandlung grip(const ChordProDefinition& definition, const StimmClass& stimmung,
                                AkkordDatenClass& griff);
};
