#pragma once

#include <cstdint>
#include <string>

#include "grip/AkkordDaten.h"
#include "theory/Grenzen.h"

// One grip offered by the chord finder: the record the program stores, and what its ranking looked at.
struct GefundenerGriffClass
{
    AkkordDatenClass Griff;             // filed under the searched chord, grip number 0
    int SaitenAnzahl = 0;               // of the tuning it was found on
    std::int8_t Bunde[MaxSaiten] = {};  // per string: -1 muted, 0 open, else the sounding fret
    std::int8_t Finger[MaxSaiten] = {}; // per string: the finger on the sounding fret, 0 none
    int Lage = 0;                       // lowest pressed fret, 0 when no string is pressed
    int Spannweite = 0;                 // frets from the lowest to the highest pressed one, both counted
    int FingerAnzahl = 0;               // a barré counts as one finger
    int BarreBund = 0;                  // 0 without barré
    int BarreVon = 0;                   // lowest and highest string under the barré
    int BarreBis = 0;
    int Leersaiten = 0;
    int KlingendeSaiten = 0;
    int InnenGedaempft = 0;      // muted strings between sounding ones
    int BassGedaempft = 0;       // muted strings below the lowest sounding one
    int ObenGedaempft = 0;       // muted strings above the highest sounding one
    bool GrundtonImBass = false; // set by the finder, which knows the notes
    bool ErsteLage = false;      // no pressed fret above the first position
    int Bewertung = 0;           // sum of the ranking's points; smaller is easier

    // Points of the ranking, one per reason; the dialog shows the reasons as the tooltip.
    static constexpr int PunkteJeFinger = 1;
    static constexpr int PunkteBarre = 1;
    static constexpr int PunkteJeBundSpannweite = 2; // for each fret beyond two
    static constexpr int PunkteLeersaitenErsteLage = -2;
    static constexpr int PunkteJeLeersaiteHoeher = 3; // open strings to a hand above the first position
    static constexpr int PunkteGrundtonNichtImBass = 8;
    static constexpr int PunkteInnenGedaempft = 4;
    static constexpr int PunkteJeStummeBasssaite = 1;
    static constexpr int PunkteJeStummeHoheSaite = 4;
    static constexpr int VolleSaiten = 4;           // fewer sounding strings make a thin grip
    static constexpr int PunkteJeFehlendeSaite = 4; // for each string below that
    static constexpr int ErsteLageBisBund = 4;

    // Fills Lage .. Bewertung (all but GrundtonImBass) from Bunde, Finger and the barré.
    void Bewerten();
    // The ranking's reasons, one a line, with their points (Windows-1252).
    std::string Begruendung() const;
    // Frets from the lowest string ("x32010", "(10)" above 9), a blank, then the fingers ("-32-1-").
    std::string Zeile() const;

private:
    int thinStrings() const;
};
