#include "../analysis/ReportFixture.h"

#include "core/analytics/MinuteSeries.h"
#include "support/ScriptedOperator.h"

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

// setup.dat of the small plate with the light schedule given (on hour, off hour).
void WriteSchedule(ExperimentFixture& f, bool on, int onHour, int offHour)
{
    ProjectSetup p;
    p.Num_proj = 3;
    p.Plate_format = QStringLiteral("wtest");
    p.MenuParam[2][0] = on ? 1 : 0;
    p.MenuParam[2][1] = qint16(onHour);
    p.MenuParam[2][2] = qint16(offHour);
    WriteSetupFile(p, f.folder);
}

} // namespace

TEST(MinuteSeries, SumsTheReportsWellValuesPerMinuteAndLeavesMinutesWithoutRecordsMissing)
{
    ExperimentFixture f;
    f.SmallPlate();
    // A1 has two beams: (1 + 2) / 2 = 1.5 -> 2 and (1 + 4) / 2 = 2.5 -> 2, ties to even.
    // Minute 2 holds no record; the last record counts too; 1439 then 5 is a day wrap.
    QByteArray counts = CountsBytes({{0, {{0, 1}, {1, 2}, {16, 3}}},
                                     {0, {{0, 1}, {1, 4}, {16, 1}, {32, 250}}},
                                     {1, {{16, 7}}}});
    for (int m = 3; m < 1440; ++m)
        counts += CountsBytes({{m, {{16, qint16(m == 1430 ? 2 : 1)}}}});
    f.WriteCounts(counts + CountsBytes({{5, {{16, 9}}}}));
    ScriptedOperator op;
    const SeriesLoad load = LoadMinuteSeries(f.folder, f.appDir, op);
    ASSERT_TRUE(load.Ok) << load.Error.toStdString();
    const MinuteSeries& s = load.Series;
    EXPECT_EQ(s.Resolution, 1);
    EXPECT_EQ(s.Samples, 1446);
    EXPECT_EQ(s.Records, 1441);
    ASSERT_EQ(s.Wells(), 5);
    EXPECT_EQ(s.Well(0)[0], 4);
    EXPECT_EQ(s.Well(2)[0], 4);
    EXPECT_EQ(s.Well(2)[1], 7);
    EXPECT_EQ(s.Well(2)[1430], 2);
    EXPECT_EQ(s.Well(2)[1445], 9);
    EXPECT_TRUE(s.IsPresent(0) && s.IsPresent(1) && s.IsPresent(3));
    EXPECT_FALSE(s.IsPresent(2));
    EXPECT_FALSE(s.IsPresent(1444));
    // Labels and groups are the report's (its layout tests check them).
    EXPECT_EQ(s.GroupLabel(s.WellInfo[4].Group), QStringLiteral("002_Single"));
    // The detector of the default setup counts at most 250 per buffer cycle.
    EXPECT_EQ(s.CountCap, 250);
    EXPECT_EQ(s.WellInfo[4].CapRecords, 1);
    EXPECT_TRUE(op.texts().isEmpty());
}

TEST(MinuteSeries, ResolutionIsTheSmallestWithARecordInEverySample)
{
    struct Case {
        double cycleSeconds;
        int pauseAfter; // minutes of pause inserted after the 20th record (0: none)
        int resolution;
    };
    for (const Case c : {Case{15, 0, 1}, Case{59, 0, 1}, Case{90, 0, 2}, Case{150, 0, 3}, Case{15, 180, 1},
                         Case{240, 0, 4}, Case{90, 180, 2}}) {
        std::vector<qint64> times;
        double t = 0;
        for (int r = 0; r < 2000; ++r, t += c.cycleSeconds / 60.0)
            times.push_back(qint64(t) + (r >= 20 ? c.pauseAfter : 0));
        EXPECT_EQ(SeriesResolution(times), c.resolution) << c.cycleSeconds << " s";
    }
}

TEST(MinuteSeries, ZeitgeberTimeStartsAtTheLastLightOnAndEachMinuteKnowsItsPhase)
{
    struct Case {
        QString folder;
        bool scheduled;
        int on, off;
        int startZt;           // minutes from ZT0 to the start
        qint64 minute;         // a minute of the recording ...
        LightPhase phase;      // ... and its phase
    };
    for (const Case& c : {Case{"05012026_0930", true, 9, 21, 30, 0, LightPhase::Light},
                          Case{"05012026_0930", true, 9, 21, 30, 690, LightPhase::Dark},   // 21:00
                          Case{"05012026_0700", true, 9, 21, 1320, 0, LightPhase::Dark},   // ZT0 the day before
                          Case{"05012026_0700", true, 21, 9, 600, 119, LightPhase::Light}, // 08:59, light over midnight
                          Case{"05012026_0700", true, 0, 0, 1320, 120, LightPhase::Light}, // stored 0 and 0: 9 to 21
                          Case{"05012026_0700", false, 9, 21, 0, 300, LightPhase::None},
                          Case{"experiment_a", true, 9, 21, 0, 300, LightPhase::None}}) {
        ExperimentFixture f(c.folder);
        f.SmallPlate();
        WriteSchedule(f, c.scheduled, c.on, c.off);
        f.WriteCounts(CountsBytes({{0, {}}, {700, {}}}));
        ScriptedOperator op;
        const SeriesLoad load = LoadMinuteSeries(f.folder, f.appDir, op);
        ASSERT_TRUE(load.Ok) << load.Error.toStdString();
        EXPECT_EQ(load.Series.StartZtMinutes, c.startZt) << c.folder.toStdString() << " " << c.on;
        EXPECT_EQ(load.Series.PhaseAt(c.minute), c.phase) << c.folder.toStdString() << " " << c.on;
    }
}

TEST(MinuteSeries, ExperimentsWithoutDataAreRefusedWithTheirReason)
{
    ExperimentFixture f;
    f.SmallPlate();
    ScriptedOperator op;
    EXPECT_EQ(LoadMinuteSeries(f.folder, f.appDir, op).Error, QStringLiteral("Activity file not Found"));
    f.WriteCounts({});
    EXPECT_EQ(LoadMinuteSeries(f.folder, f.appDir, op).Error, QStringLiteral("The activity file holds no record"));
}
