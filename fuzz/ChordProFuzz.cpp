// Feeds arbitrary text to the ChordPro reader as a song and as a chord file, writes what it read back
// and reads that again (the same definitions, no errors), and imports it into a chord table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "chordpro/ChordProImport.h"
#include "chordpro/ChordProReader.h"
#include "chordpro/ChordProWriter.h"
#include "chordpro/Liedblatt.h"
#include "table/AkkordDepot.h"
#include "theory/Meldung.h"

namespace {

void ignoreMessage(const std::string&, const std::string&) {}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

AkkordDepotClass& table()
{
    static const std::unique_ptr<AkkordDepotClass> doc = [] {
        SetzeEinfacheMeldung(ignoreMessage);
        auto d = std::make_unique<AkkordDepotClass>();
        check(d->Laden(ZW_DEFAULT_TABLE) == LadenOk);
        return d;
    }();
    return *doc;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 20000)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    AkkordDepotClass& tabelle = table();
    for (const bool song : {false, true}) {
        const ChordProInhalt inhalt = ChordProReader::read(text, song);
        std::string written;
        for (const ChordProDefinition& d : inhalt.definitions) {
            check(d.saiten >= 1 && d.saiten <= MaxSaiten && d.baseFret >= 1 && d.line >= 1);
            // Names with blanks or braces do not survive a {define}; the reader never gives them.
            written += ChordProWriter::defineLine(d, true) + "\n";
        }
        const ChordProInhalt again = ChordProReader::read(written, false);
        if (!inhalt.json) {
            check(again.errors.empty());
            check(again.definitions.size() == inhalt.definitions.size());
        }
        ChordProImport import;
        const int before = tabelle.Anzahl();
        const ImportBericht bericht = import.importieren(tabelle, inhalt);
        check(bericht.uebernommen + bericht.uebersprungen == bericht.definitionen);
        check(tabelle.Anzahl() == before + bericht.uebernommen);
        for (int i = tabelle.Anzahl() - 1; i >= before; --i)
            tabelle.GriffEntfernenAn(i);
        // The finder runs for each chord of a sheet: few chords keep the inputs per second up.
        if (song && inhalt.chords.size() <= 2) {
            Liedblatt blatt;
            LiedblattEinstellung einstellung;
            einstellung.transponieren = static_cast<int>(size % 23) - 11;
            einstellung.kapo = static_cast<int>(size % 5);
            blatt.erstellen(tabelle, inhalt, einstellung);
            check(blatt.akkorde().size() + blatt.unlesbar().size() == inhalt.chords.size());
        }
    }
    return 0;
}
