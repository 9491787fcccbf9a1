#pragma once

#include <cstddef>
#include <cstdint>

#include "theory/Grenzen.h"

// One recognised chord: root and chord type, and where the grip stands among the stored grips.
struct TrefferClass
{
    std::uint8_t Grundton = KeinTon;
    std::uint8_t Basston = KeinTon; // shown after a slash, never filed; 12 when the name has none
    std::uint8_t Fuellung[2] = {};
    std::int32_t AkkordTyp = -1;
    std::int32_t GriffIndex = -1; // filled by the chord-table lookup, never by recognition
};
static_assert(sizeof(TrefferClass) == 12);
static_assert(offsetof(TrefferClass, Grundton) == 0);
static_assert(offsetof(TrefferClass, Basston) == 1);
static_assert(offsetof(TrefferClass, AkkordTyp) == 4);
static_assert(offsetof(TrefferClass, GriffIndex) == 8);
