#include "core/analysis/ChannelAnalyzer.h"

#include <gtest/gtest.h>

#include <vector>

using namespace bandora;

namespace {

std::vector<qint16> Beam(qint16 value, int length = 501)
{
    return std::vector<qint16>(size_t(length), value);
}

// A beam at 1000 whose baseline is 0 throughout: pairs of zeros every 45
// samples put a 0 in every 50-sample window, and being pairs they are no
// strict minima, so the envelopes stay flat (amplitude limit 5). What is left
// after the baseline is the beam itself, smoothed over 10 samples.
std::vector<qint16> BaselineBeam()
{
    auto s = Beam(1000);
    for (int m = 5; m < 500; m += 45)
        s[m] = s[m + 1] = 0;
    return s;
}

// A dip from 1000 at sample p: `ramp` steps of `step` down, a flat bottom,
// and back up; 21 samples or fewer, between the zero pairs at 185 and 230.
void AddDip(std::vector<qint16>& s, int p, int step, int ramp, int bottom)
{
    std::vector<qint16> dip;
    for (int j = 0; j < ramp; ++j)
        dip.push_back(qint16(1000 - step * (j + 1)));
    for (int j = 0; j < bottom; ++j)
        dip.push_back(dip.back());
    for (int j = ramp - 2; j >= 0; --j)
        dip.push_back(qint16(1000 - step * (j + 1)));
    std::copy(dip.begin(), dip.end(), s.begin() + p);
}

} // namespace

TEST(ChannelAnalyzer, FlatBeamsLearnTheirThresholdFromTheMeans)
{
    ChannelAnalyzer analyzer;

    // Constant 1000: no local extremes, so D = 0 and M = 1000, t = 0 and the
    // threshold is 1 %. The first four levels are (100 - 1.75) % of 1000 =
    // 982.5, which rounds to the even 982; then (3 x 982 + 990) / 4 = 984,
    // (982 + 982 + 984 + 990) / 4 = 984.5 -> 984, 3940 / 4 = 985, ...
    auto flat = Beam(1000);
    EXPECT_EQ(analyzer.AnalyzeChannel(flat, 1.0, 1), 0);
    const AnalysisDetail& d = analyzer.Detail();
    EXPECT_EQ(d.RawAmplitude, 0);
    EXPECT_EQ(d.RawSignal, 1000);
    EXPECT_DOUBLE_EQ(d.Threshold, 1.0);
    const qint16 expected[] = {982, 982, 982, 982, 984, 984, 985, 986};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(analyzer.AnalysisLevel[i], expected[i]) << "sample " << i;
    EXPECT_EQ(flat, Beam(1000)) << "nothing above the clip level 1010";

    // All zero: M = 0, so t is the factor itself (not x 100): 1.8 + 1.
    auto dark = Beam(0);
    EXPECT_EQ(analyzer.AnalyzeChannel(dark, 1.8, 0), 0);
    EXPECT_DOUBLE_EQ(analyzer.Detail().RawThreshold, 2.8);
    EXPECT_DOUBLE_EQ(analyzer.Detail().Threshold, 2.8);
}

TEST(ChannelAnalyzer, SpikeIsCutInTheCallersTableBeforeTheThresholdIsLearnedAgain)
{
    // Channel 7 of a sample table at 1000 with one spike of 3000 at 250.
    // Raw envelopes: U = 3000 from 250 to 498 (249 samples), Lo = 1000, so
    // D = 498000 / 497 -> 1002 and M = 499000 / 497 -> 1004; threshold
    // (1 - 2/1004) x 100 + 1. The clip level is 1000 x (thr + 100) % = 2008.
    SampleTable table(500);
    for (int s = 0; s < 501; ++s)
        table(7, s) = 1000;
    table(7, 250) = 3000;
    table(8, 250) = 3000;

    ChannelAnalyzer analyzer;
    analyzer.AnalyzeChannel(table, 7, 1.0, 1);
    const AnalysisDetail& d = analyzer.Detail();
    EXPECT_EQ(d.RawAmplitude, 1002);
    EXPECT_EQ(d.RawSignal, 1004);
    EXPECT_NEAR(d.RawThreshold, 100.8008, 1e-4);
    EXPECT_EQ(table(7, 250), 2008);
    EXPECT_EQ(table(7, 249), 1000);
    EXPECT_EQ(table(8, 250), 3000) << "other channels are left alone";

    // Again on the clipped beam: U = 2008 from 250, D = 249 x 1008 / 497
    // -> 505, M = 498008 / 497 -> 1002, threshold 505/1002 x 100 + 1.
    EXPECT_EQ(d.Amplitude, 505);
    EXPECT_EQ(d.Signal, 1002);
    EXPECT_NEAR(d.Threshold, 51.3992, 1e-4);
    EXPECT_EQ(d.AmplitudeLimit, 505);
}

