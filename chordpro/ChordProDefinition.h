#pragma once

#include <string>
#include <vector>

#include "theory/Grenzen.h"

// One chord definition as a ChordPro file gives it: frets relative to the base fret.
struct ChordProDefinition
{
    static constexpr int Stumm = -1;

    std::string name;  // UTF-8, as written
    int baseFret = 1;  // the fret that fret 1 of the diagram stands for
    int saiten = 0;    // strings given, the lowest first
    int frets[MaxSaiten] = {};   // Stumm, 0 open, else 1.. counted from baseFret
    int fingers[MaxSaiten] = {}; // 0 none, 1..4
    bool hasFingers = false;
    int line = 0; // 1-based line of the file
};

// One piece of bad input, skipped.
struct ChordProFehler
{
    int line = 0;
    std::string text; // German, UTF-8
};

// Everything read from one ChordPro song, chord file or configuration file.
struct ChordProInhalt
{
    std::string title;
    std::vector<ChordProDefinition> definitions;
    std::vector<std::string> chords; // chord names of the lyrics in order of first use
    std::vector<int> chordLines;     // the line where each was first used
    std::vector<ChordProFehler> errors;
    bool json = false;
    int directives = 0;  // directives seen, the definitions among them
    int lyricLines = 0;  // lines with at least one [chord]
    int otherLines = 0;  // lines that are neither directive, comment nor blank
};
