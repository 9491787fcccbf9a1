#pragma once

#include <cstddef>
#include <cstdint>

#include "theory/Grenzen.h"

// One interval slot of a chord type.
struct IntervallClass
{
    std::int32_t Halbtoene = 0; // cached from the interval table when the interval is added
    std::uint8_t Intervallcode = 0;
    std::uint8_t Optional = 0; // 1: may be missing from the sounding notes
    std::uint8_t Fuellung[2] = {};
};
static_assert(sizeof(IntervallClass) == 8);
static_assert(offsetof(IntervallClass, Halbtoene) == 0);
static_assert(offsetof(IntervallClass, Intervallcode) == 4);
static_assert(offsetof(IntervallClass, Optional) == 5);

inline constexpr int MaxTypNameLaenge = 19;

// One chord type of the catalogue, stored byte for byte in chord-table files.
struct AkkordTypClass
{
    char Name[MaxTypNameLaenge + 1] = {}; // Windows-1252, zero-terminated
    std::int32_t IntervallAnzahl = 0;
    IntervallClass Intervalle[MaxIntervalle] = {}; // sorted by ascending code
};
static_assert(sizeof(AkkordTypClass) == 72);
static_assert(offsetof(AkkordTypClass, Name) == 0);
static_assert(offsetof(AkkordTypClass, IntervallAnzahl) == 20);
static_assert(offsetof(AkkordTypClass, Intervalle) == 24);
