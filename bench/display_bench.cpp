// The live display's drawing work, on picture areas of the sizes the main
// window gives them at 1366 x 768 and at 1920 x 1080:
//   - the whole signal plot redrawn for RT_Buffer 500 (target: under 5 ms);
//   - the drawing of one tick: new trace points with the sweep band, the
//     activity panel every second tick and the time every 25th (target:
//     median under 0.3 ms, under 1 % of a tick at the line-limited rate);
//   - for information, one repaint of the signal plot on screen (capped at
//     25 a second whatever the tick does).

#include "BeamSignal.h"

#include "core/AppState.h"
#include "core/acquisition/CycleTick.h"
#include "core/common/Clock.h"
#include "core/common/EventPump.h"
#include "core/common/Operator.h"
#include "gui/LivePlots.h"
#include "gui/PictureBox.h"
#include "gui/PlateMap.h"

#include <QApplication>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

using namespace bandora;

namespace {

struct SilentOperator final : Operator {
    Answer ask(const QString&, Buttons) override { return Answer::Ok; }
    QString prompt(const QString&, const QString& d) override { return d; }
};
struct NoEvents final : EventPump {
    void processEvents() override {}
};

// A display on picture areas of the given signal-plot size, over a full
// buffer of recorded-looking beams.
struct Rig {
    SilentOperator op;
    SystemClock clock;
    NoEvents events;
    AppState state{QString(), op, clock, events};
    CycleState cycle{500};
    PictureBox real, act, time;
    QLineEdit text;
    LivePlots plots;
    SampleTable signals = bench::BeamSignals(500);

    Rig(int width, int height)
        : plots((Prepare(state), state), cycle, real, act, time, text)
    {
        // Shown (on the offscreen platform), so the picture areas take
        // their sizes at once.
        real.resize(width, height);
        act.resize(width * 3 / 4, height * 3 / 4);
        time.resize(width, 20);
        for (QWidget* w : {static_cast<QWidget*>(&real), static_cast<QWidget*>(&act), static_cast<QWidget*>(&time)})
            w->show();
        QApplication::processEvents();
        cycle.Sample = signals;
        for (int ch = 0; ch < kChannels; ++ch)
            for (int c = 0; c < 500; ++c)
                cycle.Level(ch, c) = qint16(signals(ch, c) - 150);
        plots.SelectChannel(5);
    }

    static void Prepare(AppState& s)
    {
        for (int ch = 0; ch < kChannels; ++ch) {
            s.plate.ChannelWell[ch] = qint16(ch / 4);
            s.plate.ChannelBeam[ch] = qint16(ch % 4);
            s.project.ChannelGroup[ch] = qint16(ch / 32);
        }
        s.plate.MaxWell = 95;
        s.plate.MaxBeam = 3;
        s.plate.RebuildWellBeamChannel();
    }
};

const int kSizes[][2] = {{1010, 322}, {1540, 480}};

} // namespace

static void BM_RedrawSignal(benchmark::State& st)
{
    Rig rig(kSizes[st.range(0)][0], kSizes[st.range(0)][1]);
    rig.cycle.Column = 499;
    for (auto _ : st)
        rig.plots.RedrawSignal();
    st.SetLabel(QStringLiteral("%1x%2").arg(rig.real.image().width()).arg(rig.real.image().height()).toStdString());
}
BENCHMARK(BM_RedrawSignal)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One tick's drawing as the cycle calls it; the median and the 99th
// percentile of single ticks are reported as counters (microseconds).
static void BM_TickDrawing(benchmark::State& st)
{
    Rig rig(kSizes[st.range(0)][0], kSizes[st.range(0)][1]);
    CycleState& c = rig.cycle;
    c.Column = 0;
    rig.plots.ResetSignalPlot();
    // The tick without its detection (a context with no tables detects nothing).
    const DetectionContext noDetection;
    TickSteps steps;
    steps.Draw = [&] {
        rig.plots.DrawNewPoints();
        rig.plots.DrawActivityPanel(QStringLiteral("25.3"));
    };
    steps.TimeKeeping = [&] {
        rig.plots.ShowElapsed(qint64(c.TotalTicks) * 30, c.TotalTicks / 2000, 30);
        return true;
    };
    std::vector<double> us;
    us.reserve(1 << 16);
    for (auto _ : st) {
        const auto t0 = std::chrono::steady_clock::now();
        RunTick(c, noDetection, steps);
        const auto t1 = std::chrono::steady_clock::now();
        if (us.size() < us.capacity())
            us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    std::sort(us.begin(), us.end());
    if (!us.empty()) {
        st.counters["median_us"] = us[us.size() / 2];
        st.counters["p99_us"] = us[us.size() * 99 / 100];
    }
    st.SetLabel(QStringLiteral("%1x%2").arg(rig.real.image().width()).arg(rig.real.image().height()).toStdString());
}
BENCHMARK(BM_TickDrawing)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The screen side: one repaint of the retained signal plot.
static void BM_ScreenRepaint(benchmark::State& st)
{
    Rig rig(kSizes[st.range(0)][0], kSizes[st.range(0)][1]);
    rig.cycle.Column = 499;
    rig.plots.RedrawSignal();
    for (auto _ : st)
        rig.real.repaint();
    st.SetLabel(QStringLiteral("%1x%2").arg(rig.real.image().width()).arg(rig.real.image().height()).toStdString());
}
BENCHMARK(BM_ScreenRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The whole plate map, on the sizes the main window gives it at 1366 x 768
// and at 1920 x 1080, for a 96-well (8 x 12) and a 384-well (16 x 24) plate.
static void BM_PlateMapRedraw(benchmark::State& st)
{
    const int sizes[][2] = {{318, 330}, {470, 470}};
    const int rows = st.range(1) == 384 ? 16 : 8, columns = st.range(1) == 384 ? 24 : 12;
    PlateMap map;
    map.resize(sizes[st.range(0)][0], sizes[st.range(0)][1]);
    map.show();
    QApplication::processEvents();
    PlateMap::Figures f;
    f.rows = rows;
    f.columns = columns;
    const int wells = rows * columns;
    for (int w = 0; w < wells; ++w) {
        f.used.push_back(w % 17 != 5);
        f.group.push_back(w % 5 == 0 ? -1 : w % 4);
        f.values.push_back((w * 37) % 23);
        f.inactive.push_back(w % 29 == 3);
    }
    for (int g = 0; g < 4; ++g) {
        f.legendGroups.push_back(g);
        f.groupText.push_back(QStringLiteral("%1_group").arg(g, 3, 10, QLatin1Char('0')));
    }
    f.selectedWell = 7;
    map.SetFigures(f);
    for (auto _ : st)
        map.Draw();
    st.SetLabel(QStringLiteral("%1x%2 %3 wells").arg(map.width()).arg(map.height()).arg(wells).toStdString());
}
BENCHMARK(BM_PlateMapRedraw)->Args({0, 96})->Args({0, 384})->Args({1, 96})->Args({1, 384})->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
