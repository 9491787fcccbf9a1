#include "table/AkkordDepot.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "theory/Intervalle.h"
#include "table/DateiArt.h"
#include "table/GriffPruefen.h"

namespace {

constexpr char magicCurrent[5] = {'Z', 'W', '0', '2', '\0'};
// A chord table with both texts at their longest readable size stays far below this.
constexpr std::size_t maxRescueBytes = 64u * 1024u * 1024u;

// The bytes of a file, read at once; false when it cannot be opened.
bool fileRead(const std::string& pfad, std::string& data)
{
    std::ifstream in(std::filesystem::path(pfad), std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    data.resize(size > 0 ? std::min<std::size_t>(static_cast<std::size_t>(size), maxRescueBytes) : 0);
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(in.gcount()));
    return true;
}

// Keeps the name and every interval slot with a known code; the cached distance is taken from the
// interval table, so a changed byte costs at most that one slot.
void typeRepair(AkkordTypClass& typ)
{
    typ.Name[MaxTypNameLaenge] = '\0';
    const int slots = std::clamp<int>(typ.IntervallAnzahl, 0, MaxIntervalle);
    int kept = 0;
    for (int k = 0; k < slots; ++k) {
        IntervallClass slot = typ.Intervalle[k];
        if (slot.Intervallcode > 17)
            continue;
        slot.Halbtoene = HalbtoeneVon(slot.Intervallcode);
        slot.Optional = slot.Optional != 0 ? 1 : 0;
        slot.Fuellung[0] = slot.Fuellung[1] = 0;
        typ.Intervalle[kept++] = slot;
    }
    for (int k = kept; k < MaxIntervalle; ++k)
        typ.Intervalle[k] = IntervallClass{};
    typ.IntervallAnzahl = kept;
}


constexpr std::size_t typesAt = 9;
constexpr std::size_t typeBytes = sizeof(AkkordTypClass);
constexpr std::size_t gripBytes = sizeof(AkkordDatenClass);
// Note names, string count, two empty text lengths and the checksum: the least behind the grips.
constexpr std::size_t leastTail = sizeof(NotenNameClass) * AnzahlNotenNamen + 4 + 4 + 4 + 4;
// Grip records looked at to tell where the grip list starts.
constexpr int probedGrips = 8;

// The magic, or the magic with one damaged byte; a file of the old version is none.
bool nearMagic(std::string_view data)
{
    if (data.size() < sizeof magicCurrent || data.compare(0, 4, "ZW01") == 0)
        return false;
    int differing = 0;
    for (std::size_t i = 0; i < sizeof magicCurrent; ++i)
        differing += data[i] != magicCurrent[i] ? 1 : 0;
    return differing <= 1;
}

bool readInt(std::string_view data, std::size_t& at, std::int32_t& value)
{
    if (data.size() < at || data.size() - at < sizeof value)
        return false;
    std::memcpy(&value, data.data() + at, sizeof value);
    at += sizeof value;
    return true;
}

// A grip as this program writes it: valid, and every filler byte zero. Only such records tell where
// the grip list lies.
bool plausibleGrip(const AkkordDatenClass& griff, int typeCount)
{
    if (griffPruefen(griff, typeCount) != PruefOk)
        return false;
    static const FingerPunktClass empty{};
    return griff.Fuellung1[0] == 0 && griff.Fuellung1[1] == 0 && griff.Fuellung1[2] == 0 &&
           griff.Fuellung2[0] == 0 && griff.Fuellung2[1] == 0 &&
           std::memcmp(&griff.Punkte[MaxPunkte], &empty, sizeof empty) == 0;
}

// Whether a text stored from at reads completely: a length, the bytes and their terminating zero,
// with no zero and no control character inside.
bool textTake(std::string_view data, std::size_t& at, std::string& text)
{
    std::int32_t length = 0;
    if (!readInt(data, at, length) || length < 0)
        return false;
    if (length == 0)
        return true;
    const auto bytes = static_cast<std::size_t>(length);
    if (data.size() - at < bytes + 1 || data[at + bytes] != '\0')
        return false;
    const std::string_view found = data.substr(at, bytes);
    for (const char c : found) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\n' && c != '\r' && c != '\t')
            return false;
    }
    text.assign(found);
    at += bytes + 1;
    return true;
}

template <std::size_t N> bool nameValid(const char (&field)[N])
{
    const void* end = std::memchr(field, '\0', N);
    if (!end)
        return false;
    for (const char* c = field; c != end; ++c) {
        if (static_cast<unsigned char>(*c) < 0x20)
            return false;
    }
    return true;
}

bool namesValid(const NotenNameClass* names)
{
    for (int i = 0; i < AnzahlNotenNamen; ++i) {
        if (!nameValid(names[i].Kurzname) || !nameValid(names[i].Langname))
            return false;
    }
    return true;
}

// Valid names with a short name for every note: blank root names are no table's, only a sign of a
// misplaced block.
bool namesUsable(const NotenNameClass* names)
{
    if (!namesValid(names))
        return false;
    for (int ton = 0; ton < 12; ++ton) {
        if (names[ton].Kurzname[0] == '\0')
            return false;
    }
    return true;
}

