// How long the window goes without handling its events while the program
// talks to the instrument, on the one window thread.
//
// A probe timer (every 10 ms) runs beside each loop that talks to the
// instrument; `stall_ms` is the longest time between two of its turns, which
// is how long a click or a repaint had to wait (target: under 200 ms).
// Where the loop can be stopped, STOP is pressed after `stop_after` seconds
// and `stop_ms` is the time until the loop let go. Run against the virtual
// instrument paced at 115200 baud, with a clean line (faults 0) and with 10 %
// of the replies dropped, cut short, late or garbled (faults 10).
//
//   BM_Calibration  the auto-calibration: 384 verified writes, then passes of
//                   reads and writes (STOP after 3 s)
//   BM_AutoZero     the autozero's 100 reads of every beam
//   BM_DeviceTest   the device test's ticks up to row 4 (STOP after 3 s)
//   BM_FactoryRead  the start-up read of the factory record
//   BM_PortSearch   the instrument search from port 1 (found on port 4)
//   BM_BlankTicks   300 ticks of the acquisition cycle reading the blank

#include "NoDisplay.h"

#include "core/AppState.h"
#include "core/acquisition/AcquisitionCycle.h"
#include "core/acquisition/Calibration.h"
#include "core/acquisition/CycleState.h"
#include "core/acquisition/LiveDisplay.h"
#include "core/acquisition/RunWindow.h"
#include "core/common/ApplicationEventPump.h"
#include "core/common/Clock.h"
#include "core/common/Operator.h"
#include "core/link/FindInstrument.h"
#include "core/link/InstrumentLink.h"
#include "core/storage/ExperimentRecorder.h"
#include "core/storage/PlateFiles.h"
#include "core/tools/DeviceTest.h"
#include "core/tools/FactoryRecord.h"
#include "core/tools/LightTemperatureControl.h"
#include "core/tools/LinkOutputSender.h"
#include "sim/VirtualInstrument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <memory>

using namespace bandora;

namespace {

class YesOperator final : public Operator {
public:
    Answer ask(const QString&, Buttons buttons) override
    {
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    QString prompt(const QString&, const QString&) override { return {}; }
};

class StillWindow final : public RunWindow {
public:
    void StartTimer() override {}
    void StopTimer() override {}
    void OpenSetup() override {}
    void ShowRunning(bool) override {}
    void LockForBlank() override {}
    QString DescriptionText() const override { return {}; }
    QString SnrText() const override { return QStringLiteral("1.8"); }
    QString TemperatureText() const override { return QStringLiteral("25"); }
    void ShowStatus(const QString&) override {}
    void ShowRunLabel(const QString&) override {}
    void ShowCalibrating(const QString&) override {}
    void ScaleProgress(int, int) override {}
    void ProgressMark(int) override {}
};

using bench::NoDisplay;

// The program's pieces around a virtual instrument on port 4, with the real
// clock and the real event pump.
struct Rig {
    explicit Rig(int faultPercent)
        : state(dir.path(), op, clock, events), link(dir.path(), clock, &events), cal(state, cycle, window),
          sender(state.instrument), tools(state.project.setup, sender, clock),
          acq(state, cycle, tools, display, recorder)
    {
        sim::SimOptions options;
        options.pacing = true;
        options.stepMs = 30.0;
        options.faults.rate = faultPercent / 100.0;
        options.faults.drop = options.faults.shortReply = options.faults.late = options.faults.corrupt = true;
        options.faults.lateMs = 150;
        instrument = std::make_unique<sim::VirtualInstrument>(options, BuiltInPlate("w96f"));
        QString error;
        ok = instrument->Start(&error) && instrument->LinkPort(dir.path(), 4, &error) && link.SetPortNumber(4)
             && link.Open();
        state.instrument.link = &link;
        state.project.plate = BuiltInPlate(QStringLiteral("w96f"));
        state.project.setup.Num_proj = 1;
        cycle.Dimension(state.project.setup.RT_Buffer);
        cycle.ResetCounters();
        cycle.ResetChannels();
    }

    // STOP as the main window's button does it for these loops.
    void Stop()
    {
        state.run.State = AcquisitionState::Stopped;
        link.AbandonWaits();
    }

