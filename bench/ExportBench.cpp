#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QSize>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

#include "render/DiagramExport.h"
#include "table/AkkordDepot.h"
#include "tests/support/TestTabelle.h"

namespace {

// A table holding one open C major grip.
std::unique_ptr<AkkordDepotClass> oneGrip()
{
    auto doc = tableWithCatalogue();
    doc->SetzeText(0, "Gitarre");
    setGrip(*doc, "x32010", 0, 0);
    doc->GriffAufnehmen();
    return doc;
}

// One diagram after another written as a file by one exporter, from the stored grip to the closed file:
// chord boxes (style 0) and the horizontal board (style 1), as SVG (format 1) and PNG.
void BM_DiagrammDatei(benchmark::State& state)
{
    const bool svg = state.range(0) == 1;
    const bool board = state.range(1) == 1;
    const auto doc = oneGrip();
    const DiagramExport exporter(*doc);
    AkkordClass griff;
    TrefferClass akkord;
    exporter.storedGrip(0, griff, akkord);
    QTemporaryDir dir;
    const QString path = dir.filePath(svg ? QStringLiteral("c.svg") : QStringLiteral("c.png"));
    DiagramView view = DiagramExport::frameFor(griff);
    view.stil = board ? DiagramStil::Griffbrett : DiagramStil::Kasten;
    for (auto _ : state) {
        if (!exporter.writeImage(path, svg, griff, akkord, DiagramOptions(), view, QSize(400, 400), nullptr))
            state.SkipWithError("not written");
    }
    state.SetLabel(std::string(board ? "griffbrett " : "kasten ") + (svg ? "svg 400x400" : "png 400x400"));
}
BENCHMARK(BM_DiagrammDatei)
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({0, 1})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

// One SVG diagram from a fresh exporter, as the command line makes it: layout, composition, painting.
void BM_SvgDiagramm(benchmark::State& state)
{
    const auto doc = oneGrip();
    AkkordClass griff;
    TrefferClass akkord;
    DiagramExport(*doc).storedGrip(0, griff, akkord);
    for (auto _ : state) {
        const DiagramExport exporter(*doc);
        const QByteArray svg =
            exporter.svg(griff, akkord, DiagramOptions(), DiagramExport::frameFor(griff), QSize(400, 400));
        benchmark::DoNotOptimize(svg.constData());
    }
}
BENCHMARK(BM_SvgDiagramm)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// The chord sheet of a full table: 10000 grips on 500 A4 pages.
void BM_GriffblattPdf(benchmark::State& state)
{
    const auto doc = tableWithCatalogue();
    doc->SetzeText(0, "Gitarre");
    fillTable(*doc, static_cast<int>(state.range(0)));
    const DiagramExport exporter(*doc);
    const std::vector<int> all = exporter.select(-1, -1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("blatt.pdf"));
    int reported = 0;
    const ChordSheet::Layout layout;
    const QString inhalt = exporter.contentText(-1, -1, static_cast<int>(all.size()));
    for (auto _ : state) {
        if (!exporter.writeSheet(
                path, all, layout, inhalt,
                [&reported](int done, int) {
                    reported = done;
                    return true;
                },
                nullptr))
            state.SkipWithError("not written");
    }
    state.counters["Griffe"] = static_cast<double>(all.size());
    state.counters["Seiten"] = exporter.sheet(layout, inhalt).pageCount(static_cast<int>(all.size()));
    benchmark::DoNotOptimize(reported);
}
BENCHMARK(BM_GriffblattPdf)->Arg(10000)->Iterations(1)->MeasureProcessCPUTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
