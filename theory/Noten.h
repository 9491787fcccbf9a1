#pragma once

#include <cstddef>
#include <string_view>

// One entry of the note-name table, stored byte for byte in chord-table files.
struct NotenNameClass
{
    char Kurzname[6];  // at most 5 characters, Windows-1252, zero-terminated
    char Langname[11]; // at most 10 characters
};
static_assert(sizeof(NotenNameClass) == 17);
static_assert(offsetof(NotenNameClass, Kurzname) == 0);
static_assert(offsetof(NotenNameClass, Langname) == 6);

inline constexpr int AnzahlNotenNamen = 13; // notes 0..11 and "no note"
static_assert(sizeof(NotenNameClass[AnzahlNotenNamen]) == 221);

// The renamable short and long names of the notes of one chord table.
class NotenClass
{
public:
    NotenClass();
    virtual ~NotenClass() = default;
    NotenClass(const NotenClass&) = default;
    NotenClass& operator=(const NotenClass&) = default;

    virtual void SetzeGeaendert(bool wert);
    virtual bool IstGeaendert() const;

    // Kurzname when kurz is true, else Langname; "" for a note outside 0..12.
    const char* TonName(int ton, bool kurz) const;
    // Stores at most 5 (kurz) or 10 bytes of the Windows-1252 name.
    void TonUmbenennen(int ton, std::string_view name, bool kurz);
    // Moves a note n semitones up or down, wrapping within 0..11; "no note" stays "no note".
    static int Transponieren(int ton, int anzahl, bool aufwaerts);

    NotenNameClass* NamenTabelle() { return m_namen; }
    const NotenNameClass* NamenTabelle() const { return m_namen; }
    void StandardNamen();

private:
    NotenNameClass m_namen[AnzahlNotenNamen];
    bool m_geaendert = false;
};
