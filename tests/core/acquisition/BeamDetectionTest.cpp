#include "core/acquisition/CycleTick.h"
#include "core/storage/PlateFormat.h"

#include <gtest/gtest.h>

#include <functional>

using namespace bandora;

namespace {

// The detection with the project, plate and run flag it reads, ticked as the
// acquisition cycle ticks it.
struct Rig {
    ProjectSetup project;
    PlateFormat plate;
    bool blank = false;
    CycleState cycle;
    DetectionContext ctx;

    explicit Rig(int rtBuffer = 500) : cycle(rtBuffer)
    {
        project.ChannelThreshold.fill(10.0);
        plate.ChannelWell.fill(0);
        ctx = DetectionContext::For(project, plate, blank);
        ctx.DSP_Interval = 30;
        ctx.DSP_Method = 1;
    }

    // One running tick on value(ch, tick) of every channel.
    void Tick(const std::function<qint16(int ch, int tick)>& value)
    {
        for (int ch = 0; ch < kChannels; ++ch)
            cycle.Sample(ch, cycle.Column) = value(ch, cycle.TickCount);
        TickSteps steps;
        steps.BufferCycleEnd = [this] {
            DetectBufferEnd(cycle, ctx);
            return true;
        };
        RunTick(cycle, ctx, steps);
    }

    void Run(int ticks, const std::function<qint16(int ch, int tick)>& value)
    {
        for (int i = 0; i < ticks; ++i)
            Tick(value);
    }
};

} // namespace

TEST(BeamDetection, WindowIndexWrapsAtOrBeforeColumnZero)
{
    EXPECT_EQ(WindowIndex(5, 4, 500), 1);
    EXPECT_EQ(WindowIndex(5, 5, 500), 499) << "column 0 is read as RT_Buffer - 1";
    EXPECT_EQ(WindowIndex(0, 1, 500), 498);
    EXPECT_EQ(WindowIndex(2, 12, 10), 8) << "a window longer than the buffer stays inside it";

    // Method 1 at column 2 of a 10-tick buffer, window 3: the samples of
    // columns 1, 9 and 8 (never column 0), and the levels of the same columns.
    Rig rig(10);
    rig.ctx.DSP_Interval = 3;
    rig.cycle.TickCount = 5;
    rig.cycle.Column = 2;
    auto& c = rig.cycle;
    c.Sample(0, 0) = 5000;
    c.Sample(0, 1) = 100;
    c.Sample(0, 9) = 200;
    c.Sample(0, 8) = 300;
    c.Level(0, 0) = 9000;
    c.Level(0, 1) = 10;
    c.Level(0, 9) = 20;
    c.Level(0, 8) = 30;
    DetectTick(rig.cycle, rig.ctx);
    // ((100 - 10) x 300 / 100 + 60) / 4 = 82.5 -> 82
    EXPECT_EQ(c.Level(0, 2), 82);
}

TEST(BeamDetection, FirstLevelledTickBackFillsTheWindowBehindIt)
{
    // On the tick where TickCount = DSP_Interval + 1: before column 30,
    // columns 0..col take the level of column 1; later, columns col-30..col
    // take the level of column col-29. The column beyond the range keeps its own.
    struct Case {
        int column, source, first, beyond;
    };
    for (const Case& c : {Case{10, 1, 0, 11}, Case{40, 11, 10, 9}}) {
        Rig rig;
        rig.cycle.TickCount = 31;
        rig.cycle.Column = c.column;
        rig.cycle.Level(0, c.source) = 777;
        rig.cycle.Level(0, c.beyond) = 1;
        DetectTick(rig.cycle, rig.ctx);
        for (int s = c.first; s <= c.column; ++s)
            EXPECT_EQ(rig.cycle.Level(0, s), 777) << "tick at " << c.column << ", column " << s;
        EXPECT_EQ(rig.cycle.Level(0, c.beyond), 1) << c.column;
    }
}

