#pragma once

#include <memory>

#include "table/AkkordDepot.h"

// Building blocks for chord-table tests and benchmarks: catalogues and grips.

// A catalogue of major, minor, 7 and m7 (in that order).
std::unique_ptr<AkkordDepotClass> tableWithCatalogue();
// Sets the current grip from frets per string, low E first: 'x' muted, '0' open, digits fretted.
void setGrip(AkkordDepotClass& doc, const char* frets, int root, int type);
// Adds varied chord types until the catalogue holds `count`.
void fillCatalogue(AkkordDepotClass& doc, int count);
// Stores grips of every type on every root at several frets: `count` grips in all.
void fillTable(AkkordDepotClass& doc, int count);
