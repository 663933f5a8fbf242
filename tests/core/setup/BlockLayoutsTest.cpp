#include "core/setup/BlockLayouts.h"

#include "core/setup/GroupRules.h"
#include "core/storage/PlateFiles.h"
#include "core/storage/ProjectSetup.h"

#include <gtest/gtest.h>

using namespace bandora;

TEST(BlockLayouts, ListsTheBlockShapesThatTileThePlate)
{
    const PlateFormat w96 = BuiltInPlate(QStringLiteral("w96f"));
    const QStringList items = BlockLayoutItems(w96);
    // Columns 1, 2, 3, 4, 6, 12 times rows 1, 2, 4, 8.
    ASSERT_EQ(items.size(), 24);
    EXPECT_EQ(items[0], QStringLiteral("01x01 [RowsxColumn]"));
    EXPECT_EQ(items[2], QStringLiteral("04x01 [RowsxColumn]"));
    EXPECT_EQ(items[9], QStringLiteral("02x03 [RowsxColumn]"));
    EXPECT_EQ(items.last(), QStringLiteral("08x12 [RowsxColumn]"));
    EXPECT_EQ(BlockLayoutItems(BuiltInPlate(QStringLiteral("w384"))).size(), 7 * 5);
    EXPECT_EQ(DefaultBlockLayout(24), 2);
    EXPECT_EQ(DefaultBlockLayout(2), 0);
    EXPECT_EQ(DefaultBlockLayout(1), 0);
}

TEST(BlockLayouts, GoWithTwoByThreeMakesSixteenGroupsOfSixWells)
{
    const PlateFormat w96 = BuiltInPlate(QStringLiteral("w96f"));
    ProjectSetup p;
    ASSERT_TRUE(ApplyBlockLayout(p, w96, QStringLiteral("02x03 [RowsxColumn]")));
    for (int g = 0; g < 16; ++g) {
        EXPECT_EQ(ListedChannels(p, w96, g).size(), 12) << g; // six wells of two beams
        EXPECT_EQ(p.GroupName[g], QStringLiteral("Group%1").arg(g));
    }
    EXPECT_EQ(p.GroupName[16], QStringLiteral("Free"));
    EXPECT_TRUE(ListedChannels(p, w96, -1).isEmpty());
    // Group 0 is A1 to B3, group 1 C1 to D3 (wells are numbered down the
    // columns); group 4 starts the next band of columns.
    for (const auto& [well, group] : {std::pair{0, 0}, {1, 0}, {2 * 8 + 1, 0}, {2, 1}, {2 * 8 + 3, 1}, {4, 2}})
        EXPECT_EQ(p.ChannelGroup[w96.WellBeamChannel(well, 1)], group) << well;
    EXPECT_EQ(p.ChannelGroup[w96.WellBeamChannel(3 * 8, 0)], 4);
}

TEST(BlockLayouts, WellsWithOnlyDisabledBeamsDoNotShiftTheBlocks)
{
    const PlateFormat w384 = BuiltInPlate(QStringLiteral("w384"));
    ProjectSetup p;
    p.ChannelEnabled[0] = false; // A1
    ASSERT_TRUE(ApplyBlockLayout(p, w384, QStringLiteral("02x02 [RowsxColumn]")));
    for (const auto& [ch, group] : {std::pair{0, -1}, {1, 0}, {16, 0}, {17, 0}, {2, 1}, {383, 95}})
        EXPECT_EQ(p.ChannelGroup[ch], group) << ch;

    ProjectSetup untouched;
    EXPECT_FALSE(ApplyBlockLayout(untouched, w384, QStringLiteral("xx")));
    EXPECT_EQ(untouched.ChannelGroup[0], 0);
}
