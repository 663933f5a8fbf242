#include "core/analysis/ChannelAnalyzer.h"
#include "core/offline/PageAnalysis.h"
#include "support/RecordedExperiment.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(PageAnalysis, ThresholdBoxKeepsItsRange)
{
    EXPECT_EQ(ThresholdOfBox(QStringLiteral("abc")).Value, 1.8);
    EXPECT_FALSE(ThresholdOfBox(QStringLiteral("6.0")).Replaced);
    EXPECT_EQ(ThresholdOfBox(QStringLiteral("6.0")).Value, 6.0);
    EXPECT_EQ(ThresholdOfBox(QStringLiteral("1.1")).Value, 1.1);
    EXPECT_TRUE(ThresholdOfBox(QStringLiteral("6.01")).Replaced);
    EXPECT_TRUE(ThresholdOfBox(QStringLiteral("")).Replaced);
    EXPECT_TRUE(ThresholdOfBox(QStringLiteral("abc")).Replaced);
}

TEST(PageAnalysis, EachSlotIsAnalysedWithTheTimeOfItsOwnRecord)
{
    QTemporaryDir dir;
    RecordCycles(dir.path(), 70); // page 2 holds records 55..69
    RealTimeStore store;
    LoadRealTimePage(store, dir.path(), 2, 500);
    // A steady beam 1 with two interruptions in one slot of file 6 (slots 11..21).
    auto slot = store.Slot(40, 12);
    for (int s = 0; s < kSlotColumns; ++s)
        slot[s] = qint16(s % 2 ? 1990 : 2000);
    for (int s = 0; s < 10; ++s)
        slot[100 + s] = slot[300 + s] = 200;
    const RealTimeStore before = store;

    const QVector<WellBeam> beams{{0, 24}, {1, 40}};
    ChannelAnalyzer analyzer;
    const PageAnalysisResult r = AnalyzePage(store, dir.path(), 2, beams, 1.8, 1, analyzer);
    EXPECT_EQ(r.SlotMinutes[0], 55);
    EXPECT_EQ(r.SlotMinutes[14], 69);
    EXPECT_EQ(r.SlotMinutes[15], -1); // no record 70
    ASSERT_EQ(r.Beams.size(), 2);

    // The same counts and level as the routine gives on a copy of the slot.
    ChannelAnalyzer reference;
    std::array<qint16, kSlotColumns> copy{};
    const auto values = store.Slot(40, 12);
    std::copy(values.begin(), values.end(), copy.begin());
    const int count = reference.AnalyzeChannel(std::span<qint16>(copy), 1.8, 1);
    EXPECT_EQ(r.Beams[1].SlotCounts[12], count);
    EXPECT_TRUE(std::equal(r.Beams[1].Level[12].begin(), r.Beams[1].Level[12].end(), reference.AnalysisLevel.begin()));
    EXPECT_GE(count, 1);

    for (const BeamAnalysis& b : r.Beams) {
        int sum = 0;
        for (int s = kSlotsPerFile; s < 2 * kSlotsPerFile; ++s)
            sum += b.SlotCounts[s];
        EXPECT_EQ(b.FileTotals[1], sum);
    }
    // The signals on show are not cut by the spike removal of the analysis.
    for (int ch : {24, 40})
        for (int s = 0; s < kSlotsPerPage; ++s)
            ASSERT_TRUE(std::equal(store.Slot(ch, s).begin(), store.Slot(ch, s).end(), before.Slot(ch, s).begin()));
}
