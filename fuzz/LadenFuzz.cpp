// Feeds arbitrary bytes to the chord-table reader and the version-01 converter.
#include <cstddef>
#include <cstdint>
#include <fstream>
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
    for (int g = 0; g < doc.Anzahl(); ++g) {
        const AkkordDatenClass& griff = doc.Element(g);
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static std::unique_ptr<AkkordDepotClass> doc = [] {
        SetzeEinfacheMeldung(&ignoreMessage);
        return std::make_unique<AkkordDepotClass>();
    }();
    static const std::string path = "fuzz-" + std::to_string(getpid()) + ".cho";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    if (doc->Laden(path) != LadenNichtLesbar)
        useDocument(*doc);
    if (AkkordDepotClass::Konvertieren(path) && doc->Laden(path) == LadenOk)
        useDocument(*doc);
    return 0;
}
