// ChordPro on the default guitar table: chordii's built-in library imported, and the song sheet of a
// 40-chord song with the grips chosen for the whole song.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "chordpro/ChordProImport.h"
#include "chordpro/ChordProReader.h"
#include "chordpro/Liedblatt.h"
#include "table/AkkordDepot.h"

namespace {

const AkkordDepotClass& guitarTable()
{
    static const std::unique_ptr<AkkordDepotClass> doc = [] {
        auto d = std::make_unique<AkkordDepotClass>();
        d->Laden(ZW_DEFAULT_TABLE);
        return d;
    }();
    return *doc;
}

// chordii's own 361 definitions, as "chordii -d" prints them; empty without chordii.
std::string chordiiLibrary()
{
    std::string text;
    FILE* pipe = popen("chordii -d 2>/dev/null", "r");
    if (!pipe)
        return text;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    pclose(pipe);
    return text;
}

void BM_ImportChordiiLibrary(benchmark::State& state)
{
    const std::string text = chordiiLibrary();
    if (text.empty()) {
        state.SkipWithError("chordii missing");
        return;
    }
    auto tabelle = std::make_unique<AkkordDepotClass>();
    int taken = 0;
    int definitions = 0;
    for (auto _ : state) {
        state.PauseTiming();
        tabelle->Uebernehmen(guitarTable());
        state.ResumeTiming();
        // Reading included: the whole import from the file's text to the report.
        const ChordProInhalt inhalt = ChordProReader::read(text, false);
        ChordProImport import;
        const ImportBericht bericht = import.importieren(*tabelle, inhalt);
        taken = bericht.uebernommen;
        definitions = bericht.definitionen;
    }
    state.counters["definitions"] = definitions;
    state.counters["taken"] = taken;
}
BENCHMARK(BM_ImportChordiiLibrary)->Unit(benchmark::kMillisecond);

void BM_SongSheetFortyChords(benchmark::State& state)
{
    static const char* const roots[] = {"C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};
    static const char* const types[] = {"", "m", "7", "m7"};
    std::string song = "{title: Vierzig Akkorde}\n";
    for (int i = 0; i < 40; ++i)
        song += std::string("[") + roots[(i * 5) % 12] + types[i / 12 % 4] + "]la ";
    const ChordProInhalt lied = ChordProReader::read(song, true);
    int chords = 0;
    int movement = 0;
    for (auto _ : state) {
        // A fresh sheet each time: the finder runs for every chord.
        Liedblatt blatt;
        blatt.erstellen(guitarTable(), lied, LiedblattEinstellung());
        chords = static_cast<int>(blatt.akkorde().size());
        movement = blatt.bewegung();
    }
    state.counters["chords"] = chords;
    state.counters["movement"] = movement;
}
BENCHMARK(BM_SongSheetFortyChords)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
