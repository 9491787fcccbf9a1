// The model at full capacity: 10000 stored grips and 40 chord types.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "table/FingersatzSuche.h"
#include "tests/support/TestTabelle.h"

namespace {

// Built once: filling 10000 grips with duplicate checks takes longer than any measured operation.
AkkordDepotClass& fullTable()
{
    static std::unique_ptr<AkkordDepotClass> doc = [] {
        auto d = tableWithCatalogue();
        fillCatalogue(*d, MaxTypen);
        fillTable(*d, MaxGriffe);
        d->SetzeText(0, "Gitarre");
        d->SetzeText(1, "Benchmark");
        return d;
    }();
    return *doc;
}

std::string benchFile()
{
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() / "zw_bench_full.cho").string();
        fullTable().Speichern(p);
        return p;
    }();
    return path;
}

void selectLastGrip(AkkordDepotClass& doc)
{
    doc.Daten() = doc.Element(doc.Anzahl() - 1);
}

void BM_Laden(benchmark::State& state)
{
    const std::string path = benchFile();
    auto doc = std::make_unique<AkkordDepotClass>();
    for (auto _ : state) {
        if (doc->Laden(path) != LadenOk)
            state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_Laden)->Unit(benchmark::kMillisecond);

void BM_Speichern(benchmark::State& state)
{
    AkkordDepotClass& doc = fullTable();
    const std::string path = benchFile() + ".save";
    for (auto _ : state) {
        if (!doc.Speichern(path))
            state.SkipWithError("save failed");
    }
    std::filesystem::remove(path);
}
// The save flushes the file and its folder to the disk: wall time is what the user waits for.
BENCHMARK(BM_Speichern)->Unit(benchmark::kMillisecond)->UseRealTime();

// What an open costs in the window: a copy to read into, the read, and the refill of the document.
void BM_LadenInKopie(benchmark::State& state)
{
    const std::string path = benchFile();
    auto doc = std::make_unique<AkkordDepotClass>();
    for (auto _ : state) {
        auto copy = std::make_unique<AkkordDepotClass>(*doc);
        if (copy->Laden(path) != LadenOk)
            state.SkipWithError("load failed");
        doc->Uebernehmen(*copy);
    }
}
BENCHMARK(BM_LadenInKopie)->Unit(benchmark::kMillisecond);

void BM_Retten(benchmark::State& state)
{
    const std::string path = benchFile() + ".damaged";
    {
        std::FILE* in = std::fopen(benchFile().c_str(), "rb");
        std::string bytes(4 * 1024 * 1024, '\0');
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in));
        std::fclose(in);
        bytes[bytes.size() / 2] ^= 0x40; // one changed byte inside the grip list
        std::FILE* out = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }
    auto doc = std::make_unique<AkkordDepotClass>();
    for (auto _ : state) {
        if (doc->Retten(path) < MaxGriffe - 1)
            state.SkipWithError("rescue lost grips");
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_Retten)->Unit(benchmark::kMillisecond);

void BM_GriffSuchen(benchmark::State& state)
{
    AkkordDepotClass& doc = fullTable();
    selectLastGrip(doc);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.GriffSuchen());
}
BENCHMARK(BM_GriffSuchen)->Unit(benchmark::kMicrosecond);

void BM_GriffeZaehlen(benchmark::State& state)
{
    AkkordDepotClass& doc = fullTable();
    selectLastGrip(doc);
    int position = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.GriffeZaehlen(&position));
}
BENCHMARK(BM_GriffeZaehlen)->Unit(benchmark::kMicrosecond);

void BM_GriffHolenLast(benchmark::State& state)
{
    AkkordDepotClass& doc = fullTable();
    selectLastGrip(doc);
    const int root = doc.Grundton;
    const int type = doc.AkkordTyp;
    const int last = doc.GriffeZaehlen() - 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.GriffHolen(root, type, false, last));
}
BENCHMARK(BM_GriffHolenLast)->Unit(benchmark::kMicrosecond);

