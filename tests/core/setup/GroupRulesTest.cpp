#include "core/setup/GroupRules.h"

#include "core/storage/PlateFiles.h"
#include "core/storage/ProjectSetup.h"

#include <gtest/gtest.h>

using namespace bandora;

namespace {

ProjectSetup NoGroups()
{
    ProjectSetup p;
    ClearGroups(p);
    return p;
}

QStringList Items(const ProjectSetup& p, const PlateFormat& plate, int group)
{
    QStringList items;
    for (int ch : ListedChannels(p, plate, group))
        items << WellItemText(plate, ch);
    return items;
}

} // namespace

TEST(GroupRules, GroupListShowsGroupsUpToTheHighestUsedPlusOne)
{
    ProjectSetup p = NoGroups();
    GroupList list = FillGroupList(p, 0);
    EXPECT_EQ(list.items, QStringList{QStringLiteral("000_Free")});
    EXPECT_EQ(list.selected, 0);

    p.ChannelGroup[10] = 2;
    p.ChannelGroup[40] = 0;
    p.GroupName[0] = QStringLiteral("Wild type");
    list = FillGroupList(p, 2);
    EXPECT_EQ(list.items, (QStringList{QStringLiteral("000_Wild type"), QStringLiteral("001_Free"),
                                       QStringLiteral("002_Group2"), QStringLiteral("003_Free")}));
    EXPECT_EQ(list.selected, 2);
    EXPECT_EQ(p.GroupName[2], QStringLiteral("Group2"));
    EXPECT_EQ(p.GroupName[1], QStringLiteral("Free")); // empty slots keep "Free"
    EXPECT_EQ(FillGroupList(p, 9).selected, 0);        // not listed: the first item
    EXPECT_EQ(GroupOfItem(QStringLiteral("012_Larvae")), 12);
    EXPECT_EQ(GroupOfItem(QStringLiteral("000_")), 0);

    // Group numbers beyond the channel count come only from damaged files.
    p.ChannelGroup[50] = 999;
    EXPECT_EQ(FillGroupList(p, 0).items.size(), 4);
    p.ChannelGroup[60] = 383;
    EXPECT_EQ(FillGroupList(p, 0).items.size(), 384);
}

TEST(GroupRules, WellItemsNameRowColumnAndBeam)
{
    const PlateFormat w96f = BuiltInPlate(QStringLiteral("w96f"));
    EXPECT_EQ(WellItemText(w96f, 0), QStringLiteral("A1.0"));
    EXPECT_EQ(WellItemText(w96f, 16), QStringLiteral("A1.1"));
    EXPECT_EQ(WellOfItem(w96f, QStringLiteral("C12.1")), 2 + 8 * 11);
    EXPECT_FALSE(WellOfItem(w96f, QStringLiteral("I1.0")));  // no row I on a 96-well plate
    EXPECT_FALSE(WellOfItem(w96f, QStringLiteral("A13.0")));
    const PlateFormat w384 = BuiltInPlate(QStringLiteral("w384"));
    EXPECT_EQ(WellItemText(w384, 383), QStringLiteral("P24.0"));
    EXPECT_EQ(WellOfItem(w384, QStringLiteral("P24.0")), 383);
}

TEST(GroupRules, ListActionsMoveEveryBeamOfAWell)
{
    const PlateFormat w96f = BuiltInPlate(QStringLiteral("w96f"));
    ProjectSetup p = NoGroups();
    p.ChannelEnabled[48] = false; // A2.1 is disabled
    QStringList free = Items(p, w96f, -1);
    EXPECT_EQ(free.size(), 191);
    EXPECT_FALSE(free.contains(QStringLiteral("A2.1")));
    EXPECT_EQ(free.mid(0, 3), (QStringList{QStringLiteral("A1.0"), QStringLiteral("B1.0"), QStringLiteral("C1.0")}));

    // The disabled beam of a well moves with it but is never listed.
    ASSERT_TRUE(MoveWellOfItem(p, w96f, QStringLiteral("A2.0"), 5));
    EXPECT_EQ(p.ChannelGroup[48], 5);
    EXPECT_EQ(Items(p, w96f, 5), QStringList{QStringLiteral("A2.0")});
    EXPECT_FALSE(MoveWellOfItem(p, w96f, QStringLiteral("Z9.0"), 5));

    // A well with fewer beams than the plate's most: the empty (well, beam)
    // cells must not drag channel 0 into the group.
    PlateFormat mixed = w96f;
    mixed.ChannelWell[32 + 2 + 16] = -1; // B2 loses its second beam
    mixed.RebuildWellBeamChannel();
    ProjectSetup q = NoGroups();
    ASSERT_TRUE(MoveWellOfItem(q, mixed, QStringLiteral("B2.0"), 3));
    EXPECT_EQ(q.ChannelGroup[0], -1);
    EXPECT_EQ(ListedChannels(q, mixed, 3), QVector<int>{2 + 32});
}
