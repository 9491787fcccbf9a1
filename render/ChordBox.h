#pragma once

#include <array>
#include <vector>

#include <QString>

#include "theory/Grenzen.h"

// How an exported diagram is drawn: an upright chord box as chord charts print it, or the window's
// horizontal board.
enum class DiagramStil { Kasten, Griffbrett };

// What one upright chord box shows, told string by string from the lowest (index 0) up; drawing it is
// ChordBoxPainter's part.
struct ChordBox
{
    struct Punkt
    {
        int saite = 1; // 1 = lowest string
        int bund = 1;
        int finger = 0; // 0 draws the dot without a number
    };
    struct Barre
    {
        int tiefsteSaite = 1;
        int hoechsteSaite = 2;
        int bund = 1;
        int finger = 0;
    };
    enum class Saite { Gegriffen, Leer, Stumm };

    QString titel;
    int saiten = 6;
    // The nut is drawn when startbund is 1, otherwise the number of the first fret shown.
    int startbund = 1;
    int bundanzahl = 4;
    std::array<Saite, MaxSaiten> status{};
    // The note or interval under each string; empty shows nothing.
    std::array<QString, MaxSaiten> unten;
    // Dots of the strings a barré holds are left out: the bar covers them.
    std::vector<Punkt> punkte;
    std::vector<Barre> barres;
    // Lowest string on the right, as a left-handed player sees the neck.
    bool linkshaender = false;
};