// Whether everything behind grips ending at `at` fits the file exactly: note names, tuning, both texts
// and the checksum.
bool tailFits(std::string_view data, std::size_t at)
{
    if (data.size() < at || data.size() - at < leastTail)
        return false;
    // Grip records are mostly small numbers and zeros: real note names tell the tail from them.
    NotenNameClass names[AnzahlNotenNamen];
    std::memcpy(names, data.data() + at, sizeof names);
    if (!namesUsable(names))
        return false;
    at += sizeof names;
    std::int32_t strings = 0;
    if (!readInt(data, at, strings) || strings < 0 || strings > MaxSaiten)
        return false;
    at += sizeof(StimmSaiteClass) * static_cast<std::size_t>(strings);
    std::string text;
    return textTake(data, at, text) && textTake(data, at, text) && data.size() >= at &&
           data.size() - at == sizeof(std::int32_t);
}

bool tuningValid(const StimmSaiteClass* strings, int count)
{
    // Instruments span a few octaves: a wild octave is a damaged byte.
    for (int i = 0; i < count; ++i) {
        if (strings[i].Ton >= KeinTon || strings[i].Oktave < -8 || strings[i].Oktave > 8)
            return false;
    }
    return true;
}

struct Layout
{
    int types = 0;
    std::size_t gripsAt = 0;
    int grips = 0;
    bool countKnown = false; // the grip count agrees with the rest of the file
    bool tailKnown = false;  // where the part behind the grips starts is known
};

std::int32_t intAt(std::string_view data, std::size_t at, std::int32_t otherwise)
{
    std::int32_t value = otherwise;
    readInt(data, at, value);
    return value;
}

int probedValid(std::string_view data, std::size_t at, int typeCount)
{
    int valid = 0;
    for (int i = 0; i < probedGrips && data.size() >= at + gripBytes * (i + 1); ++i) {
        AkkordDatenClass griff;
        std::memcpy(&griff, data.data() + at + gripBytes * i, sizeof griff);
        valid += plausibleGrip(griff, typeCount) ? 1 : 0;
    }
    return valid;
}

Layout layoutFind(std::string_view data)
{
    const std::int32_t storedTypes = intAt(data, 5, -1);
    Layout best;
    long bestScore = -1;
    for (int types = 0; types <= MaxTypen; ++types) {
        const std::size_t gripsAt = typesAt + typeBytes * static_cast<std::size_t>(types) + 8;
        // A file cut inside the catalogue still has the types before the cut.
        if (gripsAt > data.size() && types != storedTypes)
            continue;
        const std::int32_t count = intAt(data, gripsAt - 4, -1);
        const bool countFits = count >= 0 && count <= MaxGriffe &&
                               tailFits(data, gripsAt + gripBytes * static_cast<std::size_t>(count));
        const long score = (types == storedTypes ? 1000 : 0) + (countFits ? 2000 : 0) +
                           100 * probedValid(data, gripsAt, types) + (types == storedTypes ? 1 : 0);
        if (score > bestScore) {
            bestScore = score;
            best.types = types;
            best.gripsAt = gripsAt;
            best.grips = countFits ? count : -1;
            best.countKnown = countFits;
        }
    }
    if (bestScore < 0 || best.gripsAt > data.size()) {
        best.grips = 0;
        best.countKnown = false;
        return best;
    }
    const std::size_t room = data.size() - best.gripsAt;
    const int complete = static_cast<int>(std::min<std::size_t>(room / gripBytes, MaxGriffe));
    if (best.countKnown) {
        best.tailKnown = true;
        return best;
    }
    // The count is damaged or the part behind the grips is: the count is the one behind which the
    // rest of the file fits, nearest to the stored one.
    const std::int32_t stored = intAt(data, best.gripsAt - 4, -1);
    const bool storedValid = stored >= 0 && stored <= MaxGriffe;
    int found = -1;
    for (int count = 0; count <= complete; ++count) {
        if (!tailFits(data, best.gripsAt + gripBytes * static_cast<std::size_t>(count)))
            continue;
        if (found < 0 || !storedValid || std::abs(count - stored) < std::abs(found - stored))
            found = count;
    }
    if (found >= 0) {
        best.grips = found;
        best.countKnown = true;
        best.tailKnown = true;
    } else if (storedValid) {
        // A damaged part behind the grips, or a cut file: the grips the count names, as far as they go.
        best.grips = std::min(stored, complete);
        best.tailKnown = stored <= complete;
        best.countKnown = true;
    } else {
        // Neither count nor end known: every complete record that looks like one this program wrote.
        best.grips = complete;
    }
    return best;
}

} // namespace

void AkkordDepotClass::Uebernehmen(const AkkordDepotClass& quelle)
{
    if (&quelle == this)
        return;
    // The recognition mode belongs to the program run, not to the table.
    const int startSaite = SetzeStartSaite(-1);
    *this = quelle;
    SetzeStartSaite(startSaite);
}

