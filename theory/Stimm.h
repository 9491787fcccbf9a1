#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "theory/Checksum.h"
#include "theory/Grenzen.h"
#include "theory/Noten.h"

// One string of a tuning, stored byte for byte in chord-table files.
struct StimmSaiteClass
{
    std::uint8_t Ton = 0; // open note 0..11
    std::uint8_t Fuellung[3] = {};
    std::int32_t Oktave = 0; // signed octave offset
};
static_assert(sizeof(StimmSaiteClass) == 8);
static_assert(offsetof(StimmSaiteClass, Ton) == 0);
static_assert(offsetof(StimmSaiteClass, Oktave) == 4);

// The tuning of an instrument: 1..6 strings, string 1 the lowest.
class StimmClass : public NotenClass, public ChecksumClass
{
public:
    StimmClass();

    void SetzeGeaendert(bool wert) override;
    bool IstGeaendert() const override;
    // Note-name table, string count and strings (reading); string count and strings (writing).
    // Damaged data is refused with false and leaves a valid tuning of 1..6 strings.
    virtual bool Einlesen(std::istream& in);
    virtual bool Schreiben(std::ostream& out);

    void Standardstimmung();
    int SaitenAnzahl() const { return m_anzahl; }
    // Note of string n (1-based), 12 outside the tuning; copies the whole string when asked.
    int SaiteLesen(int n, StimmSaiteClass* saite = nullptr) const;
    void SaiteSetzen(int n, const StimmSaiteClass& saite);
    bool SaiteZufuegen();
    bool SaiteEntfernen(int position);
    bool SaitenTauschen(int a, int b);
    // Short names of all strings joined by "-", string 1 first.
    std::string AlsText() const;
    // "E +1", "H", "A -1": short name and octave of string n.
    std::string SaitenBezeichnung(int n) const;

private:
    StimmSaiteClass m_saiten[MaxSaiten];
    std::int32_t m_anzahl = 0;
    bool m_geaendert = false;
};
