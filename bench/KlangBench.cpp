// Hearing a grip: rendering the sound, and a key press up to the buffer handed to the audio output.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/MainForm.h"
#include "forms/AudioAusgabe.h"
#include "grip/Akkord.h"
#include "klang/Griffklang.h"
#include "table/AkkordDepot.h"

namespace {

// E major: all six strings sound.
template <class Griff> void sixStrings(Griff& griff)
{
    griff.Loeschen();
    griff.LeerSetzen(1, true);
    griff.FingerSetzen(2, 2, 2);
    griff.FingerSetzen(2, 3, 3);
    griff.FingerSetzen(1, 4, 1);
    griff.LeerSetzen(5, true);
    griff.LeerSetzen(6, true);
}

void BM_StrumSixStrings(benchmark::State& state)
{
    AkkordClass griff;
    sixStrings(griff);
    GriffklangClass klang;
    for (auto _ : state)
        benchmark::DoNotOptimize(klang.Anschlagen(griff));
    state.counters["seconds"] = static_cast<double>(klang.SampleAnzahl()) / GriffklangClass::Abtastrate;
    state.counters["strings"] = klang.StimmenAnzahl();
}
BENCHMARK(BM_StrumSixStrings)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_ArpeggioSixStrings(benchmark::State& state)
{
    AkkordClass griff;
    sixStrings(griff);
    GriffklangClass klang;
    for (auto _ : state)
        benchmark::DoNotOptimize(klang.Zerlegen(griff));
    state.counters["seconds"] = static_cast<double>(klang.SampleAnzahl()) / GriffklangClass::Abtastrate;
}
BENCHMARK(BM_ArpeggioSixStrings)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Takes the time the first buffer arrives, as a sound card's output would receive it.
class TimedOutput : public AudioAusgabe
{
public:
    TimedOutput(QObject* owner, QElapsedTimer& clock, qint64& arrived)
        : AudioAusgabe(owner), m_clock(clock), m_arrived(arrived)
    {
    }
    bool Abspielen(const QByteArray& pcm, int) override
    {
        m_arrived = m_clock.nsecsElapsed();
        benchmark::DoNotOptimize(pcm.constData());
        return true;
    }
    void Anhalten() override {}

private:
    QElapsedTimer& m_clock;
    qint64& m_arrived;
};

void BM_KeyToFirstBufferHandedOver(benchmark::State& state)
{
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QFile::copy(QStringLiteral(ZW_DEFAULT_TABLE), dir.filePath(QStringLiteral("Gitarre, E-A-D-G-H-E.cho")));
    QElapsedTimer clock;
    qint64 arrived = -1;
    SetzeAudioAusgabe([&](QObject* owner) { return new TimedOutput(owner, clock, arrived); });
    {
        TF_Main window(dir.filePath(QStringLiteral("Zupfwerk.ini")));
        window.show();
        if (!QTest::qWaitForWindowActive(&window)) {
            state.SkipWithError("the main window did not become active");
            SetzeAudioAusgabe(nullptr);
            return;
        }
        sixStrings(window.dokument());
        window.NachAenderungAktualisieren();
        for (auto _ : state) {
            arrived = -1;
            clock.start();
            QTest::keyClick(&window, Qt::Key_A);
            if (arrived < 0) {
                state.SkipWithError("the key played nothing");
                break;
            }
            state.SetIterationTime(static_cast<double>(arrived) * 1e-9);
        }
    }
    SetzeAudioAusgabe(nullptr);
}
BENCHMARK(BM_KeyToFirstBufferHandedOver)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
