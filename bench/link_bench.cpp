// Reading the 384 beams of one tick (four blocks) from the virtual instrument
// over a real pseudo-terminal.
//
//   BM_TickPaced:   replies paced at 115200 baud. The figure to watch is the
//                   median wall time against the wire time of the 788 bytes
//                   exchanged (4 x (5 + 192) bytes of 10 bits = 68.4 ms):
//                   the median "vs_wire" should stay at or below 1.05.
//   BM_TickUnpaced: replies at once. "ticks_per_s" is the read rate; "own_ms",
//                   the CPU time of the reading thread per tick, is the
//                   program's own share, everything but waiting for bytes
//                   (target: under 0.2 ms).

#include "core/common/Clock.h"
#include "core/common/Operator.h"
#include "core/link/InstrumentLink.h"
#include "core/storage/PlateFiles.h"
#include "sim/VirtualInstrument.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>

using namespace bandora;

namespace {

class QuietOperator final : public Operator {
public:
    Answer ask(const QString& text, Buttons) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return Answer::Ok;
    }
    QString prompt(const QString&, const QString&) override { return {}; }
};

// CPU time of the calling thread: the program's own work, not its waits.
double ThreadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

constexpr double kWireMs = 4 * (5 + 192) * 10 * 1000.0 / 115200.0;

void ReadTicks(benchmark::State& state, bool pacing)
{
    QTemporaryDir dir;
    SystemClock clock;
    QuietOperator op;
    sim::SimOptions options;
    options.pacing = pacing;
    options.stepMs = 30.0;
    sim::VirtualInstrument instrument(options, BuiltInPlate("w96f"));
    QString error;
    if (!instrument.Start(&error) || !instrument.LinkPort(dir.path(), 4, &error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    InstrumentLink link(dir.path(), clock);
    link.SetPortNumber(4);
    if (!link.Open()) {
        state.SkipWithError("cannot open the port");
        return;
    }
    std::array<qint16, kChannelTable> values{};
    link.ReadAllBeams(values);
    qint64 failed = 0;
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuMs();
    for (auto _ : state) {
        failed += 4 - link.ReadAllBeams(values);
        benchmark::DoNotOptimize(values);
    }
    const double wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count();
    const double ticks = double(state.iterations());
    if (failed > 0)
        state.SkipWithError("blocks failed");
    state.counters["ticks_per_s"] = ticks / (wallMs / 1000.0);
    state.counters["own_ms"] = (ThreadCpuMs() - cpuStart) / ticks;
    state.counters["vs_wire"] = wallMs / ticks / kWireMs;
}

void BM_TickPaced(benchmark::State& state) { ReadTicks(state, true); }

void BM_TickUnpaced(benchmark::State& state) { ReadTicks(state, false); }

} // namespace

BENCHMARK(BM_TickPaced)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_TickUnpaced)->UseRealTime()->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
