#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "erkennung/AkkordTyp.h"
#include "erkennung/Treffer.h"
#include "grip/Akkord.h"

// Start string that stands for the lowest sounding string, found afresh on every run; its chords are
// named with their bass after a slash.
inline constexpr int StartSaiteBasston = MaxSaiten + 1;

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
    // Replaces the whole catalogue by anzahl type records; false (catalogue unchanged) for a count
    // outside 0..MaxTypen.
    bool KatalogSetzen(const AkkordTypClass* typen, int anzahl);
    bool IntervallZufuegen(int typ, int intervallcode, bool optional);
    bool IntervallEntfernen(int typ, int intervallcode);
    int IntervallAnzahl(int typ) const;
    int IntervallAn(int typ, int slot) const;
    bool EnthaeltIntervall(int typ, int intervallcode) const;
    std::uint8_t IstOptional(int typ, int intervallcode) const;
    // The intervals as shown to the user: "1-3-(5)-7".
    std::string IntervallText(int typ) const;
    // Stores n (0..6, or StartSaiteBasston) unless it is -1; returns the current start string.
    int SetzeStartSaite(int n);

    // Recognises the chord of the grip; fills the result and up to MaxTreffer matches, best first, and
    // sets the grip's chord. Returns the number of matches, which can exceed the entries stored in the
    // list; when it does, the result is still among them.
    int Erkennen(TrefferClass* ergebnis = nullptr, TrefferClass* liste = nullptr);
    // The sounding string with the lowest pitch (the lower string on a tie); 0 when none sounds.
    int BassSaite() const;
    // The note of the lowest sounding string of any grip in this tuning; 12 when none sounds.
    int BassTon(const AkkordDatenClass& griff) const;
    // The bass a grip filed under grundton is named with after a slash: its lowest note while the
    // start string is StartSaiteBasston and that note is not the root, else 12.
    int SchraegstrichBass(int grundton, const AkkordDatenClass& griff) const;
    // Root's short name, the type's name and, for a bass other than the root, "/" and the bass's
    // short name: "C", "Am7", "D/F#"; empty for type -1. Windows-1252.
    std::string AkkordName(int grundton, int typ, int bass = KeinTon) const;
    // Name of the note within chord type typ on the root: "?" without root, "" without note.
    std::string IntervallImAkkord(int grundton, int typ, int ton) const;

private:
    void sortIntervals(AkkordTypClass& typ);
    void masksUpdate();
    // Preference among fitting chords, higher first: root on the start note (12: none), then the bass
    // as root, fifth, third, seventh or added tone, then the sounding notes reached by required slots,
    // then the earlier type, then the lower root (depth: distinct notes sounding below it). Needs
    // current masks.
    std::uint32_t rankOf(int root, int type, int startNote, int bassNote, int depth) const;

    AkkordTypClass m_typen[MaxTypen];
    std::int32_t m_typAnzahl = 0;
    std::int32_t m_startSaite = 0;
    bool m_geaendert = false;
    // Per pitch class above the root, one bit per type: the types that reach it, and the types that
    // can do without it. Kept between runs; every catalogue change marks them stale.
    std::uint64_t m_erreichen[12] = {};
    std::uint64_t m_entbehrlich[12] = {};
    std::uint64_t m_mitIntervallen = 0; // types with at least one interval
    // Per type, pitch classes above the root: required slots, and the slots of its fifth, third and
    // seventh, which name the part a bass note plays.
    std::uint16_t m_erforderlich[MaxTypen] = {};
    std::uint16_t m_quinte[MaxTypen] = {};
    std::uint16_t m_terz[MaxTypen] = {};
    std::uint16_t m_septime[MaxTypen] = {};
    bool m_maskenAktuell = false;
};
