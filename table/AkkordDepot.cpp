#include "table/AkkordDepot.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <memory>
#include <new>
#include <ostream>

#include "table/DateiArt.h"
#include "table/DateiErsetzen.h"
#include "table/FingersatzSuche.h"
#include "table/GriffPruefen.h"
#include "table/Konvert1To2.h"
#include "theory/Meldung.h"

namespace {

constexpr char magicCurrent[5] = {'Z', 'W', '0', '2', '\0'};

// Bytes left behind the read position; texts may not claim more than that.
std::int64_t bytesLeft(std::istream& in)
{
    constexpr std::int64_t unknown = 16 * 1024 * 1024;
    const std::streampos here = in.tellg();
    if (here == std::streampos(-1))
        return unknown;
    in.seekg(0, std::ios::end);
    const std::streampos end = in.tellg();
    in.seekg(here);
    if (end == std::streampos(-1) || !in)
        return unknown;
    return static_cast<std::int64_t>(end - here);
}

} // namespace

AkkordDepotClass::AkkordDepotClass()
{
    SetzeText(0, "Gitarre");
    SetzeText(1, "");
    m_instrumentNurLesen = true;
    m_infoNurLesen = true;
    Zuruecksetzen(true);
}

int AkkordDepotClass::Vergleichen(const AkkordDatenClass& a, const AkkordDatenClass& b) const
{
    if (m_eigeneReihenfolge)
        return 0;
    return sortsAfter(a, b) ? 1 : 0;
}

bool AkkordDepotClass::sortsAfter(const AkkordDatenClass& a, const AkkordDatenClass& b)
{
    const auto rootA = static_cast<std::int8_t>(a.Grundton);
    const auto rootB = static_cast<std::int8_t>(b.Grundton);
    if (rootB != rootA)
        return rootB < rootA;
    if (b.AkkordTyp != a.AkkordTyp)
        return b.AkkordTyp < a.AkkordTyp;
    return TiefsterBundVon(a) > TiefsterBundVon(b);
}

void AkkordDepotClass::SetzeGeaendert(bool wert)
{
    m_listeGeaendert = wert;
    ErkennungClass::SetzeGeaendert(wert);
    StimmClass::SetzeGeaendert(wert);
}

bool AkkordDepotClass::IstGeaendert() const
{
    return m_listeGeaendert || ErkennungClass::IstGeaendert() || StimmClass::IstGeaendert();
}

const std::string& AkkordDepotClass::Text(int welcher) const
{
    return m_texte[welcher == 0 ? 0 : 1];
}

const std::string& AkkordDepotClass::SetzeText(int welcher, std::string_view text)
{
    std::string& target = m_texte[welcher == 0 ? 0 : 1];
    target.assign(text.substr(0, text.find('\0')));
    m_listeGeaendert = true;
    return target;
}

void AkkordDepotClass::Zuruecksetzen(bool katalogLeeren)
{
    if (katalogLeeren)
        AkkordtypLoeschen(-1);
    SetzeGeaendert(false);
    SetzeAnzahl(0);
    Nummer = 0;
    SetzeText(0, "");
    SetzeText(1, "");
}

void AkkordDepotClass::chordOfGripCheck()
{
    // The current grip stays across an open; a chord type the new catalogue lacks is no chord.
    if (AkkordTyp >= TypAnzahl() || AkkordTyp < -1)
        AkkordSetzen(KeinTon, -1);
}

bool AkkordDepotClass::sameChord(const AkkordDatenClass& griff, int grundton, int akkordTyp) const
{
    return griff.Grundton == static_cast<std::uint8_t>(grundton) && griff.AkkordTyp == akkordTyp;
}

int AkkordDepotClass::GriffSuchen() const
{
    const AkkordDatenClass& current = Daten();
    for (int i = 0; i < Anzahl(); ++i) {
        if (GleicherGriff(Element(i), current))
            return i;
    }
    return -1;
}

int AkkordDepotClass::GriffeZaehlen(int* position) const
{
    const AkkordDatenClass& current = Daten();
    // The same grip, else the first that sounds the same positions with other fingers.
    const std::uint64_t sounding = FingersatzSucheClass::Klangbild(current, SaitenAnzahl());
    int count = 0;
    int rank = -1;
    int soundsAlike = -1;
    for (int i = 0; i < Anzahl(); ++i) {
        const AkkordDatenClass& griff = Element(i);
        if (!sameChord(griff, current.Grundton, current.AkkordTyp))
            continue;
        if (rank < 0 && GleicherGriff(griff, current))
            rank = count;
        if (soundsAlike < 0 && FingersatzSucheClass::Klangbild(griff, SaitenAnzahl()) == sounding)
            soundsAlike = count;
        ++count;
    }
    if (position)
        *position = rank >= 0 ? rank : soundsAlike;
    return count;
}

