// The acquisition cycle's own cost and the rate it keeps against the line.
//
//   BM_TickWork:      one running tick without the instrument's waits: the
//                     four beam blocks decoded into the ring buffers, then
//                     the tick (detection of 384 channels, method 1, no
//                     drawing). Target: median under 0.5 ms.
//   BM_ZeroBufferEnd: the zero-mode buffer-cycle end, 384 analyses, and both
//                     records appended. Target: under 5 ms.
//   BM_PacedRun:      ticks against the virtual instrument paced at 115200
//                     baud with the real clock; "vs_line" is the tick rate
//                     over the 14.6 ticks a second the line allows (target:
//                     at least 0.95 once priming is counted in).

#include "NoDisplay.h"

#include "core/AppState.h"
#include "core/acquisition/AcquisitionCycle.h"
#include "core/acquisition/LiveDisplay.h"
#include "core/common/Clock.h"
#include "core/common/EventPump.h"
#include "core/common/Operator.h"
#include "core/link/Commands.h"
#include "core/link/Frames.h"
#include "core/link/InstrumentLink.h"
#include "core/storage/PlateFiles.h"
#include "core/tools/LightTemperatureControl.h"
#include "core/tools/LinkOutputSender.h"
#include "sim/VirtualInstrument.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>

using namespace bandora;

namespace {

class QuietOperator final : public Operator {
public:
    Answer ask(const QString&, Buttons) override { return Answer::Ok; }
    QString prompt(const QString&, const QString&) override { return {}; }
};

class NoEvents final : public EventPump {
public:
    void processEvents() override {}
};

using bench::NoDisplay;

struct Bench {
    explicit Bench(const QString& dir)
        : state(dir, op, clock, events), sender(state), tools(state.project, sender, clock),
          acq(state, cycle, tools, display, recorder)
    {
        state.plate = BuiltInPlate(QStringLiteral("w96f"));
        state.project.Num_proj = 1;
        state.project.Aq_lapse = 32000;
        state.project.ChannelThreshold.fill(5.0);
        cycle.Dimension(state.project.RT_Buffer);
        cycle.ResetCounters();
        cycle.ResetChannels();
        state.AcquisitionState = 1;
        state.RunStart = clock.now();
    }
    SystemClock clock;
    QuietOperator op;
    NoEvents events;
    AppState state;
    CycleState cycle;
    LinkOutputSender sender;
    LightTemperatureControl tools;
    NoDisplay display;
    ExperimentRecorder recorder;
    AcquisitionCycle acq;
};

void BM_TickWork(benchmark::State& st)
{
    QTemporaryDir dir;
    Bench b(dir.path());
    std::array<QByteArray, 4> replies;
    for (int i = 0; i < 4; ++i) {
        std::array<qint16, kBlockSamples> s{};
        for (auto& v : s)
            v = qint16(1700 + QRandomGenerator::global()->bounded(200) - (QRandomGenerator::global()->bounded(20) == 0 ? 900 : 0));
        replies[size_t(i)] = EncodeBeamBlock(s);
    }
    BeamBlock block;
    b.acq.UseSyntheticBeams({[&](CycleState& cycle) {
                                 for (int i = 0; i < 4; ++i) {
                                     DecodeBeamBlock(replies[size_t(i)], block);
                                     cycle.StoreBlockColumn(&block, kBlockFirsts[i]);
                                 }
                             },
                             [] { return -1; }});
    for (auto _ : st)
        b.acq.OnAcquisitionTick();
}

void BM_ZeroBufferEnd(benchmark::State& st)
{
    QTemporaryDir dir;
    Bench b(dir.path());
    b.state.AutoZero = true;
    b.state.Recording = true;
    for (int ch = 0; ch < kChannels; ++ch)
        for (int k = 0; k < b.cycle.RT_Buffer(); ++k)
            b.cycle.Sample(ch, k) = qint16(1700 + QRandomGenerator::global()->bounded(100));
    b.recorder.Start(dir.path());
    bool blank = false;
    DetectionContext ctx = DetectionContext::For(b.state.project, b.state.plate, blank);
    ctx.AutoZero = true;
    int records = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(DetectBufferEnd(b.cycle, ctx));
        b.recorder.RecordBufferCycle(true, b.cycle.Sample, 0,
                                     std::span<const qint16, kChannelTable>(b.cycle.IntervalCount));
        if (++records == 11) { // keep the folder small
            st.PauseTiming();
            for (const QString& f : QDir(dir.path()).entryList({"*.bin"}))
                QFile::remove(dir.filePath(f));
            b.recorder.Start(dir.path());
            records = 0;
            st.ResumeTiming();
        }
    }
}

void BM_PacedRun(benchmark::State& st)
{
    QTemporaryDir dir;
    sim::SimOptions options;
    options.pacing = true;
    options.stepMs = 30.0;
    sim::VirtualInstrument instrument(options, BuiltInPlate("w96f"));
    QString error;
    if (!instrument.Start(&error) || !instrument.LinkPort(dir.path(), 4, &error)) {
        st.SkipWithError(qPrintable(error));
        return;
    }
    Bench b(dir.path());
    InstrumentLink link(dir.path(), b.clock);
    link.SetPortNumber(4);
    if (!link.Open()) {
        st.SkipWithError("cannot open the port");
        return;
    }
    b.state.link = &link;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : st)
        b.acq.OnAcquisitionTick();
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double lineRate = 115200.0 / 10.0 / (4 * (5 + 192));
    st.counters["ticks_per_s"] = double(st.iterations()) / s;
    st.counters["vs_line"] = double(st.iterations()) / s / lineRate;
}

} // namespace

BENCHMARK(BM_TickWork)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ZeroBufferEnd)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_PacedRun)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(200)->Repetitions(3)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