TEST(BeamDetection, BlankReadingLearnsThresholdsAndEndsOnChannelZero)
{
    Rig rig;
    rig.blank = true;
    auto& c = rig.cycle;
    c.ResetBlankStatistics();
    c.TickCount = 50;
    c.Column = 40;
    c.BlankTickCount = 10;
    c.BlankMax[0] = 800;
    c.BlankMin[0] = 600;
    c.Sample(0, 40) = 700;
    c.Sample(1, 40) = 0;        // a dark beam: no extremes learned
    c.Level(1, 40) = 1234;
    rig.project.ChannelThreshold[1] = 7.5;

    EXPECT_FALSE(DetectTick(c, rig.ctx).BlankReadingEnded);
    // Int((1 - 600/800) x 100 x 1.15) + 1 = 29; level 71 % of 700 = 497.
    EXPECT_DOUBLE_EQ(rig.project.ChannelThreshold[0], 29.0);
    EXPECT_EQ(c.Level(0, 40), 497);
    EXPECT_DOUBLE_EQ(rig.project.ChannelThreshold[1], 7.5);
    EXPECT_EQ(c.Level(1, 40), 1234);

    // Past Threshold_Counter the reading ends at channel 0; the rest of the
    // tick already takes the method's level: 90 % of the window's 1000, / 4.
    c.BlankTickCount = rig.ctx.Threshold_Counter + 1;
    c.Column = 41;
    for (int s = 0; s <= 41; ++s)
        c.Sample(2, s) = 1000;
    c.Level(2, 38) = c.Level(2, 39) = c.Level(2, 40) = 0;
    const TickDetection end = DetectTick(c, rig.ctx);
    EXPECT_TRUE(end.BlankReadingEnded);
    EXPECT_EQ(end.BlankEndChannel, 0);
    EXPECT_EQ(BlankReadingEndCaption(end.BlankEndChannel), QStringLiteral("Setting (0) OK..."));
    EXPECT_FALSE(rig.blank);
    EXPECT_EQ(c.Level(2, 41), 225);

    // In zero mode the blank reading still runs, and ends.
    Rig zero;
    zero.ctx.AutoZero = true;
    zero.blank = true;
    zero.cycle.ResetBlankStatistics();
    zero.Run(zero.ctx.Threshold_Counter + 2, [](int ch, int) { return qint16(ch == 0 ? 800 : 1000); });
    EXPECT_FALSE(zero.blank);
    EXPECT_DOUBLE_EQ(zero.project.ChannelThreshold[0], 1.0);
}

TEST(BeamDetection, NormalModeCountsAfterTheWarmUp)
{
    // Method 1: a beam at 1000 with a level settling at 900. Channel 0 is
    // interrupted during warm-up (tick 40, not counted: counting starts past
    // 1.5 x 30 ticks), then for 20 ticks from 100 (one count), then again at
    // 200 (a second); channel 1 is never interrupted.
    Rig rig;
    auto beam = [](int ch, int t) {
        const bool down = ch == 0 && (t == 40 || (t >= 100 && t < 120) || t == 200);
        return qint16(down ? 100 : 1000);
    };
    rig.Run(260, beam);
    EXPECT_EQ(rig.cycle.TotalCount[0], 2);
    EXPECT_EQ(rig.cycle.IntervalCount[0], 2);
    EXPECT_EQ(rig.cycle.TotalCount[1], 0);

    // TotalCount stops at 10000, IntervalCount does not; the buffer-cycle
    // count restarts at column 0.
    rig.cycle.TotalCount[0] = 9999;
    rig.Run(60, [](int ch, int t) { return qint16(ch == 0 && (t == 270 || t == 280) ? 100 : 1000); });
    EXPECT_EQ(rig.cycle.TotalCount[0], 10000);
    EXPECT_EQ(rig.cycle.IntervalCount[0], 4);
    rig.Run(500 - 320, beam);
    rig.Run(1, beam);
    EXPECT_EQ(rig.cycle.IntervalCount[0], 0) << "column 0 of the next buffer cycle";

    // Method 0: three interruptions inside one window (scored at ticks 92,
    // 123, ... where WindowTick reaches 30) score once; one on the scoring
    // tick itself scores at once.
    Rig binary;
    binary.ctx.DSP_Method = 0;
    binary.Run(125, [](int ch, int t) {
        return qint16(ch == 0 && (t == 63 || t == 66 || t == 69 || t == 123) ? 100 : 1000);
    });
    EXPECT_EQ(binary.cycle.TotalCount[0], 2);

    // An unknown method sets no level and counts nothing.
    Rig unknown;
    unknown.ctx.DSP_Method = 3;
    unknown.Run(100, [](int, int t) { return qint16(t % 2 ? 100 : 1000); });
    EXPECT_EQ(unknown.cycle.TotalCount[0], 0);
    EXPECT_EQ(unknown.cycle.Level(0, 80), 0);
}