int AkkordDepotClass::GriffHolen(int grundton, int akkordTyp, bool nurFinden, int n)
{
    const int wanted = n < 0 ? 0 : n;
    int seen = 0;
    for (int i = 0; i < Anzahl(); ++i) {
        if (!sameChord(Element(i), grundton, akkordTyp))
            continue;
        if (seen++ != wanted)
            continue;
        if (!nurFinden)
            Daten() = Element(i);
        return i;
    }
    return -1;
}

int AkkordDepotClass::GriffeAuflisten(int grundton, int akkordTyp, int* indizes, int max) const
{
    int count = 0;
    for (int i = 0; i < Anzahl(); ++i) {
        if (!sameChord(Element(i), grundton, akkordTyp))
            continue;
        if (indizes && count < max)
            indizes[count] = i;
        ++count;
    }
    return count;
}

int AkkordDepotClass::GriffAufnehmen()
{
    // Normalised before the search, so a stale open flag cannot smuggle in a duplicate.
    LeerBereinigen();
    if (Anzahl() >= MaxGriffe || GriffSuchen() >= 0)
        return -1;
    const int count = Anhaengen(Daten());
    ++Nummer;
    m_listeGeaendert = true;
    return count;
}

bool AkkordDepotClass::GriffEntfernenAn(int index)
{
    if (!EntfernenAn(index))
        return false;
    m_listeGeaendert = true;
    return true;
}

bool AkkordDepotClass::GriffeEinfuegen(const int* indizes, const AkkordDatenClass* griffe, int n)
{
    if (n > MaxGriffe - Anzahl() || !EinfuegenAn(indizes, griffe, n))
        return false;
    m_listeGeaendert = m_listeGeaendert || n > 0;
    return true;
}

bool AkkordDepotClass::GriffeUmordnen(const int* reihenfolge, int n)
{
    if (!Umordnen(reihenfolge, n))
        return false;
    m_listeGeaendert = true;
    return true;
}

void AkkordDepotClass::SortierFolge(int* reihenfolge) const
{
    for (int i = 0; i < Anzahl(); ++i)
        reihenfolge[i] = i;
    // The same stable sort as the list's own, so the order is the one SetzeEigeneReihenfolge gives.
    std::stable_sort(reihenfolge, reihenfolge + Anzahl(),
                     [this](int a, int b) { return sortsAfter(Element(b), Element(a)); });
}

bool AkkordDepotClass::GriffEntfernen()
{
    const int index = GriffSuchen();
    if (index < 0) {
        EinfacheMeldung("Der angezeigt Akkord war nicht gespeichert!", "Abbruch");
        return false;
    }
    return GriffEntfernenAn(index);
}

bool AkkordDepotClass::GriffVerschieben(int bund)
{
    if (!VerschiebenMoeglich(bund))
        return false;
    const int shift = bund - TiefsterBund();
    for (int i = 0; i < PunktAnzahl(); ++i)
        Punkte[i].Bund += shift;
    return true;
}

void AkkordDepotClass::SetzeEigeneReihenfolge(bool an)
{
    m_eigeneReihenfolge = an;
    TemplateArray::Sortieren();
    m_listeGeaendert = true;
}

bool AkkordDepotClass::AkkordtypLoeschen(int typ)
{
    if (typ == -1) {
        // An emptied catalogue leaves no chord type for any grip to be filed under.
        if (Anzahl() > 0)
            m_listeGeaendert = true;
        SetzeAnzahl(0);
        AkkordSetzen(KeinTon, -1);
        return TypEntfernen(-1);
    }
    if (typ < 0 || typ >= TypAnzahl())
        return false;
    // The current grip is renumbered like the stored ones; its own type goes with the type.
    if (AkkordTyp == typ)
        AkkordSetzen(KeinTon, -1);
    else if (AkkordTyp > typ)
        --AkkordTyp;
    int kept = 0;
    for (int i = 0; i < Anzahl(); ++i) {
        AkkordDatenClass& griff = Element(i);
        if (griff.AkkordTyp == typ)
            continue;
        if (griff.AkkordTyp > typ)
            --griff.AkkordTyp;
        Element(kept++) = griff;
    }
    if (kept != Anzahl())
        m_listeGeaendert = true;
    SetzeAnzahl(kept);
    return TypEntfernen(typ);
}

bool AkkordDepotClass::AkkordtypenTauschen(int a, int b)
{
    if (!TypenTauschen(a, b))
        return false;
    if (AkkordTyp == a)
        AkkordTyp = b;
    else if (AkkordTyp == b)
        AkkordTyp = a;
    for (int i = 0; i < Anzahl(); ++i) {
        AkkordDatenClass& griff = Element(i);
        if (griff.AkkordTyp == a)
            griff.AkkordTyp = b;
        else if (griff.AkkordTyp == b)
            griff.AkkordTyp = a;
    }
    m_listeGeaendert = true;
    return true;
}

