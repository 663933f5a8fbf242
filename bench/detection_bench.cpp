// The detection work of the acquisition cycle: one tick for 384 channels
// (target: median under 0.5 ms) and the zero-mode buffer-cycle end, 384
// analyses and both records appended (target: under 5 ms).

#include "BeamSignal.h"

#include "core/acquisition/CycleTick.h"
#include "core/storage/ExperimentRecorder.h"
#include "core/storage/PlateFormat.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace bandora;

namespace {

struct Setup {
    ProjectSetup project;
    PlateFormat plate;
    bool blank = false;
    DetectionContext ctx;

    explicit Setup(int method, bool zero)
    {
        project.ChannelThreshold.fill(10.0);
        plate.ChannelWell.fill(0);
        ctx = DetectionContext::For(project, plate, blank);
        ctx.DSP_Method = qint16(method);
        ctx.DSP_Interval = 30;
        ctx.AutoZero = zero;
        ctx.Recording = true;
    }
};

} // namespace

// One tick past the warm-up: the column is filled from the recorded beams,
// then the cycle's tick.
static void BM_DetectTick(benchmark::State& state)
{
    const int method = int(state.range(0));
    const bool zero = state.range(1) != 0;
    Setup setup(method, zero);
    const SampleTable signals = bench::BeamSignals(500);
    CycleState cycle(500);
    cycle.Sample = signals;
    cycle.TickCount = 100;
    for (auto _ : state) {
        const int col = cycle.Column;
        for (int ch = 0; ch < kChannels; ++ch)
            cycle.Sample(ch, col) = signals(ch, col);
        benchmark::DoNotOptimize(RunTick(cycle, setup.ctx, {}));
    }
    state.SetLabel(zero ? "zero mode" : "normal mode");
}
BENCHMARK(BM_DetectTick)
    ->ArgNames({"method", "zero"})
    ->Args({0, 0})->Args({1, 0})->Args({2, 0})->Args({1, 1})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);

// The zero-mode end of a buffer cycle of 500 ticks: thresholds, 384 analyses,
// then the real-time record (385,770 bytes) and the counts record appended.
static void BM_ZeroModeBufferCycleEnd(benchmark::State& state)
{
    Setup setup(int(state.range(0)), true);
    const SampleTable signals = bench::BeamSignals(500);
    CycleState cycle(500);
    QTemporaryDir dir;
    ExperimentRecorder recorder;
    recorder.Start(dir.path());
    int records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        cycle.Sample = signals;
        cycle.StatTicks.fill(468);
        cycle.AmplitudeSum.fill(468 * 40);
        cycle.SignalSum.fill(468 * 1700);
        // Keep the folder small: start the files again after 11 records.
        if (records++ % 11 == 0) {
            for (const QString& f : QDir(dir.path()).entryList(QDir::Files))
                QFile::remove(dir.filePath(f));
        }
        state.ResumeTiming();

        benchmark::DoNotOptimize(DetectBufferEnd(cycle, setup.ctx));
        cycle.IntervalCount[kChannels] = 250;
        const AppendResult stored = recorder.RecordBufferCycle(true, cycle.Sample, 1, cycle.IntervalCount);
        if (!stored)
            state.SkipWithError(stored.Error.toStdString().c_str());
    }
}
BENCHMARK(BM_ZeroModeBufferCycleEnd)
    ->ArgName("method")->Arg(0)->Arg(1)->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);

// The two records of a buffer cycle alone: open, append and close of the
// real-time file (385,770 bytes) and of counts.bin (774 bytes).
static void BM_RecordBufferCycle(benchmark::State& state)
{
    const SampleTable signals = bench::BeamSignals(500);
    std::array<qint16, kChannelTable> counts{};
    QTemporaryDir dir;
    ExperimentRecorder recorder;
    recorder.Start(dir.path());
    int records = 0;
    for (auto _ : state) {
        if (records++ % 11 == 0) {
            state.PauseTiming();
            for (const QString& f : QDir(dir.path()).entryList(QDir::Files))
                QFile::remove(dir.filePath(f));
            state.ResumeTiming();
        }
        const AppendResult stored = recorder.RecordBufferCycle(true, signals, 1, counts);
        if (!stored)
            state.SkipWithError(stored.Error.toStdString().c_str());
    }
}
BENCHMARK(BM_RecordBufferCycle)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