TEST(BeamDetection, ZeroModeTracksLevelsAndLeavesTheCountToTheAnalysis)
{
    Rig rig;
    rig.ctx.AutoZero = true;
    rig.ctx.SnrThreshold = 0.2;
    rig.plate.ChannelWell[5] = -1;
    // Channel 0 is interrupted every 50 ticks; channel 1 has one spike of
    // 3000 at tick 100; the others hold 1000.
    auto beam = [](int ch, int t) {
        if (ch == 0 && t % 50 == 25)
            return qint16(100);
        if (ch == 1 && t == 100)
            return qint16(3000);
        return qint16(1000);
    };
    rig.Run(499, beam);
    EXPECT_EQ(rig.cycle.TotalCount[0], 0) << "zero mode does not count per tick";
    EXPECT_EQ(rig.cycle.Sample(1, 100), 1000) << "the spike became the mean of its neighbours";
    EXPECT_EQ(rig.cycle.Level(2, 300), 900);
    EXPECT_EQ(rig.cycle.UpperLevel(2, 300), 1100);
    EXPECT_EQ(rig.cycle.Level(5, 300), 0) << "channels off the plate are skipped";

    // At the buffer-cycle end every used channel gets the analysis' count.
    SampleTable before = rig.cycle.Sample;
    before(0, 499) = beam(0, 499);
    ChannelAnalyzer reference;
    const int expected = reference.AnalyzeChannel(before, 0, rig.ctx.SnrThreshold, 1);
    ASSERT_GT(expected, 0);
    rig.cycle.TotalCount[0] = 9999;
    rig.Tick(beam);
    EXPECT_EQ(rig.cycle.IntervalCount[0], expected);
    EXPECT_EQ(rig.cycle.TotalCount[0], 9999 + expected) << "one buffer cycle may pass the cap";
    EXPECT_EQ(rig.cycle.IntervalCount[5], 0);
    // A steady beam: D = 0, M = 1000, so t = 0 and the threshold is 1 %.
    EXPECT_DOUBLE_EQ(rig.project.ChannelThreshold[2], 1.0);
    EXPECT_DOUBLE_EQ(rig.project.ChannelThreshold[5], 10.0);
}

TEST(BeamDetection, ZeroModeBufferEndThresholdsAndRecalibration)
{
    Rig rig;
    rig.ctx.AutoZero = true;
    rig.ctx.AutoCalibrate = true;
    rig.ctx.Recording = true;
    rig.ctx.SnrThreshold = 1.7;
    std::array<qint16, kChannelTable> pinHole{}, gain{};
    rig.ctx.CalPinHole = &pinHole;
    rig.ctx.CalGain = &gain;
    rig.plate.ChannelWell.fill(-1);
    rig.plate.ChannelWell[0] = rig.plate.ChannelWell[1] = rig.plate.ChannelWell[2] = 0;
    auto& c = rig.cycle;

    // Channel 0: mean swing 20 on a mean signal 2000 -> (1 - 1980/2000) x
    // 100 x 1.7 + 1 = 2.7. Channel 1 swings more than its signal: 1.7 x 100 + 1.
    c.StatTicks[0] = c.StatTicks[1] = 400;
    c.AmplitudeSum[0] = 20 * 400;
    c.SignalSum[0] = 2000 * 400;
    c.AmplitudeSum[1] = 50 * 400;
    c.SignalSum[1] = 40 * 400;
    pinHole[0] = 1; // at its lowest setting: nothing to turn down
    EXPECT_FALSE(DetectBufferEnd(c, rig.ctx));
    EXPECT_NEAR(rig.project.ChannelThreshold[0], 2.7, 1e-9);
    EXPECT_NEAR(rig.project.ChannelThreshold[1], 171.0, 1e-9);

    // A saturated beam (M >= 1945) that can still be turned down asks for it,
    // but only while recording.
    c.StatTicks[0] = 1;
    c.SignalSum[0] = 1945;
    c.AmplitudeSum[0] = 0;
    gain[0] = 3;
    EXPECT_TRUE(DetectBufferEnd(c, rig.ctx));
    rig.ctx.Recording = false;
    EXPECT_FALSE(DetectBufferEnd(c, rig.ctx));

    // Outside zero mode the buffer-cycle end does nothing.
    rig.ctx.AutoZero = false;
    rig.ctx.Recording = true;
    rig.project.ChannelThreshold[0] = 42.0;
    EXPECT_FALSE(DetectBufferEnd(c, rig.ctx));
    EXPECT_DOUBLE_EQ(rig.project.ChannelThreshold[0], 42.0);
}
