// Full paints and layouts of the fretboard renderer on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <memory>

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include "render/Griffbrett.h"

namespace {

// What the compose routine puts on the board for an F major barré grip.
std::unique_ptr<GriffbrettClass> composedBoard(int breite, int hoehe)
{
    auto board = std::make_unique<GriffbrettClass>(breite, hoehe);
    board->SetBundanzahl(10);
    board->SetTitel(QStringLiteral("Fmaj7"));
    const char* notes[] = {"F", "C", "A", "E", "C", "F"};
    for (int row = 0; row < 6; ++row) {
        board->SetTextLinks(row, QString());
        board->SetTextRechts(row, QString::fromLatin1(notes[row]));
    }
    board->AddSymbol(5, 1, 6, 1);
    board->AddSymbol(0, 2, 3, 2);
    board->AddSymbol(0, 3, 5, 3);
    board->AddSymbol(0, 4, 4, 3);
    board->AddSymbol(0, 0, 2, 4);
    board->AddSymbol(0, 1, 1, 5);
    return board;
}

void BM_Zeichnen(benchmark::State& state)
{
    auto board = composedBoard(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        board->Zeichnen();
        benchmark::DoNotOptimize(board->Puffer().constBits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Zeichnen)->Args({269, 261})->Args({1900, 700})->Unit(benchmark::kMicrosecond);

// A paint as the screen sees it: Zeichnen, then the one copy onto the window's surface.
void BM_ZeichnenUndKopieren(benchmark::State& state)
{
    const int breite = static_cast<int>(state.range(0));
    const int hoehe = static_cast<int>(state.range(1));
    auto board = composedBoard(breite, hoehe);
    QImage screen(breite, hoehe, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        board->Zeichnen();
        QPainter painter(&screen);
        board->Kopieren(painter);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ZeichnenUndKopieren)->Args({269, 261})->Args({1900, 700})->Unit(benchmark::kMicrosecond);

// Every resize: new surface, geometry, fonts and the six symbol sets.
void BM_SetGroesseUndAnordnen(benchmark::State& state)
{
    const int breite = static_cast<int>(state.range(0));
    const int hoehe = static_cast<int>(state.range(1));
    auto board = composedBoard(breite, hoehe);
    for (auto _ : state)
        board->SetGroesseUndAnordnen(breite, hoehe);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SetGroesseUndAnordnen)->Args({269, 261})->Args({1900, 700})->Unit(benchmark::kMicrosecond);

// A paint on a high-DPI screen: the board drawn at a device pixel ratio of range(2) / 100.
void BM_ZeichnenHochaufgeloest(benchmark::State& state)
{
    auto board = composedBoard(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    board->SetPixelverhaeltnis(static_cast<qreal>(state.range(2)) / 100);
    for (auto _ : state) {
        board->Zeichnen();
        benchmark::DoNotOptimize(board->Puffer().constBits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ZeichnenHochaufgeloest)
    ->Args({269, 261, 150})
    ->Args({269, 261, 200})
    ->Args({1900, 700, 200})
    ->Unit(benchmark::kMicrosecond);

// The whole neck for a left-handed player: mirrored, with position markers and fret numbers.
void BM_ZeichnenGespiegeltMitLagenpunkten(benchmark::State& state)
{
    auto board = composedBoard(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    board->SetBundanzahl(24);
    board->SetLinkshaender(true);
    board->SetLagenpunkte(true);
    for (auto _ : state) {
        board->Zeichnen();
        benchmark::DoNotOptimize(board->Puffer().constBits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ZeichnenGespiegeltMitLagenpunkten)->Args({1900, 700})->Unit(benchmark::kMicrosecond);

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