TEST(ChannelAnalyzer, LevelMethodsCountPassagesBelowTheLevel)
{
    // 1000 with drops to 0 at 30-31 (one passage of two samples) and at 100,
    // 105 and 481. U stays 1000; Lo is 0 from the strict minimum at 100, so
    // D = 399000 / 497 -> 803 and M = 492000 / 497 -> 990; with factor 0.2
    // the threshold is 803/990 x 20 + 1 = 17.22 %. First level:
    // (100 - 1.75 x 17.22) % of 1000 = 698.6 -> 699; at 4:
    // (3 x 699 + 827.78) / 4 = 731.2 -> 731; it settles near 828.
    auto beam = Beam(1000);
    for (int p : {30, 31, 100, 105, 481})
        beam[size_t(p)] = 0;

    ChannelAnalyzer analyzer;
    auto m1 = beam;
    EXPECT_EQ(analyzer.AnalyzeChannel(m1, 0.2, 1), 4);
    EXPECT_EQ(analyzer.Detail().Amplitude, 803);
    EXPECT_EQ(analyzer.Detail().Signal, 990);
    EXPECT_NEAR(analyzer.Detail().Threshold, 17.2222, 1e-4);
    EXPECT_EQ(analyzer.AnalysisLevel[0], 699);
    EXPECT_EQ(analyzer.AnalysisLevel[4], 731);

    // Method 0 scores once per window: samples 0..30 (the first window is 31
    // samples long, so 30 is scored in it and 31 in the next), 31..60, then
    // 100 and 105 together in 91..120; 481 comes after the last check at 480.
    auto m0 = beam;
    EXPECT_EQ(analyzer.AnalyzeChannel(m0, 0.2, 0), 3);

    // A shorter buffer cycle is analysed over its own length.
    auto shortBeam = Beam(1000, 300);
    shortBeam[100] = shortBeam[200] = 0;
    EXPECT_EQ(analyzer.AnalyzeChannel(shortBeam, 0.2, 1), 2);
}

TEST(ChannelAnalyzer, BaselineMethodScoresAMoveOnceAtItsTenthStep)
{
    ChannelAnalyzer analyzer;
    analyzer.AnalysisLevel.fill(-1);

    // Steady beam: the smoothed signal is the 10-sample mean less the 0
    // baseline; the level curve is that less the limit 5 (800 - 5 where the
    // mean takes in a zero pair, 995 elsewhere). Entry 0 is not written.
    auto steady = BaselineBeam();
    EXPECT_EQ(analyzer.AnalyzeChannel(steady, 1.0, 2), 0);
    EXPECT_EQ(analyzer.Detail().AmplitudeLimit, 5);
    EXPECT_EQ(analyzer.AnalysisLevel[0], -1);
    EXPECT_EQ(analyzer.AnalysisLevel[1], 795);
    EXPECT_EQ(analyzer.AnalysisLevel[300], 995);

    // Dips of (step, ramp, bottom): ramps of 10 steps of 20 make the smoothed
    // signal fall for 19 samples and rise for 19, each way scoring once. A
    // square dip's 10-sample mean moves for exactly 10 samples each way, i.e.
    // 9 steps after the turn, which never scores. Ramps of 2 steps move the
    // mean 11 samples each way, reaching the tenth step 2 x step below its
    // turning value: a move of 4 is within the limit 5; a move of 6 scores,
    // once each way, not again on each flat sample of the bottom that follows.
    const std::tuple<int, int, int, int> dips[] = {{20, 10, 2, 2}, {200, 1, 11, 0}, {2, 2, 10, 0}, {3, 2, 10, 2}};
    for (const auto& [step, ramp, bottom, count] : dips) {
        auto beam = BaselineBeam();
        AddDip(beam, 197, step, ramp, bottom);
        EXPECT_EQ(analyzer.AnalyzeChannel(beam, 1.0, 2), count) << "steps of " << step << ", ramp " << ramp;
    }
}

TEST(ChannelAnalyzer, WhatItCannotAnalyseCountsNothing)
{
    ChannelAnalyzer analyzer;
    analyzer.AnalysisLevel.fill(-1);

    auto beam = Beam(1000);
    beam[100] = 0;
    EXPECT_EQ(analyzer.AnalyzeChannel(beam, 0.2, 3), 0);
    EXPECT_EQ(analyzer.AnalysisLevel[10], -1) << "an unknown method leaves the level curve";

    auto tooShort = Beam(1000, kMinAnalysisSamples - 1);
    tooShort[50] = 5000;
    EXPECT_EQ(analyzer.AnalyzeChannel(tooShort, 1.0, 1), 0);
    EXPECT_EQ(tooShort[50], 5000);

    // Only the first 500 values of a longer buffer cycle are analysed.
    auto longBeam = Beam(1000, 800);
    longBeam[600] = 5000;
    analyzer.AnalyzeChannel(longBeam, 1.0, 1);
    EXPECT_EQ(longBeam[600], 5000);

    SampleTable table(500);
    EXPECT_EQ(analyzer.AnalyzeChannel(table, 385, 1.0, 1), 0);
    EXPECT_EQ(analyzer.AnalyzeChannel(table, -1, 1.0, 1), 0);
}
