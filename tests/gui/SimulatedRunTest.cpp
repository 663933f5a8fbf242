// A run driven tick by tick the way the acquisition cycle drives the live
// display and the tool rules, on the test clock. The cycle itself belongs
// to the acquisition; CycleDriver below is the order of calls it makes.

#include "StartupHarness.h"
#include "support/RecordingSender.h"

#include "core/acquisition/LiveDisplay.h"
#include "core/display/SignalTrace.h"
#include "gui/FrmOffline.h"
#include "gui/LivePlots.h"
#include "gui/PictureBox.h"
#include "gui/ToolPanels.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace bandora;
using namespace bandora::test;

namespace {

// The acquisition cycle's calls into the display and the tools, tick by tick
// (30 ms each on the test clock). Samples come from a function instead of the
// instrument, and a beam counts each passage below its level.
struct CycleDriver {
    AppState& state;
    FrmMain& w;
    TestClock& clock;
    std::function<qint16(int ch, int tick)> sample;
    int rawTemperature = 0; // as ReadTemperature would answer
    QDateTime runStart;

    void StartRun()
    {
        CycleState& c = w.Cycle();
        w.Display().ResetActivityPanel();
        c.ResetCounters();
        c.ResetChannels();
        state.AcquisitionState = 1;
        w.Tools().TemperatureSetpoint = 25.0;
        w.Tools().LightAtRunStart();
        w.Display().ResetSignalPlot();
        w.Display().ShowElapsed(0, 0, state.project.Aq_lapse);
        runStart = clock.now();
    }

