#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "erkennung/AkkordTyp.h"
#include "erkennung/Treffer.h"
#include "grip/Akkord.h"

// The chord-type catalogue and the chord recognition on the object's own grip.
class ErkennungClass : public AkkordClass
{
public:
    ErkennungClass() = default;

    // These four act on the catalogue; the chord table widens them to the whole document.
    void SetzeGeaendert(bool wert) override;
    bool IstGeaendert() const override;
    // Type count and type records; a damaged catalogue is refused with false and left empty.
    bool Einlesen(std::istream& in) override;
    bool Schreiben(std::ostream& out) override;
    // Move and remove types; the chord table also renumbers its stored grips.
    virtual bool AkkordtypenTauschen(int a, int b);
    virtual bool AkkordtypLoeschen(int typ);

    int TypAnzahl() const { return m_typAnzahl; }
    const AkkordTypClass& Typ(int typ) const;
    bool TypZufuegen();
    // -1 empties the catalogue and returns whether there were types.
    bool TypEntfernen(int typ);
    bool TypenTauschen(int a, int b);
    const char* TypName(int typ) const;
    // Stores at most 19 bytes of the Windows-1252 name.
    void TypUmbenennen(int typ, std::string_view name);
    bool IntervallZufuegen(int typ, int intervallcode, bool optional);
    bool IntervallEntfernen(int typ, int intervallcode);
    int IntervallAnzahl(int typ) const;
    int IntervallAn(int typ, int slot) const;
    bool EnthaeltIntervall(int typ, int intervallcode) const;
    std::uint8_t IstOptional(int typ, int intervallcode) const;
    // The intervals as shown to the user: "1-3-(5)-7".
    std::string IntervallText(int typ) const;
    // Stores n unless it is -1; returns the current start string.
    int SetzeStartSaite(int n);

    // Recognises the chord of the grip; fills the result and up to MaxTreffer matches and sets the
    // grip's chord. Returns the number of matches, which can exceed the entries stored in the list.
    int Erkennen(TrefferClass* ergebnis = nullptr, TrefferClass* liste = nullptr);
    // Name of the note within chord type typ on the root: "?" without root, "" without note.
    std::string IntervallImAkkord(int grundton, int typ, int ton) const;

private:
    void sortIntervals(AkkordTypClass& typ);

    AkkordTypClass m_typen[MaxTypen];
    std::int32_t m_typAnzahl = 0;
    std::int32_t m_startSaite = 0;
    bool m_geaendert = false;
};
