#include "table/AkkordDepot.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "theory/Intervalle.h"
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

class Cursor
{
public:
    explicit Cursor(const std::string& data) : m_data(data) {}

    std::size_t left() const { return m_data.size() - m_at; }
    std::size_t at() const { return m_at; }
    bool skip(std::size_t bytes)
    {
        if (bytes > left())
            return false;
        m_at += bytes;
        return true;
    }
    bool read(void* target, std::size_t bytes)
    {
        if (bytes > left())
            return false;
        std::memcpy(target, m_data.data() + m_at, bytes);
        m_at += bytes;
        return true;
    }
    bool readCount(std::int32_t& value, std::int32_t max)
    {
        return read(&value, sizeof value) && value >= 0 && value <= max;
    }

private:
    const std::string& m_data;
    std::size_t m_at = 0;
};

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
    if (!fileRead(pfad, data) || data.size() < sizeof magicCurrent ||
        std::memcmp(data.data(), magicCurrent, sizeof magicCurrent) != 0)
        return -1;

    Zuruecksetzen(true);
    StandardNamen();
    Standardstimmung();
    Cursor cursor(data);
    cursor.skip(sizeof magicCurrent);

    // Each part is read only when everything before it had a readable size, so no part is taken
    // from a wrong place; a part that cannot be read keeps its default and ends the rescue.
    std::int32_t types = 0;
    if (!cursor.readCount(types, MaxTypen)) {
        SetzeGeaendert(true);
        return 0;
    }
    AkkordTypClass catalogue[MaxTypen];
    const int typesRead = std::min<int>(types, static_cast<int>(cursor.left() / sizeof(AkkordTypClass)));
    cursor.read(catalogue, sizeof(AkkordTypClass) * static_cast<std::size_t>(typesRead));
    for (int i = 0; i < typesRead; ++i)
        typeRepair(catalogue[i]);
    {
        std::string block(reinterpret_cast<const char*>(&typesRead), sizeof typesRead);
        block.append(reinterpret_cast<const char*>(catalogue), sizeof(AkkordTypClass) * typesRead);
        std::istringstream in(block);
        ErkennungClass::Einlesen(in);
    }

    std::int32_t count = 0;
    bool readable = typesRead == types && cursor.read(&Nummer, sizeof Nummer) && cursor.readCount(count, MaxGriffe);
    if (readable) {
        const int complete = std::min<int>(count, static_cast<int>(cursor.left() / sizeof(AkkordDatenClass)));
        for (int i = 0; i < complete; ++i) {
            AkkordDatenClass griff;
            cursor.read(&griff, sizeof griff);
            if (griffPruefen(griff, TypAnzahl()) == PruefOk)
                Anhaengen(griff);
        }
        readable = complete == count;
    }

    if (readable) {
        // The tuning's own reader validates the note names and the strings and falls back to the
        // standard tuning; it must see the whole tuning, or the file was cut there.
        std::int32_t strings = 0;
        const std::size_t start = cursor.at();
        readable = cursor.skip(sizeof(NotenNameClass) * AnzahlNotenNamen) && cursor.readCount(strings, MaxSaiten) &&
                   cursor.skip(sizeof(StimmSaiteClass) * static_cast<std::size_t>(strings));
        if (readable) {
            std::istringstream in(data.substr(start, cursor.at() - start));
            StimmClass::Einlesen(in);
        }
    }
    if (readable) {
        std::istringstream in(data.substr(cursor.at()));
        if (textRead(in, 0))
            textRead(in, 1);
    }
    chordOfGripCheck();
    SetzeGeaendert(true);
    return Anzahl();
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