    void Tick()
    {
        CycleState& c = w.Cycle();
        LiveDisplay& display = w.Display();
        const int col = c.Column;
        for (int ch = 0; ch < kChannels; ++ch)
            c.Sample(ch, col) = sample(ch, c.TotalTicks);
        if (c.TickCount == state.project.DSP_Interval)
            display.RedrawSignal(); // step 4
        for (int ch = 0; ch < kChannels; ++ch) { // step 5, a plain level detector
            if (col == 0)
                c.IntervalCount[ch] = 0;
            c.Level(ch, col) = 1350;
            const bool below = c.Sample(ch, col) < c.Level(ch, col);
            if (below && !c.BelowLevel[ch])
                ++c.IntervalCount[ch];
            c.BelowLevel[ch] = below;
        }
        if (c.PlotTicks > 1) { // step 6
            display.DrawNewPoints();
            display.DrawActivityPanel(w.Tools().TemperatureText());
            c.PlotTicks = 0;
        }
        ++c.BlankTickCount;
        if (++c.Column == c.RT_Buffer()) { // steps 7 and 8
            c.Column = 0;
            w.Tools().TakeTemperature(rawTemperature, state.factory.Slope, state.factory.Offset);
            w.Tools().RegulateAndSchedule();
        }
        if (c.Column % 25 == 0) { // step 9: time keeping
            const qint64 ms = runStart.msecsTo(clock.now());
            const qint32 minutes = qint32(ms / 60000);
            display.ShowElapsed(ms, minutes, state.project.Aq_lapse);
            w.Tools().PulseTrainAndPending(ms / 60000.0);
        }
        ++c.PlotTicks; // step 10
        c.WindowTick = c.WindowTick >= state.project.DSP_Interval ? 0 : qint16(c.WindowTick + 1);
        ++c.TotalTicks; // step 11
        ++c.TickCount;
        clock.advance(30);
    }
};

// The pixel column of a buffer column on the signal plot.
int PixelOf(const QImage& img, int column, int rtBuffer)
{
    return int((column - SignalScale::kLeft + 0.5) * img.width() / (rtBuffer + SignalScale::kRightMargin - SignalScale::kLeft));
}

int CountColour(const QImage& img, int x, int yFrom, int yTo, QRgb colour)
{
    int n = 0;
    for (int y = std::max(yFrom, 0); y < std::min(yTo, img.height()); ++y)
        n += (img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

} // namespace

TEST(SimulatedRun, TheCycleDrivesThePlotsTheTimeAndTheOutputs)
{
    StartupHarness h;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    // Without the instrument the start-up shows the offline window; its
    // "Main" brings the main window with the plots.
    h.main->OfflineWindow()->cmdMain->click();
    h.main->resize(1366, 768);
    RecordingSender sender;
    FrmMain& w = *h.main;
    w.SetOutputSender(sender);
    ProjectSetup& p = h.state->project;
    ASSERT_EQ(p.RT_Buffer, 500);
    p.Aq_lapse = 1;
    p.MenuParam[2] = {1, 9, 21, 1, 1, 1}; // one pulse: 0.1 minute on, 0.1 off
    w.ToolPanel().Fill();
    w.Tools().SetTemperatureControl(true);
    h.state->factory = FactoryCal{};
    h.state->factory.Slope = 0.2;

    // The selected channel (A1, beam 0) dips below its level every 10 ticks.
    const int selected = w.Plots().SelectedChannel();
    CycleDriver run{*h.state, w, h.clock,
                    [selected](int ch, int tick) -> qint16 {
                        return ch == selected && tick % 10 < 3 ? 1000 : 1500;
                    },
                    120 /* 24.0 degrees: heat */, QDateTime()};
    run.StartRun();
    for (int i = 0; i < 100; ++i)
        run.Tick();
    // Light on for the first 0.1 minute of the train; the tools' state went
    // out at every 25th sample.
    EXPECT_EQ(w.cmd_luz->text(), QStringLiteral("ON"));
    EXPECT_EQ(sender.sent.back(), 4);

    for (int i = 100; i < 700; ++i)
        run.Tick();
    // After the first buffer cycle the block at 24.0 degrees is heated, and
    // the pulse is over.
    EXPECT_EQ(w.cmd_frio->text(), QStringLiteral("CALOR"));
    EXPECT_EQ(w.cmd_ontemp->text(), QStringLiteral("ON"));
    EXPECT_EQ(w.cmd_luz->text(), QStringLiteral("OFF"));
    EXPECT_EQ(sender.sent.back(), 3);
    // The time shown at the last 25th sample: 699 ticks of 30 ms had passed.
    EXPECT_EQ(w.Txt_time->text(), QStringLiteral("00:00:20 [0d]"));

    // The trace: the new pass up to column 199, the band just after it, the
    // old pass beyond.
    const QImage& img = w.Picreal->image();
    const int top = int(img.height() * (SignalScale::kTop - SignalScale::kBandTop) /
                        double(SignalScale::kTop - SignalScale::kBottom));
    const int bottom = int(img.height() * (SignalScale::kTop - SignalScale::kBandBottom) /
                           double(SignalScale::kTop - SignalScale::kBottom));
    ASSERT_EQ(w.Cycle().Column, 200);
    EXPECT_GT(CountColour(img, PixelOf(img, 150, 500), top, bottom, qRgb(255, 0, 0)), 0);
    EXPECT_GT(CountColour(img, PixelOf(img, 400, 500), top, bottom, qRgb(255, 0, 0)), 0);
    EXPECT_EQ(CountColour(img, PixelOf(img, 207, 500), top + 2, bottom - 2, qRgb(255, 255, 255)),
              bottom - 2 - (top + 2));
    // The level, where it is set, in blue.
    EXPECT_GT(CountColour(img, PixelOf(img, 150, 500), top, bottom, qRgb(0, 0, 255)), 0);

    // The activity panel: the channel's bar for its 20 dips of the buffer
    // cycle so far is drawn grey above the axis.
    const QImage& act = w.Picact->image();
    const int barX = int((25 + 30) * act.width() / 330.0);
    const int barY = int((300 - 10) * act.height() / 330.0);
    EXPECT_EQ(act.pixel(barX, barY) & 0xFFFFFF, qRgb(128, 128, 128) & 0xFFFFFF);
    EXPECT_EQ(w.Cycle().IntervalCount[selected], 20);

    // A new channel shows its history at once.
    const QImage before = img.copy();
    w.Plots().SelectChannel(selected + 1);
    EXPECT_NE(before, w.Picreal->image());

    // The time bar fills as the lapse of one minute runs out.
    for (int i = 700; i < 1500; ++i)
        run.Tick();
    EXPECT_EQ(w.Txt_time->text(), QStringLiteral("00:00:44 [0d]"));
    const QImage& bar = w.picturetime->image();
    EXPECT_EQ(bar.pixel(bar.width() / 10, bar.height() / 2) & 0xFFFFFF, 0xFFFFFFu); // 0 whole minutes
    for (int i = 1500; i < 2025; ++i)
        run.Tick();
    EXPECT_EQ(w.picturetime->image().pixel(w.picturetime->image().width() - 2, 1) & 0xFFFFFF, 0xFF0000u);
}
