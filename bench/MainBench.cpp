// The main window at full capacity: an edit from click to repainted board, and the start-up.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include "app/MainForm.h"
#include "app/PaintBox.h"
#include "app/TabellenWache.h"
#include "forms/GrifftabForm.h"
#include "table/AkkordDepot.h"
#include "tests/support/TestTabelle.h"

namespace {

// A working folder with the bundled chord table, as the program finds it at its first start.
class Folder
{
public:
    Folder()
    {
        QDir::setCurrent(m_dir.path());
        QFile::copy(QStringLiteral(ZW_DEFAULT_TABLE),
                    m_dir.filePath(QStringLiteral("Gitarre, E-A-D-G-H-E.cho")));
    }
    QString settings() const { return m_dir.filePath(QStringLiteral("Zupfwerk.ini")); }

private:
    QTemporaryDir m_dir;
};

// A shown main window whose chord table holds 40 chord types and no grips yet.
struct FullCatalogueWindow
{
    FullCatalogueWindow() : window(folder.settings()), doc(window.dokument())
    {
        window.show();
        doc.Zuruecksetzen(true);
        fillCatalogue(doc, MaxTypen);
    }

    Folder folder;
    TF_Main window;
    AkkordDepotClass& doc;
};

void BM_EditAtFullCapacity(benchmark::State& state)
{
    FullCatalogueWindow full;
    TF_Main& window = full.window;
    AkkordDepotClass& doc = full.doc;
    fillTable(doc, MaxGriffe);
    setGrip(doc, "x3201x", 0, 0);
    window.StelleWaehlen(3, 6, false);
    for (auto _ : state) {
        // Alternately places and removes a finger: every iteration is one edit.
        window.FingerKlick(true, false);
        window.griffbrettFeld()->repaint();
    }
    state.counters["grips"] = doc.Anzahl();
    state.counters["types"] = doc.TypAnzahl();
}
BENCHMARK(BM_EditAtFullCapacity)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A click on a root in the chord-table window: lists every grip of that chord with its preselection,
// and the main window fetches and shows the chosen grip.
void BM_ChordTableClickAtFullCapacity(benchmark::State& state)
{
    FullCatalogueWindow full;
    TF_Main& window = full.window;
    AkkordDepotClass& doc = full.doc;
    // Few chords with many grips each: 6048 distinct shapes per chord type, spread over the twelve roots.
    for (int i = 0; doc.Anzahl() < MaxGriffe; ++i) {
        const int shape = i % 6048;
        doc.Loeschen();
        doc.FingerSetzen(1 + shape % 28, 1 + (shape / 28) % 6, 1);
        doc.FingerSetzen(2 + shape % 28, 1 + (shape / 168) % 6, 2);
        doc.FingerSetzen(3 + shape % 28, 1 + (shape / 1008) % 6, 3);
        doc.AkkordSetzen(i % 12, i / 6048);
        doc.GriffAufnehmen();
    }
    window.GrifftabFensterNeuFuellen();
    TF_GrifftabForm& table = *window.grifftabFenster();
    int root = 0;
    for (auto _ : state) {
        root = (root + 1) % 12;
        table.GrundtonWaehlen(root);
        table.LB_GrundClick();
    }
    int indexes[1];
    state.counters["grips_of_chord"] = doc.GriffeAuflisten(root, 0, indexes, 1);
}
BENCHMARK(BM_ChordTableClickAtFullCapacity)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_StartUpToFirstPaintedBoard(benchmark::State& state)
{
    Folder folder;
    for (auto _ : state) {
        QFile::remove(folder.settings());
        TF_Main window(folder.settings());
        window.show();
        window.griffbrettFeld()->repaint();
        benchmark::DoNotOptimize(window.dokument().Anzahl());
    }
}
BENCHMARK(BM_StartUpToFirstPaintedBoard)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

// A save of 10000 grips as the window does it: the check for outside changes, the safe replace with
// the removal of stale temporary files, and the new state of the file taken.
void BM_SpeichernMitSperreUndPruefung(benchmark::State& state)
{
    QTemporaryDir dir;
    auto doc = tableWithCatalogue();
    fillCatalogue(*doc, MaxTypen);
    fillTable(*doc, MaxGriffe);
    const QString path = dir.filePath(QStringLiteral("Voll.cho"));
    doc->Speichern(path.toStdString());
    TabellenWache wache;
    if (wache.vormerken(path) != TabellenWache::Frei)
        state.SkipWithError("no lock");
    wache.uebernehmen(path, false);
    for (auto _ : state) {
        if (wache.vonAussenGeaendert() || !doc->Speichern(path.toStdString()))
            state.SkipWithError("save failed");
        wache.gesichert();
    }
}
BENCHMARK(BM_SpeichernMitSperreUndPruefung)->Unit(benchmark::kMillisecond)->UseRealTime();

// An open of 10000 grips as the window does it: the lock taken, the file read into a copy, the
// document refilled and the state of the file taken.
void BM_OeffnenMitSperre(benchmark::State& state)
{
    QTemporaryDir dir;
    auto doc = tableWithCatalogue();
    fillCatalogue(*doc, MaxTypen);
    fillTable(*doc, MaxGriffe);
    const QString path = dir.filePath(QStringLiteral("Voll.cho"));
    doc->Speichern(path.toStdString());
    TabellenWache wache;
    for (auto _ : state) {
        wache.loslassen();
        if (wache.vormerken(path) != TabellenWache::Frei)
            state.SkipWithError("no lock");
        auto copy = std::make_unique<AkkordDepotClass>(*doc);
        if (copy->Laden(path.toStdString()) != LadenOk)
            state.SkipWithError("load failed");
        doc->Uebernehmen(*copy);
        wache.uebernehmen(path, false);
    }
}
BENCHMARK(BM_OeffnenMitSperre)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
