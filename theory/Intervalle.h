#pragma once

#include <string>

// The fixed interval table: codes 0..17 with their names and distances in semitones.

// Semitones of an interval code; -1 and a plain message box for an invalid code.
int HalbtoeneVon(int intervallcode);
// Name of an interval code; "???" and a plain message box for an invalid code.
const char* IntervallBezeichnung(int intervallcode);
// Generic name of the interval from root to note: "?" without root, "" without note.
std::string IntervallName(int grundton, int ton);
// Whether a slot read from a file holds a valid code with its own distance; shows no message.
bool intervalSlotValid(int intervallcode, int halbtoene);
// The names every interval naming shares: "?" without root, "" without note, "1" for the root itself;
// nullptr when the note needs a real interval.
const char* fixedIntervalName(int grundton, int ton);
