#pragma once

// Capacities of the data model; operations that would exceed them refuse.
inline constexpr int KeinTon = 12; // note index meaning "no note"
inline constexpr int MaxSaiten = 6;
inline constexpr int MaxTypen = 40;
inline constexpr int MaxIntervalle = 6;
inline constexpr int AnzahlIntervallcodes = 18;
inline constexpr int MaxPunkte = 12;
inline constexpr int MaxBund = 30;
inline constexpr int MaxGriffe = 10000;
inline constexpr int MaxTreffer = 20;