    QTemporaryDir dir;
    SystemClock clock;
    YesOperator op;
    ApplicationEventPump events;
    AppState state;
    InstrumentLink link;
    CycleState cycle;
    StillWindow window;
    Calibration cal;
    LinkOutputSender sender;
    LightTemperatureControl tools;
    NoDisplay display;
    ExperimentRecorder recorder;
    AcquisitionCycle acq;
    std::unique_ptr<sim::VirtualInstrument> instrument;
    bool ok = false;
};

// Runs `work` with the probe timer beside it; STOP (`stop`) after stopAfterMs
// when given. Reports stall_ms and stop_ms.
void Measure(benchmark::State& st, Rig& rig, const std::function<void()>& work, int stopAfterMs = -1)
{
    if (!rig.ok) {
        st.SkipWithError("no virtual instrument");
        return;
    }
    double worstStall = 0, worstStop = 0;
    for (auto _ : st) {
        QElapsedTimer sinceTurn, sinceStop;
        qint64 longest = 0;
        QTimer probe;
        probe.setInterval(10);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            longest = std::max(longest, sinceTurn.elapsed());
            sinceTurn.restart();
        });
        QTimer stop;
        stop.setSingleShot(true);
        QObject::connect(&stop, &QTimer::timeout, [&] {
            sinceStop.start();
            rig.Stop();
        });
        QCoreApplication::processEvents();
        sinceTurn.start();
        probe.start();
        if (stopAfterMs >= 0)
            stop.start(stopAfterMs);
        work();
        const qint64 stopMs = sinceStop.isValid() ? sinceStop.elapsed() : 0;
        longest = std::max(longest, sinceTurn.elapsed());
        worstStall = std::max(worstStall, double(longest));
        worstStop = std::max(worstStop, double(stopMs));
    }
    st.counters["stall_ms"] = worstStall;
    if (stopAfterMs >= 0)
        st.counters["stop_ms"] = worstStop;
}

void BM_Calibration(benchmark::State& st)
{
    Rig rig(int(st.range(0)));
    Measure(st, rig, [&] {
        rig.state.run.State = AcquisitionState::Running;
        rig.cal.RunCalibration();
    }, 3000);
}

void BM_AutoZero(benchmark::State& st)
{
    Rig rig(int(st.range(0)));
    Measure(st, rig, [&] {
        rig.state.run.State = AcquisitionState::Running;
        rig.cal.RunAutoZero();
    });
}

void BM_DeviceTest(benchmark::State& st)
{
    Rig rig(int(st.range(0)));
    DeviceTest test(rig.state.services, rig.state.instrument, rig.state.run);
    Measure(st, rig, [&] {
        rig.state.run.State = AcquisitionState::Stopped;
        if (!test.Start())
            return;
        QTimer stop;
        stop.setSingleShot(true);
        QObject::connect(&stop, &QTimer::timeout, [&] { test.Stop(); });
        stop.start(3000);
        while (test.Running() && test.TestStep() <= 14)
            test.Tick({});
    });
}

void BM_FactoryRead(benchmark::State& st)
{
    Rig rig(int(st.range(0)));
    Measure(st, rig, [&] { benchmark::DoNotOptimize(ReadFactoryBytes(rig.link, rig.events)); });
}

void BM_PortSearch(benchmark::State& st)
{
    Rig rig(int(st.range(0)));
    Measure(st, rig, [&] {
        rig.link.ClosePort();
        rig.state.project.config.Serial_COM = 16; // no such port: the search runs from port 1
        FindInstrument(rig.state.project, rig.state.instrument, rig.state.services, rig.link, {});
    });
}

void BM_BlankTicks(benchmark::State& st)
{
    Rig rig(int(st.range(0)));
    Measure(st, rig, [&] {
        rig.state.run.BlankReading = true;
        rig.state.run.State = AcquisitionState::Running;
        rig.state.run.RunStart = rig.clock.now();
        rig.state.project.setup.Aq_lapse = 32000;
        for (int i = 0; i < 300 && rig.state.run.State == AcquisitionState::Running; ++i)
            rig.acq.OnAcquisitionTick();
    });
}

void Faults(benchmark::internal::Benchmark* b)
{
    b->Arg(0)->Arg(10)->ArgName("faults")->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

BENCHMARK(BM_Calibration)->Apply(Faults);
BENCHMARK(BM_AutoZero)->Apply(Faults);
BENCHMARK(BM_DeviceTest)->Apply(Faults);
BENCHMARK(BM_FactoryRead)->Apply(Faults);
BENCHMARK(BM_PortSearch)->Apply(Faults);
BENCHMARK(BM_BlankTicks)->Apply(Faults);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
