// The chord finder on the default guitar table: one chord, and every chord of a full catalogue.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "griffsuche/Griffsuche.h"
#include "tests/support/TestTabelle.h"

namespace {

// The default table with its catalogue filled up to the 40 types a table can hold.
AkkordDepotClass& guitarTable()
{
    static std::unique_ptr<AkkordDepotClass> doc = [] {
        auto d = std::make_unique<AkkordDepotClass>();
        // Without the file the measurement still runs, on the test catalogue.
        if (d->Laden(ZW_DEFAULT_TABLE) != LadenOk)
            d = tableWithCatalogue();
        fillCatalogue(*d, MaxTypen);
        return d;
    }();
    return *doc;
}

int typeIndex(const AkkordDepotClass& doc, const char* name)
{
    for (int t = 0; t < doc.TypAnzahl(); ++t) {
        if (std::strcmp(doc.TypName(t), name) == 0)
            return t;
    }
    return -1;
}

// All grips of one chord over frets 0..15 on six strings; the argument picks the type by name.
void oneChord(benchmark::State& state, const char* type)
{
    AkkordDepotClass& doc = guitarTable();
    const int t = typeIndex(doc, type);
    if (t < 0) {
        state.SkipWithError("type missing");
        return;
    }
    GriffsucheClass finder;
    const GriffsucheEinstellungClass settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(finder.Suchen(doc, 0, t, settings));
    state.counters["grips"] = finder.Anzahl();
}
BENCHMARK_CAPTURE(oneChord, C, "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(oneChord, C7, "7")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(oneChord, Cm11_six_intervals, "m11")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(oneChord, C13_six_intervals, "13")->Unit(benchmark::kMillisecond);

// The widest settings: frets 0..24 and a span of five frets.
void BM_OneChordWholeNeck(benchmark::State& state)
{
    AkkordDepotClass& doc = guitarTable();
    GriffsucheClass finder;
    GriffsucheEinstellungClass settings;
    settings.HoechsterBund = GriffsucheEinstellungClass::MaxBund;
    settings.Spannweite = GriffsucheEinstellungClass::MaxSpannweite;
    const int t = typeIndex(doc, "13");
    for (auto _ : state)
        benchmark::DoNotOptimize(finder.Suchen(doc, 0, t, settings));
    state.counters["grips"] = finder.Anzahl();
}
BENCHMARK(BM_OneChordWholeNeck)->Unit(benchmark::kMillisecond);

// Every type of the full catalogue on every root.
void BM_AllChords(benchmark::State& state)
{
    AkkordDepotClass& doc = guitarTable();
    GriffsucheClass finder;
    const GriffsucheEinstellungClass settings;
    long grips = 0;
    for (auto _ : state) {
        grips = 0;
        for (int t = 0; t < doc.TypAnzahl(); ++t) {
            for (int root = 0; root < 12; ++root)
                grips += finder.Suchen(doc, root, t, settings);
        }
    }
    state.counters["types"] = doc.TypAnzahl();
    state.counters["grips"] = static_cast<double>(grips);
}
BENCHMARK(BM_AllChords)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
