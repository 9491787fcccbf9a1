#pragma once

#include "grip/AkkordDaten.h"
#include "table/AkkordDepot.h"

// Whether a stored grip record can be used without indexing out of range: root, chord type within
// typeCount, finger entries, strings, frets and fingers. PruefOk or the first fault found.
PruefErgebnis griffPruefen(const AkkordDatenClass& griff, int typeCount);