void BM_GriffeAuflisten(benchmark::State& state)
{
    AkkordDepotClass& doc = fullTable();
    static int indexes[MaxGriffe];
    const AkkordDatenClass& last = doc.Element(doc.Anzahl() - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.GriffeAuflisten(last.Grundton, last.AkkordTyp, indexes, MaxGriffe));
}
BENCHMARK(BM_GriffeAuflisten)->Unit(benchmark::kMicrosecond);

void BM_SortierenAusUmgekehrterReihenfolge(benchmark::State& state)
{
    AkkordDepotClass& source = fullTable();
    auto doc = std::make_unique<AkkordDepotClass>();
    for (auto _ : state) {
        state.PauseTiming();
        doc->SetzeEigeneReihenfolge(true);
        doc->Zuruecksetzen(false);
        source.SetzeEigeneReihenfolge(false);
        for (int i = source.Anzahl() - 1; i >= 0; --i)
            doc->Anhaengen(source.Element(i));
        state.ResumeTiming();
        doc->SetzeEigeneReihenfolge(false);
    }
}
BENCHMARK(BM_SortierenAusUmgekehrterReihenfolge)->Unit(benchmark::kMillisecond);

void BM_Erkennen(benchmark::State& state)
{
    AkkordDepotClass& doc = fullTable();
    // A six-note grip on every string: the widest search.
    doc.Loeschen();
    const int frets[] = {3, 3, 2, 4, 3, 3};
    for (int s = 1; s <= 6; ++s)
        doc.FingerSetzen(frets[s - 1], s, 1 + s % 4);
    TrefferClass result;
    TrefferClass list[MaxTreffer];
    for (auto _ : state) {
        doc.AkkordSetzen(KeinTon, 0);
        benchmark::DoNotOptimize(doc.Erkennen(&result, list));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Erkennen);

// The same grip from its bass: the lowest sounding string is found on every run.
void BM_ErkennenBasston(benchmark::State& state)
{
    AkkordDepotClass& doc = fullTable();
    doc.Loeschen();
    const int frets[] = {3, 3, 2, 4, 3, 3};
    for (int s = 1; s <= 6; ++s)
        doc.FingerSetzen(frets[s - 1], s, 1 + s % 4);
    doc.SetzeStartSaite(StartSaiteBasston);
    TrefferClass result;
    TrefferClass list[MaxTreffer];
    for (auto _ : state) {
        doc.AkkordSetzen(KeinTon, 0);
        benchmark::DoNotOptimize(doc.Erkennen(&result, list));
    }
    doc.SetzeStartSaite(0);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ErkennenBasston);

// The bundled catalogue on a six-string G6 320000, which several types on several roots fit: the
// preference rule ranks every match. Argument: the start string (0 interval count, 7 the bass).
void BM_ErkennenStandardkatalog(benchmark::State& state)
{
    static std::unique_ptr<AkkordDepotClass> doc = [] {
        auto d = std::make_unique<AkkordDepotClass>();
        d->Laden(ZW_DEFAULT_TABLE);
        return d;
    }();
    if (doc->TypAnzahl() == 0) {
        state.SkipWithError("the default chord table did not load");
        return;
    }
    doc->Loeschen();
    doc->FingerSetzen(3, 1, 2);
    doc->FingerSetzen(2, 2, 1);
    for (int s = 3; s <= 6; ++s)
        doc->LeerSetzen(s, true);
    doc->SetzeStartSaite(static_cast<int>(state.range(0)));
    TrefferClass result;
    TrefferClass list[MaxTreffer];
    int matches = 0;
    for (auto _ : state) {
        doc->AkkordSetzen(KeinTon, 0);
        matches = doc->Erkennen(&result, list);
        benchmark::DoNotOptimize(matches);
    }
    doc->SetzeStartSaite(0);
    state.counters["matches"] = matches;
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ErkennenStandardkatalog)->Arg(0)->Arg(StartSaiteBasston);

// The lookup after an edit at its slowest: the wanted fingering is the last of 10000 stored grips.
void BM_FingersatzSuchen(benchmark::State& state)
{
    AkkordDepotClass& doc = fullTable();
    selectLastGrip(doc);
    doc.AkkordSetzen(KeinTon, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(FingersatzSucheClass::Suchen(doc));
}
BENCHMARK(BM_FingersatzSuchen)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
