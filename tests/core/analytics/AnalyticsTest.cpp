#include "core/analytics/Analytics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace bandora;

namespace {

// A series of wells x minutes, every minute recorded, each well in group 0.
MinuteSeries Series(int wells, qint64 minutes, int startZt = 0)
{
    MinuteSeries s;
    s.Resize(wells, minutes);
    std::fill(s.Present.begin(), s.Present.end(), 1);
    s.GroupNames = {QStringLiteral("Fish")};
    s.StartZtMinutes = startZt;
    s.Records = minutes;
    for (int w = 0; w < wells; ++w)
        s.WellInfo[size_t(w)] = {w, QStringLiteral("A%1").arg(w + 1), 0, true, false, 0};
    return s;
}

// Counts that follow a 24-h cycle (more in the first half of each day).
qint32 Rhythm(qint64 minute, int well)
{
    return qint32(std::lround(6.0 + 5.0 * std::sin(2.0 * std::numbers::pi * double(minute) / 1440.0) +
                              double((minute * 7 + well * 3) % 5) / 2.0));
}

} // namespace

TEST(Periodograms, KnownAnswers)
{
    // A 24-h rhythm over six days peaks at 24.0 h in both periodograms, for a
    // well and for the group's mean; a flat well and a one-day recording are
    // refused. (Over fewer days the partial last row of the chi-square
    // columns favours periods that do not divide the recording.)
    MinuteSeries s = Series(3, 6 * 1440);
    for (int w = 0; w < 2; ++w)
        for (qint64 m = 0; m < s.Samples; ++m)
            s.Well(w)[size_t(m)] = Rhythm(m, w);
    std::fill(s.Well(2).begin(), s.Well(2).end(), 4);
    const AnalyticsResult r = RunAnalytics(s, {});
    ASSERT_EQ(r.Periods.size(), 161u);
    for (const SubjectPeriodograms* sp : {&r.WellPeriodograms[0], &r.GroupPeriodograms[0]}) {
        ASSERT_TRUE(sp->Refusal.isEmpty());
        ASSERT_GE(sp->Chi.Peak, 0);
        ASSERT_GE(sp->Lomb.Peak, 0);
        EXPECT_DOUBLE_EQ(r.Periods[size_t(sp->Chi.Peak)], 24.0);
        EXPECT_DOUBLE_EQ(r.Periods[size_t(sp->Lomb.Peak)], 24.0);
        EXPECT_LT(sp->Lomb.PValue[size_t(sp->Lomb.Peak)], 1e-6);
    }
    EXPECT_EQ(r.WellPeriodograms[2].Refusal, QStringLiteral("constant activity"));
    const AnalyticsResult day = RunAnalytics(Series(1, 1440), {});
    EXPECT_EQ(day.WellPeriodograms[0].Refusal, QStringLiteral("recording shorter than two cycles of 32.0 h"));

    // Qp by hand: 1 2 3 1 2 3 1 in 3 columns: (49 / 3) x (101 / 49) / (238 / 49).
    const std::vector<double> x{1, 2, 3, 1, 2, 3, 1};
    EXPECT_NEAR(ChiSquareQp(x, 3), 4949.0 / 714.0, 1e-12);
    // Chi-square tails and the threshold of 161 periods at alpha 0.01 (reference values).
    const double corrected = 1.0 - std::pow(0.99, 1.0 / 161.0);
    EXPECT_NEAR(ChiSquareUpperQuantile(corrected, 96), 158.50678108638073, 1e-6);
    EXPECT_NEAR(ChiSquareUpperTail(120.5, 96), 0.0460938753489525, 1e-10);
    EXPECT_NEAR(ChiSquareUpperTail(6.93137, 3), 0.07411771359634121, 1e-8);
}

TEST(Periodograms, LombScargleMatchesTheReferenceLibrary)
{
    // 72 h of 15-minute samples; powers ("standard" normalisation, centred
    // data, no fitted mean) and Baluev false-alarm probabilities for
    // frequencies up to 1/16 h, computed once by a reference library.
    std::vector<double> y;
    for (int i = 0; i < 288; ++i) {
        const double t = 0.25 * i;
        y.push_back(5 + 3 * std::sin(2 * std::numbers::pi * t / 24) + 0.5 * std::cos(2 * std::numbers::pi * t / 7.3) +
                    ((i * 37) % 11) / 10.0);
    }
    struct Ref {
        double period, power, fap;
    };
    const std::vector<Ref> refs{{16.0, 0.02574060558409955, 0.21510746793156726},
                                {24.0, 0.9529029851075028, 1.980835653460116e-187},
                                {28.0, 0.571590960286763, 2.2374880106091756e-51},
                                {32.0, 0.1233617830771514, 1.5386788807482912e-07}};
    std::vector<double> periods;
    for (const Ref& r : refs)
        periods.push_back(r.period);
    const PeriodogramEngine engine(periods, 0.01, 288);
    const SubjectPeriodograms sp = engine.Analyse(QStringLiteral("A1"), y);
    for (size_t i = 0; i < refs.size(); ++i) {
        EXPECT_NEAR(sp.Lomb.Power[i], refs[i].power, 1e-9) << refs[i].period;
        EXPECT_NEAR(BaluevFalseAlarm(refs[i].power, 288, 0.25, 1.0 / 16.0), refs[i].fap, 1e-6 * refs[i].fap + 1e-12)
            << refs[i].period;
    }
    EXPECT_NEAR(sp.Lomb.Threshold[0], 0.04930482, 1e-7);
}

