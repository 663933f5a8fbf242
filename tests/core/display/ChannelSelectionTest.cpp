#include "core/display/ChannelSelection.h"
#include "core/storage/PlateFiles.h"
#include "support/Plates.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

ProjectSetup AllFree()
{
    ProjectSetup project;
    project.ChannelGroup.fill(-1);
    project.ChannelEnabled.fill(true);
    return project;
}

} // namespace

TEST(ChannelSelection, GroupItemsAreNeverEmptyAndNameTheirNumber)
{
    ProjectSetup project = AllFree();
    project.GroupName[0] = QStringLiteral("blank");
    EXPECT_EQ(GroupItems(project, ComputeGroupUsed(project)), QStringList{QStringLiteral("000_blank")});

    project.GroupName[3] = QStringLiteral("control");
    project.GroupName[12] = QStringLiteral("drug");
    project.ChannelGroup[200] = 12;
    project.ChannelGroup[5] = 3;
    project.ChannelGroup[6] = 3;
    project.ChannelGroup[7] = 999; // a damaged table: no such group
    const GroupUsedTable used = ComputeGroupUsed(project);
    EXPECT_EQ(used[3], 1);
    EXPECT_EQ(GroupItems(project, used), (QStringList{QStringLiteral("003_control"), QStringLiteral("012_drug")}));
}

TEST(ChannelSelection, PlatePlacesAndGroupListItemsRoundTrip)
{
    const PlateFormat w384 = BuiltInPlate(QStringLiteral("w384"));
    EXPECT_EQ(RowItems(w384).last(), QStringLiteral("P"));
    EXPECT_EQ(ColumnItems(w384).last(), QStringLiteral("24"));
    const int well = WellAt(w384, 16, 24);
    EXPECT_EQ(well, 383);
    EXPECT_EQ(WellLabel(383, 16), QStringLiteral("P24"));
    EXPECT_EQ(WellAt(w384, 17, 1), -1);

    const PlateFormat plate = FourBeamPlate();
    EXPECT_EQ(WellAt(plate, 9, 1), -1); // row I on an 8-row plate
    ProjectSetup project = AllFree();
    for (int ch : {358, 357, 9, 10})
        project.ChannelGroup[ch] = 2;
    project.ChannelEnabled[10] = false; // a disabled beam is not offered
    EXPECT_EQ(GroupListItems(project, plate, 2),
              (QStringList{QStringLiteral("C1.1"), QStringLiteral("B12.1"), QStringLiteral("B12.2")}));

    const auto place = ParseChannelItem(QStringLiteral("B12.2"));
    ASSERT_TRUE(place);
    EXPECT_EQ(plate.WellBeamChannel(WellAt(plate, place->row + 1, place->column + 1), place->beam), 358);
    for (const char* bad : {"", "B12", "B.2", "12.2", "B12.", "Bx.2", "B12.-1"})
        EXPECT_FALSE(ParseChannelItem(QString::fromLatin1(bad))) << bad;
}

TEST(ChannelSelection, ActivityBarsOfChannelWellAndGroup)
{
    const PlateFormat plate = FourBeamPlate();
    ProjectSetup project = AllFree();
    project.GroupName[4] = QStringLiteral("treated");
    // Group 4 is wells 0 and 1 (A1, B1), marked through one beam each.
    project.ChannelGroup[0] = 4;
    project.ChannelGroup[5] = 4;
    std::array<qint16, kChannelTable> counts{};
    for (int ch = 0; ch < 8; ++ch)
        counts[ch] = qint16(ch + 1); // A1: 1 2 3 4, B1: 5 6 7 8

    const ChannelView view = ChannelView::Of(5, project, plate);
    EXPECT_EQ(view.wellLabel, QStringLiteral("B1"));
    EXPECT_EQ(view.groupLabel, QStringLiteral("004_treated"));
    ActivityFigures f = FiguresOf(view, counts);
    EXPECT_EQ(f.channel, 6);
    EXPECT_DOUBLE_EQ(f.well, 6.5);
    EXPECT_TRUE(f.hasGroup);
    EXPECT_DOUBLE_EQ(f.group, 4.5);

    // Means are held at 9999; a channel without a group has no group bar.
    counts.fill(20000);
    f = FiguresOf(view, counts);
    EXPECT_EQ(f.channel, 20000);
    EXPECT_DOUBLE_EQ(f.well, 9999);
    EXPECT_DOUBLE_EQ(f.group, 9999);
    const ChannelView free = ChannelView::Of(40, project, plate);
    EXPECT_FALSE(FiguresOf(free, counts).hasGroup);
}
