#include "SetupFixture.h"

#include "core/setup/GroupRules.h"

#include <QPushButton>

using namespace bandora;
using namespace bandora::test;

// The drag and click rules are the picture's own (PlatePicture tests); here
// the window applies them to the project and its lists, disabled beams aside.
TEST_F(SetupWindowTest, PictureClicksAssignWellsButNeverADisabledBeam)
{
    ClearGroups(state.project.setup);
    state.project.setup.ChannelEnabled[132] = false; // C5.0 (well 34) is disabled
    FrmSetup& w = Open();
    GroupsPanel& g = *w.Framegrup;
    Click({4, 2});
    EXPECT_EQ(state.project.setup.ChannelGroup[132], -1);
    EXPECT_EQ(state.project.setup.ChannelGroup[148], 0);
    EXPECT_EQ(Items(g.lstgrup), QStringList{QStringLiteral("C5.1")});
    EXPECT_FALSE(Items(g.lstchgrup).contains(QStringLiteral("C5.0")));
}

// Which beams the list buttons move is the GroupRules tests' (ListActions...).
TEST_F(SetupWindowTest, RenamingAGroupKeepsTheGroupsFileWhole)
{
    ClearGroups(state.project.setup);
    FrmSetup& w = Open();
    GroupsPanel& g = *w.Framegrup;
    // A quote in the name cannot break the groups file.
    g.combogrup->setCurrentRow(0);
    op.replies << QStringLiteral("N2 \"wild\"");
    PressEnter(g.combogrup);
    EXPECT_EQ(g.combogrup->item(0)->text(), QStringLiteral("000_N2 'wild'"));
}

TEST_F(SetupWindowTest, BlockLayoutsAndClearing)
{
    FrmSetup& w = Open();
    GroupsPanel& g = *w.Framegrup;
    g.Combo_sets->setCurrentIndex(g.Combo_sets->findText(QStringLiteral("02x03 [RowsxColumn]")));
    g.cmd_goset->click();
    EXPECT_EQ(g.combogrup->count(), 17);

    op.answers << Answer::No << Answer::Yes;
    g.Cmd_clear->click();
    EXPECT_EQ(g.combogrup->count(), 17);
    g.Cmd_clear->click();
    EXPECT_EQ(op.shown.last().text, QStringLiteral("Do you like to Clear Group lists?"));
    EXPECT_EQ(Items(g.combogrup), QStringList{QStringLiteral("000_Free")});
    EXPECT_EQ(g.lstchgrup->count(), 192);
}