bool AkkordDepotClass::gripsRead(std::istream& in)
{
    std::int32_t count = 0;
    if (!readBlock(in, &count, sizeof count) || count < 0 || count > MaxGriffe)
        return false;
    if (!readBlock(in, Eintraege(), sizeof(AkkordDatenClass), static_cast<std::size_t>(count)))
        return false;
    for (int i = 0; i < count; ++i) {
        if (griffPruefen(Element(i), TypAnzahl()) != PruefOk)
            return false;
    }
    SetzeAnzahl(count);
    return true;
}

bool AkkordDepotClass::textRead(std::istream& in, int welcher)
{
    std::int32_t length = 0;
    if (!readBlock(in, &length, sizeof length) || length < 0)
        return false;
    if (length == 0)
        return true;
    // The text and its NUL must fit in what is left of the file, ahead of the 4-byte checksum.
    if (static_cast<std::int64_t>(length) + 1 > bytesLeft(in))
        return false;
    const auto bytes = static_cast<std::size_t>(length) + 1;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[bytes]);
    if (!buffer || !readBlock(in, buffer.get(), 1, bytes))
        return false;
    SetzeText(welcher, std::string_view(buffer.get(), static_cast<std::size_t>(length)));
    return true;
}

bool AkkordDepotClass::textWrite(std::ostream& out, int welcher)
{
    const std::string& text = Text(welcher);
    const auto length = static_cast<std::int32_t>(text.size());
    if (!writeBlock(out, &length, sizeof length))
        return false;
    return length == 0 || writeBlock(out, text.c_str(), 1, text.size() + 1);
}

bool AkkordDepotClass::Einlesen(std::istream& in)
{
    return ErkennungClass::Einlesen(in) && readBlock(in, &Nummer, sizeof Nummer) && gripsRead(in) &&
           StimmClass::Einlesen(in) && textRead(in, 0) && textRead(in, 1);
}

bool AkkordDepotClass::Schreiben(std::ostream& out)
{
    checksumClear();
    const std::int32_t count = Anzahl();
    return ErkennungClass::Schreiben(out) && writeBlock(out, &Nummer, sizeof Nummer) &&
           writeBlock(out, &count, sizeof count) &&
           writeBlock(out, Eintraege(), sizeof(AkkordDatenClass), static_cast<std::size_t>(count)) &&
           writeBlock(out, NamenTabelle(), sizeof(NotenNameClass), AnzahlNotenNamen) &&
           StimmClass::Schreiben(out) && textWrite(out, 0) && textWrite(out, 1);
}

bool AkkordDepotClass::KopfLesen(const std::string& pfad, char kopf[5])
{
    std::memset(kopf, 0, 5);
    if (dateiArt(pfad) != DateiArt::Datei)
        return false;
    std::ifstream in(std::filesystem::path(pfad), std::ios::binary);
    if (!in)
        return false;
    in.read(kopf, 5);
    return true;
}

int AkkordDepotClass::Laden(const std::string& pfad)
{
    const DateiArt art = dateiArt(pfad);
    if (art != DateiArt::Datei && art != DateiArt::Fehlt)
        return LadenKeineDatei;
    std::ifstream in(std::filesystem::path(pfad), std::ios::binary);
    if (!in)
        return LadenNichtLesbar;
    char magic[5] = {};
    in.read(magic, 5);
    // One damaged byte of the magic makes a damaged chord table, which the rescue takes over; a file
    // of the old version is no such thing.
    int differing = 0;
    for (int i = 0; i < 5; ++i)
        differing += magic[i] != magicCurrent[i] ? 1 : 0;
    if (differing > 1 || (differing == 1 && std::memcmp(magic, "ZW01", 4) == 0))
        return LadenFalscheKennung;

    Zuruecksetzen(false);
    checksumClear();
    bool intact = Einlesen(in);
    if (intact) {
        std::int32_t stored = 0;
        in.read(reinterpret_cast<char*>(&stored), sizeof stored);
        intact = in.gcount() == sizeof stored && stored == checksumValue() && differing == 0;
    }
    chordOfGripCheck();
    SetzeGeaendert(false);
    return intact ? LadenOk : LadenZerstoert;
}

bool AkkordDepotClass::Speichern(const std::string& pfad)
{
    if (Pruefen() != PruefOk) {
        m_speicherFehler = SpeichernUngueltig;
        return false;
    }
    m_speicherFehler = writeFileReplacing(pfad, [this](std::ostream& out) {
        out.write(magicCurrent, sizeof magicCurrent);
        const bool body = static_cast<bool>(out) && Schreiben(out);
        const std::int32_t checksum = checksumValue();
        out.write(reinterpret_cast<const char*>(&checksum), sizeof checksum);
        return body && static_cast<bool>(out);
    });
    if (m_speicherFehler != SpeichernOk)
        return false;
    SetzeGeaendert(false);
    return true;
}

bool AkkordDepotClass::Konvertieren(const std::string& pfad)
{
    if (dateiArt(pfad) != DateiArt::Datei)
        return false;
    KonvertClass1To2 converter;
    return converter.Konvertieren(pfad);
}
