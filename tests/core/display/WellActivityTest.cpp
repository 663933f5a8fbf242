#include "core/display/RunTimeText.h"
#include "core/display/WellActivity.h"
#include "core/tools/DeviceTest.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace bandora;

namespace {

const QDateTime kStart(QDate(2026, 12, 5), QTime(10, 0));

// A 2 x 3 plate with two beams per well: channels 2w and 2w+1 in well w.
// Channel 11 (well 5) is disabled, channels 12 and up lie in no well.
struct Plate {
    ProjectSetup project;
    PlateFormat plate;
    WellActivity activity;
    Plate()
    {
        plate.Rows = 2;
        plate.Columns = 3;
        plate.ChannelWell.fill(-1);
        for (int ch = 0; ch < 12; ++ch)
            plate.ChannelWell[size_t(ch)] = qint16(ch / 2);
        project.ChannelEnabled.fill(true);
        project.ChannelEnabled[11] = false;
        activity.Prepare(project, plate);
        activity.StartRun(kStart);
    }
    static WellActivity::Counts Counts(std::initializer_list<std::pair<int, int>> channelCounts)
    {
        WellActivity::Counts c{};
        for (auto [ch, n] : channelCounts)
            c[size_t(ch)] = qint16(n);
        return c;
    }
};

QDateTime At(int seconds) { return kStart.addSecs(seconds); }

} // namespace

// The windows over completed cycles of 60 s and the cycle under way: counts
// per beam of each well; the last cycle slides, so half way through the new
// cycle half of the old one still shows.
TEST(WellActivity, WindowsAddTheCycleUnderWayToTheCyclesWithinThem)
{
    Plate t;
    // Cycle 1 ends at 60 s: well 0 counted 4 (2 per beam), well 5 only on
    // its enabled beam: 6 over one beam.
    t.activity.EndCycle(Plate::Counts({{0, 3}, {1, 1}, {10, 6}, {11, 50}, {20, 99}}), At(60));
    for (int k = 2; k <= 12; ++k) // cycles 2..12: well 1 counts 2 each
        t.activity.EndCycle(Plate::Counts({{2, 2}}), At(60 * k));
    t.activity.TakeLive(Plate::Counts({{2, 1}, {4, 8}}), 0.5, At(60 * 12 + 30));

    struct Case {
        ActivityWindow window;
        int secondsAfterStart;
        std::vector<double> values;
    } cases[] = {
        {ActivityWindow::LastCycle, 750, {0, 0.5 + 1 * 0.5, 4, 0, 0, 0}},
        // 10 min back from 12:30: cycles ending after 2:30, i.e. 3..12.
        {ActivityWindow::Last10Min, 750, {0, 0.5 + 10, 4, 0, 0, 0}},
        {ActivityWindow::LastHour, 750, {2, 0.5 + 11, 4, 0, 0, 6}},
    };
    for (const Case& c : cases) {
        const std::vector<double> v = t.activity.Values(c.window, At(c.secondsAfterStart));
        ASSERT_EQ(v.size(), c.values.size());
        for (size_t w = 0; w < v.size(); ++w)
            EXPECT_DOUBLE_EQ(v[w], c.values[w]) << int(c.window) << " well " << w;
    }
    EXPECT_FALSE(t.activity.Used(6));
    EXPECT_TRUE(t.activity.Used(5));
}

// A well is flagged once it has had no count for the alarm time; the time
// of its last count is what the tooltip and the run's notes give. A count
// growing within a cycle is a movement then, a count that stays is not.
TEST(WellActivity, WellsWithoutACountForTheAlarmTimeAreFlaggedWithTheirLastCount)
{
    Plate t;
    t.activity.TakeLive(Plate::Counts({{0, 1}}), 0.1, At(10));
    t.activity.TakeLive(Plate::Counts({{0, 1}, {2, 1}}), 0.5, At(30)); // well 0 unchanged, well 1 moved
    t.activity.EndCycle(Plate::Counts({{0, 1}, {2, 1}}), At(60));
    t.activity.TakeLive(Plate::Counts({{4, 2}}), 0.2, At(70));          // a new cycle: well 2 moved
    t.activity.EndCycle(Plate::Counts({{4, 2}, {6, 1}}), At(120));      // well 3 counted only by the end

    for (const auto& [well, seconds] : {std::pair{0, 10}, {1, 30}, {2, 70}, {3, 120}, {4, 0}})
        EXPECT_EQ(t.activity.LastMovement(well), At(seconds)) << well;

    const auto flagged = [&](int seconds, int minutes) {
        std::vector<std::pair<QString, QDateTime>> out;
        for (const InactiveWell& w : t.activity.InactiveWells(At(seconds), minutes))
            out.emplace_back(w.label, w.since);
        return out;
    };
    using F = std::vector<std::pair<QString, QDateTime>>;
    EXPECT_EQ(flagged(59, 1), F{});
    EXPECT_EQ(flagged(60, 1), (F{{"A3", kStart}, {"B3", kStart}}));
    EXPECT_EQ(flagged(70, 1), (F{{"A1", At(10)}, {"A3", kStart}, {"B3", kStart}}));
    EXPECT_EQ(flagged(7200, 0), F{});
    // Before a run nothing is flagged.
    t.activity.Prepare(t.project, t.plate);
    EXPECT_EQ(flagged(7200, 1), F{});
}

TEST(RunTimeText, LapseEndAndTimeLeft)
{
    const QDateTime now(QDate(2026, 12, 5), QTime(13, 23, 10));
    struct Case {
        qint64 elapsedMs;
        qint16 lapse;
        bool paused;
        const char* text;
    } cases[] = {
        {48 * 60000, 120, false, "lapse 2 h 00 min · ends 14:35, 1 h 12 min left"},
        {48 * 60000 + 1, 120, false, "lapse 2 h 00 min · ends 14:35, 1 h 12 min left"}, // rounds the minute up
        {0, 30, false, "lapse 30 min · ends 13:53, 30 min left"},
        {40 * 60000, 30, false, "lapse 30 min · ends 13:23, 0 min left"},
        {0, 1440, false, "lapse 1 d 0 h 00 min · ends Sun 13:23, 1 d 0 h 00 min left"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunTimeText(c.elapsedMs, c.lapse, now, c.paused), QString::fromUtf8(c.text));

    EXPECT_DOUBLE_EQ(LapseProgress(30000, 1), 0.5); // moves within the first minute
    EXPECT_DOUBLE_EQ(LapseProgress(60000, 1), 1.0);
    EXPECT_DOUBLE_EQ(LapseProgress(0, 0), 1.0);
}

TEST(DeviceTestVerdict, NamesTheBeamsThatDidNotSwingByWellAndChannel)
{
    std::array<qint16, kChannelTable> low{}, high{};
    low.fill(90);
    high.fill(4095);
    EXPECT_EQ(DeviceTestVerdict(low, high), "All beams answered");
    high[0] = 90 + DeviceTest::kAnswerSwing - 1; // A1
    high[383] = 100;                             // P24
    EXPECT_EQ(DeviceTestVerdict(low, high), "2 of 384 beams did not answer:\r\nA1 (channel 0), P24 (channel 383)");
    high.fill(90);
    const QString all = DeviceTestVerdict(low, high);
    EXPECT_TRUE(all.startsWith("384 of 384 beams did not answer:\r\nA1 (channel 0), B1 (channel 1)")) << all.toStdString();
    EXPECT_TRUE(all.endsWith("H2 (channel 23), and 360 more")) << all.toStdString();
}
