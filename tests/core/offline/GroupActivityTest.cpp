#include "core/offline/GroupActivity.h"
#include "support/RecordedExperiment.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

// Appends one record in which every channel of the listed wells (of a w96f
// plate: beam 0 = 16 x 2c + r, beam 1 sixteen channels on) has its count.
void Record(const QString& folder, qint32 minutes, std::initializer_list<std::tuple<int, qint16, qint16>> wells)
{
    std::array<qint16, kChannelTable> counts{};
    for (const auto& [well, beam0, beam1] : wells) {
        const int ch = 32 * (well / 8) + 2 * (well % 8);
        counts[ch] = beam0;
        counts[ch + 16] = beam1;
    }
    ExperimentRecorder recorder;
    recorder.Start(folder);
    ASSERT_TRUE(recorder.AppendCountsRecord(minutes, counts));
}

} // namespace

TEST(GroupActivity, WellAndGroupAreBinnedInHalfHours)
{
    QTemporaryDir dir;
    CopyShippedPlates(dir.path());
    OfflineExperiment e;
    e.Project.Plate_format = QStringLiteral("w96f");
    ASSERT_FALSE(LoadPlateNoFallback(QStringLiteral("w96f"), e.Plate, dir.path()));
    e.Project.ChannelGroup.fill(-1);
    for (int ch : {0, 16, 2, 18, 4}) // A1 and B1 whole; C1 by its beam 0
        e.Project.ChannelGroup[ch] = 3;
    e.Project.ChannelGroup[22] = 3; // D1 beam 1 only: D1 is not in the group

    const QString folder = dir.path();
    // A1 beams 1 and 2 give 1.5 -> 2; B1 2 and 3 give 2.5 -> 2 (halves to even).
    Record(folder, 0, {{0, 1, 2}, {1, 2, 3}, {2, 6, 6}, {3, 100, 100}});
    Record(folder, 30, {{0, 4, 4}});
    Record(folder, 31, {{0, 1, 0}});
    Record(folder, 95, {{0, 10, 10}, {1, 10, 10}, {2, 10, 10}});

    const auto a = ComputeGroupActivity(folder, e, 16); // beam 1 of A1 names well A1
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(a->GroupWells, 3);
    ASSERT_EQ(a->Well.size(), 5); // 95 / 30 = 3.17 -> 3, and 2 more
    // Bin 1: times 0 and 30; bin 2: 31; bin 4: 95.
    EXPECT_EQ(a->Well, (QVector<qint64>{0, 2 + 4, 0, 0, 10}));
    // Group mean per record: (2 + 2 + 6) / 3 = 3.33 -> 3; (4) / 3 -> 1; 0 / 3 -> 0 (1 of 3 rounds to 0); 10.
    EXPECT_EQ(a->Group, (QVector<qint64>{0, 3 + 1, 0, 0, 10}));
    EXPECT_EQ(a->BinRecords, (QVector<int>{0, 2, 1, 0, 1}));
    EXPECT_EQ(a->WellTotal, 2 + 4 + 0 + 10);

    // The free channels form a group of their own: D1 (beam 0 free) and the rest.
    const auto free = ComputeGroupActivity(folder, e, 6);
    ASSERT_TRUE(free.has_value());
    EXPECT_EQ(free->GroupWells, 93);
    EXPECT_EQ(free->Well[1], 100);

    EXPECT_FALSE(ComputeGroupActivity(QDir(folder).filePath(QStringLiteral("none")), e, 0).has_value());
}

TEST(GroupActivity, OnePlateBeamPerWellTakesTheBeamCount)
{
    QTemporaryDir dir;
    CopyShippedPlates(dir.path());
    OfflineExperiment e;
    ASSERT_FALSE(LoadPlateNoFallback(QStringLiteral("w384"), e.Plate, dir.path()));
    e.Project.ChannelGroup.fill(0);
    RecordCycles(dir.path(), 61, false); // minutes 0..60, channel ch counts (ch + r) % 5
    const auto a = ComputeGroupActivity(dir.path(), e, 7);
    ASSERT_TRUE(a.has_value());
    qint64 expected = 0;
    for (int r = 0; r <= 30; ++r)
        expected += PatternCount(7, r);
    EXPECT_EQ(a->Well[1], expected);
    EXPECT_EQ(a->GroupWells, 384);
}