TEST(RestBouts, BoutsEndAtMissingMinutesAndRunToTheSeriesEdges)
{
    // Minutes: 0 0 5 0 0 0 _ 0 3 0 0 (_ missing), no light schedule.
    MinuteSeries s = Series(1, 11);
    const std::vector<qint32> v{0, 0, 5, 0, 0, 0, 0, 0, 3, 0, 0};
    std::copy(v.begin(), v.end(), s.Well(0).begin());
    s.Present[6] = 0;
    struct Case {
        int r;
        std::vector<std::pair<qint64, qint64>> bouts; // start, minutes
        qint64 rest;
    };
    for (const Case& c : {Case{1, {{0, 2}, {3, 3}, {7, 1}, {9, 2}}, 8}, Case{2, {{0, 2}, {3, 3}, {9, 2}}, 7},
                          Case{3, {{3, 3}}, 3}}) {
        const std::vector<WellRest> rest = ComputeRest(s, c.r);
        std::vector<std::pair<qint64, qint64>> got;
        for (const RestBout& b : rest[0].Bouts)
            got.push_back({b.StartMinute, b.Minutes});
        EXPECT_EQ(got, c.bouts) << "R = " << c.r;
        ASSERT_EQ(rest[0].Phases.size(), 1u);
        EXPECT_EQ(rest[0].Phases[0].RestMinutes, c.rest);
        EXPECT_EQ(rest[0].Phases[0].Bouts, int(c.bouts.size()));
        EXPECT_EQ(rest[0].Phases[0].LatencyMinutes, c.bouts.front().first);
    }

    // With lights on 9 to 21 and the start at 20:00 (ZT 11): the light phase of
    // day 1 holds minutes 0..59, the dark phase starts at minute 60.
    MinuteSeries d = Series(1, 180, 11 * 60);
    d.Light = {true, 9, 21};
    d.StartClockMinute = 20 * 60;
    std::fill(d.Well(0).begin(), d.Well(0).end(), 1);
    for (int m : {30, 31, 100, 101, 102})
        d.Well(0)[size_t(m)] = 0;
    const std::vector<WellRest> rest = ComputeRest(d, 1);
    ASSERT_EQ(rest[0].Phases.size(), 2u);
    EXPECT_EQ(rest[0].Phases[0].Phase, LightPhase::Light);
    EXPECT_EQ(rest[0].Phases[0].LatencyMinutes, 30); // from the start of the recording
    EXPECT_EQ(rest[0].Phases[1].Phase, LightPhase::Dark);
    EXPECT_EQ(rest[0].Phases[1].StartMinute, 60);
    EXPECT_EQ(rest[0].Phases[1].LatencyMinutes, 40);
    EXPECT_EQ(rest[0].Phases[1].RestMinutes, 3);
    EXPECT_DOUBLE_EQ(rest[0].Phases[1].MeanBoutMinutes(), 3.0);
}

TEST(WellStatus, InactiveFromTheStillDayNoisyAtTheCapAndWellsWithoutBeams)
{
    // Three days: A1 moves every minute, A2 stops at minute 1440 + 600, A3
    // counts at the cap, A4 has no beam, A5 has a disabled beam.
    MinuteSeries s = Series(5, 3 * 1440);
    std::fill(s.Values.begin(), s.Values.end(), 2);
    std::fill(s.Well(1).begin() + 2040, s.Well(1).end(), 0);
    s.WellInfo[2].CapRecords = s.Records / 2;
    s.WellInfo[3].HasBeam = false;
    s.WellInfo[4].BeamUnusable = true;
    AnalyticsOptions o;
    o.ExcludeInactive = true;
    const AnalyticsResult r = RunAnalytics(s, o);
    const std::vector<WellState> states{WellState::Ok, WellState::Inactive, WellState::Noisy, WellState::NoBeam,
                                        WellState::Noisy};
    for (size_t w = 0; w < states.size(); ++w)
        EXPECT_EQ(r.Status[w].State, states[w]) << w;
    EXPECT_EQ(r.Status[1].SinceMinute, 2040);
    // Excluded wells are listed; the group keeps A1 alone.
    ASSERT_EQ(r.Excluded.size(), 3u);
    EXPECT_EQ(r.Excluded[0].Well, 1);
    EXPECT_EQ(r.GroupWells[0], std::vector<int>{0});
}

TEST(ActivityCurves, GroupStatisticsPerBinAlignedToZt0)
{
    // The start is at ZT 0:10, so the first 30-minute bin starts 10 minutes
    // before it and holds 20 minutes. Wells count 1, 2 and 6 per minute.
    MinuteSeries s = Series(3, 80, 10);
    for (int w = 0; w < 3; ++w)
        std::fill(s.Well(w).begin(), s.Well(w).end(), std::array{1, 2, 6}[size_t(w)]);
    const ActivityCurves c = ComputeCurves(s, 30, {{0, 1, 2}});
    ASSERT_EQ(c.Bins(), 3u);
    EXPECT_EQ(c.StartMinute, (std::vector<qint64>{-10, 20, 50}));
    EXPECT_EQ(c.Well(2, 0), 120);
    EXPECT_EQ(c.Well(2, 2), 180);
    const GroupBinStats& st = c.GroupAt(0, 1);
    EXPECT_EQ(st.N, 3);
    EXPECT_DOUBLE_EQ(st.Mean, 90.0);
    EXPECT_NEAR(st.SD, std::sqrt((60.0 * 60 + 30 * 30 + 90 * 90) / 2), 1e-9);
    EXPECT_NEAR(st.SEM, st.SD / std::sqrt(3.0), 1e-12);
}
