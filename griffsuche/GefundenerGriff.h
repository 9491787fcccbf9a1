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
    int BarreFinger = 0;
    int Leersaiten = 0;
    int KlingendeSaiten = 0;
    int InnenGedaempft = 0;      // muted strings between sounding ones
    int BassGedaempft = 0;       // muted strings below the lowest sounding one
    bool LeerUeberBass = false;  // the lowest sounding string is pressed and the next one rings open
    int ObenGedaempft = 0;       // muted strings above the highest sounding one
    bool GrundtonImBass = false; // set by the finder, which knows the notes
    bool Kraftakkord = false;    // set by the finder: a chord of root and fifth, whose high strings rest
    bool Ausgeduennt = false;    // set by the finder: a better grip sounds the same frets on more strings
    bool ErsteLage = false;      // no pressed fret above the first position
    int Bewertung = 0;           // sum of the ranking's points; smaller is easier

    // Points of the ranking, one per reason; the dialog shows the reasons as the tooltip.
    static constexpr int PunkteJeFinger = 1;
    static constexpr int PunkteBarre = 1;
    static constexpr int PunkteTeilbarre = 2;        // a barré of another finger than the first
    static constexpr int PunkteJeBundSpannweite = 2; // for each fret beyond two
    static constexpr int PunkteLeersaitenErsteLage = -2;
    static constexpr int PunkteJeLeersaiteHoeher = 3; // open strings to a hand above the first position
    static constexpr int PunkteGrundtonNichtImBass = 8;
    static constexpr int PunkteInnenGedaempft = 8;
    static constexpr int PunkteJeStummeBasssaite = 1;
    static constexpr int PunkteJeStummeHoheSaite = 5;
    static constexpr int PunkteAusgeduennt = 6;
    static constexpr int PunkteBarreform = -2; // the barré holds the root in the bass and every string above
    static constexpr int PunkteLeerUeberBass = 4; // an open string right above a pressed bass string
    static constexpr int HoheLageAbBund = 6;      // from this fret on, a point for every two frets
    static constexpr int PunkteJeStummeBasssaiteKraftakkord = 3;
    static constexpr int VolleSaiten = 4;           // fewer sounding strings make a thin grip
    static constexpr int PunkteJeFehlendeSaite = 4; // for each string below that
    static constexpr int ErsteLageBisBund = 3;

    // Fills Lage .. Bewertung (all but GrundtonImBass) from Bunde, Finger and the barré.
    void Bewerten();
    // The ranking's reasons, one a line, with their points (Windows-1252).
    std::string Begruendung() const;
    // Frets from the lowest string ("x32010", "(10)" above 9), a blank, then the fingers ("-32-1-").
    std::string Zeile() const;

private:
    int thinStrings() const;
    int highStringPoints() const;
    int bassStringPoints() const;
    int positionPoints() const;
    bool barreForm() const;
};
