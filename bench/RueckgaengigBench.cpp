#include <benchmark/benchmark.h>

#include <QUndoStack>

#include <memory>

#include "app/RueckgaengigSchritt.h"
#include "app/RueckgaengigVerlauf.h"
#include "tests/support/TestTabelle.h"

namespace {

// The steps alone: the windows' refresh after them is measured with the edits in zw_bench_main.
std::unique_ptr<RueckgaengigVerlauf> historyOf(AkkordDepotClass& doc)
{
    return std::make_unique<RueckgaengigVerlauf>(doc, [](Auffrischen) {});
}

void BM_UndoRedoRemovalFromFullTable(benchmark::State& state)
{
    auto doc = tableWithCatalogue();
    fillCatalogue(*doc, 40);
    fillTable(*doc, MaxGriffe);
    auto history = historyOf(*doc);
    const int index = doc->Anzahl() / 2;
    doc->Daten() = doc->Element(index);
    auto step = history->entfernenBeginnen(QStringLiteral("Griff entfernen"), index);
    doc->GriffEntfernenAn(index);
    history->aufnehmen(std::move(step));
    for (auto _ : state) {
        history->stapel().undo();
        history->stapel().redo();
    }
    state.counters["grips"] = doc->Anzahl();
}
BENCHMARK(BM_UndoRedoRemovalFromFullTable)->Unit(benchmark::kMicrosecond);

void BM_UndoRedoTypeRemovalFromFullTable(benchmark::State& state)
{
    auto doc = tableWithCatalogue();
    fillCatalogue(*doc, 40);
    fillTable(*doc, MaxGriffe);
    auto history = historyOf(*doc);
    history->bearbeiten(TF_GrifftabForm::Bearbeitung::TypEntfernen, QStringLiteral("Akkordtyp entfernen"), 1,
                        -1, [&] { return doc->AkkordtypLoeschen(1); });
    for (auto _ : state) {
        history->stapel().undo();
        history->stapel().redo();
    }
    state.counters["step_bytes"] = static_cast<double>(history->Speicherbedarf());
}
BENCHMARK(BM_UndoRedoTypeRemovalFromFullTable)->Unit(benchmark::kMicrosecond);

void BM_MemoryOf200GripEdits(benchmark::State& state)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = tableWithCatalogue();
        fillTable(*doc, MaxGriffe);
        auto history = historyOf(*doc);
        state.ResumeTiming();
        for (int i = 0; i < 200; ++i) {
            // Every edit changes the grip: a finger set or taken off, or a string played or muted.
            const RueckgaengigVerlauf::GriffKlammer edit(*history, QStringLiteral("Finger setzen"));
            const int saite = 1 + i % 6;
            if (i % 2 == 0 && doc->FingerBei(1 + i % 5, saite) == -1 && doc->PunktAnzahl() < MaxPunkte)
                doc->FingerSetzen(1 + i % 5, saite, 1 + i % 4);
            else if (doc->PunktAnzahl() > 0)
                doc->FingerEntfernen(doc->Punkt(0).Bund, doc->Punkt(0).Saite);
            else
                doc->LeerSetzen(saite, doc->SaitenStatus(saite) != SaiteLeer);
        }
        bytes = history->Speicherbedarf();
        state.counters["steps"] = history->stapel().count();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_MemoryOf200GripEdits)->Unit(benchmark::kMicrosecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
