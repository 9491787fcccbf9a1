#pragma once

#include <cstddef>
#include <cstdint>

#include "theory/Grenzen.h"

// One finger entry of a grip.
struct FingerPunktClass
{
    std::int32_t Bund = 0;   // fret 1..30
    std::int32_t Saite = 0;  // string 1..6
    std::int32_t Finger = 0; // 1..4; 0 is drawn without a number
    std::uint8_t Reserviert = 0;
    std::uint8_t Fuellung[3] = {};
};
static_assert(sizeof(FingerPunktClass) == 16);
static_assert(offsetof(FingerPunktClass, Bund) == 0);
static_assert(offsetof(FingerPunktClass, Saite) == 4);
static_assert(offsetof(FingerPunktClass, Finger) == 8);
static_assert(offsetof(FingerPunktClass, Reserviert) == 12);

// The grip record: copied, compared and stored byte for byte in the chord table and its file.
struct AkkordDatenClass
{
    std::int32_t Nummer = 0;
    std::uint8_t Grundton = KeinTon;
    std::uint8_t Fuellung1[3] = {};
    std::int32_t AkkordTyp = 0;
    std::int32_t PunktAnzahl = 0;
    FingerPunktClass Punkte[MaxPunkte + 1] = {}; // the 13th slot stays zero
    std::uint8_t Leer[MaxSaiten] = {};           // non-zero: the string rings open when unfretted
    std::uint8_t Fuellung2[2] = {};
};
static_assert(sizeof(AkkordDatenClass) == 232);
static_assert(offsetof(AkkordDatenClass, Nummer) == 0);
static_assert(offsetof(AkkordDatenClass, Grundton) == 4);
static_assert(offsetof(AkkordDatenClass, AkkordTyp) == 8);
static_assert(offsetof(AkkordDatenClass, PunktAnzahl) == 12);
static_assert(offsetof(AkkordDatenClass, Punkte) == 16);
static_assert(offsetof(AkkordDatenClass, Leer) == 224);
static_assert(offsetof(AkkordDatenClass, Fuellung2) == 230);

// Two records are the same grip when all bytes but the grip number are equal.
bool GleicherGriff(const AkkordDatenClass& a, const AkkordDatenClass& b);
// Lowest fret of the entries in use; 1 for a grip without entries.
int TiefsterBundVon(const AkkordDatenClass& griff);