int AkkordDepotClass::Retten(const std::string& pfad)
{
    std::string data;
    if (dateiArt(pfad) != DateiArt::Datei || !fileRead(pfad, data))
        return -1;
    return RettenAus(data);
}

int AkkordDepotClass::RettenAus(std::string_view data)
{
    if (!nearMagic(data))
        return -1;

    Zuruecksetzen(true);
    StandardNamen();
    Standardstimmung();
    m_rettung = RettungsBericht{};

    // Where the grips start follows from the type count; a damaged count is outvoted by the grip
    // records and the rest of the file, which only fit at the right place.
    const Layout layout = layoutFind(data);
    m_rettung.typen = std::min<int>(layout.types, static_cast<int>((data.size() - typesAt) / typeBytes));
    if (m_rettung.typen > 0) {
        AkkordTypClass catalogue[MaxTypen];
        const int types = m_rettung.typen;
        std::memcpy(catalogue, data.data() + typesAt, typeBytes * static_cast<std::size_t>(types));
        for (int i = 0; i < types; ++i)
            typeRepair(catalogue[i]);
        std::string block(reinterpret_cast<const char*>(&types), sizeof types);
        block.append(reinterpret_cast<const char*>(catalogue), typeBytes * static_cast<std::size_t>(types));
        std::istringstream in(block);
        if (!ErkennungClass::Einlesen(in))
            m_rettung.typen = 0;
    }
    if (layout.gripsAt >= 8 && layout.gripsAt <= data.size())
        std::memcpy(&Nummer, data.data() + layout.gripsAt - 8, sizeof Nummer);

    for (int i = 0; i < layout.grips; ++i) {
        AkkordDatenClass griff;
        std::memcpy(&griff, data.data() + layout.gripsAt + gripBytes * static_cast<std::size_t>(i), sizeof griff);
        if (griffPruefen(griff, TypAnzahl()) == PruefOk && (layout.countKnown || plausibleGrip(griff, TypAnzahl())))
            Anhaengen(griff);
        else
            ++m_rettung.verworfen;
    }
    m_rettung.griffe = Anzahl();
    if (layout.tailKnown)
        tailTake(data, layout.gripsAt + gripBytes * static_cast<std::size_t>(layout.grips));
    chordOfGripCheck();
    SetzeGeaendert(true);
    return Anzahl();
}

// Takes over each part behind the grips that is readable and valid; each part found wanting keeps the
// default of a new table, and so does everything behind it, whose place is then unknown.
void AkkordDepotClass::tailTake(std::string_view data, std::size_t at)
{
    NotenNameClass names[AnzahlNotenNamen];
    if (data.size() < at + sizeof names)
        return;
    std::memcpy(names, data.data() + at, sizeof names);
    at += sizeof names;
    if (namesUsable(names)) {
        // As the reader does: a name's last byte is always zero, so the rescued table saves as it reloads.
        for (NotenNameClass& name : names) {
            name.Kurzname[sizeof name.Kurzname - 1] = '\0';
            name.Langname[sizeof name.Langname - 1] = '\0';
        }
        std::memcpy(NamenTabelle(), names, sizeof names);
        m_rettung.namen = true;
    }
    std::int32_t strings = 0;
    if (!readInt(data, at, strings) || strings < 0 || strings > MaxSaiten ||
        data.size() - at < sizeof(StimmSaiteClass) * static_cast<std::size_t>(strings))
        return;
    StimmSaiteClass tuning[MaxSaiten];
    std::memcpy(tuning, data.data() + at, sizeof(StimmSaiteClass) * static_cast<std::size_t>(strings));
    at += sizeof(StimmSaiteClass) * static_cast<std::size_t>(strings);
    if (strings > 0 && tuningValid(tuning, strings)) {
        std::string block(reinterpret_cast<const char*>(NamenTabelle()), sizeof names);
        block.append(reinterpret_cast<const char*>(&strings), sizeof strings);
        block.append(reinterpret_cast<const char*>(tuning), sizeof(StimmSaiteClass) * strings);
        std::istringstream in(block);
        m_rettung.stimmung = StimmClass::Einlesen(in);
    }
    for (int welcher = 0; welcher < 2; ++welcher) {
        std::string text;
        if (!textTake(data, at, text))
            return;
        SetzeText(welcher, text);
        (welcher == 0 ? m_rettung.instrument : m_rettung.info) = true;
    }
}

PruefErgebnis AkkordDepotClass::Pruefen(int* griffIndex) const
{
    if (griffIndex)
        *griffIndex = -1;
    if (Anzahl() > MaxGriffe)
        return PruefZuVieleGriffe;
    for (int i = 0; i < Anzahl(); ++i) {
        const PruefErgebnis result = griffPruefen(Element(i), TypAnzahl());
        if (result != PruefOk) {
            if (griffIndex)
                *griffIndex = i;
            return result;
        }
    }
    return PruefOk;
}
