// Feeds arbitrary bytes to the chord-table reader, the rescue and the version-01 converter, and saves
// every document that loads or is rescued: the saved file must load again with the same content.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>

#include "table/AkkordDepot.h"
#include "theory/Meldung.h"

namespace {

void ignoreMessage(const std::string&, const std::string&) {}

// Touches everything a window would read after an open, so that an out-of-range value shows up.
int useDocument(AkkordDepotClass& doc)
{
    int sum = 0;
    for (int t = 0; t < doc.TypAnzahl(); ++t)
        sum += static_cast<int>(doc.IntervallText(t).size()) +
               static_cast<int>(std::string(doc.TypName(t)).size());
    for (int s = 1; s <= doc.SaitenAnzahl(); ++s)
        sum += static_cast<int>(doc.SaitenBezeichnung(s).size());
    // Every grip is read; the costly lookups (each a pass over the list) only for some, or a full
    // table would take minutes per input.
    for (int g = 0; g < doc.Anzahl(); ++g) {
        const AkkordDatenClass& griff = doc.Element(g);
        sum += griff.Grundton + griff.AkkordTyp + TiefsterBundVon(griff);
        if (g >= 64 && g != doc.Anzahl() - 1)
            continue;
        doc.GriffHolen(griff.Grundton, griff.AkkordTyp, false, 0);
        TrefferClass result;
        TrefferClass list[MaxTreffer];
        sum += doc.Erkennen(&result, list) + doc.Barre(1) + doc.GriffeZaehlen();
        if (result.AkkordTyp >= 0)
            sum += static_cast<int>(doc.IntervallImAkkord(result.Grundton, result.AkkordTyp, 4).size());
        sum += static_cast<int>(std::string(doc.TonName(griff.Grundton, true)).size());
    }
    doc.SetzeEigeneReihenfolge(false);
    return sum + static_cast<int>(doc.Text(0).size() + doc.Text(1).size() + doc.AlsText().size());
}

// Files live in memory where the machine has it: the save flushes to the disk every time.
std::string scratchPath(const char* what)
{
    const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "";
    return folder + "zw-fuzz-" + std::to_string(getpid()) + "-" + what + ".cho";
}

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Saves the document, loads the file back and saves that again: both files must be the same.
void roundTrip(AkkordDepotClass& doc)
{
    static std::unique_ptr<AkkordDepotClass> again = std::make_unique<AkkordDepotClass>();
    static const std::string first = scratchPath("first");
    static const std::string second = scratchPath("second");
    if (!doc.Speichern(first))
        __builtin_trap();
    if (again->Laden(first) != LadenOk || !again->Speichern(second))
        __builtin_trap();
    if (fileBytes(first) != fileBytes(second))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static std::unique_ptr<AkkordDepotClass> doc = [] {
        SetzeEinfacheMeldung(&ignoreMessage);
        return std::make_unique<AkkordDepotClass>();
    }();
    static const std::string path = scratchPath("input");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const int result = doc->Laden(path);
    if (result == LadenOk) {
        useDocument(*doc);
        roundTrip(*doc);
    } else if (result == LadenZerstoert && doc->Retten(path) >= 0) {
        useDocument(*doc);
        roundTrip(*doc);
    }
    if (AkkordDepotClass::Konvertieren(path) && doc->Laden(path) == LadenOk)
        useDocument(*doc);
    return 0;
}
