#include "support/ProgramRig.h"
#include "support/Plates.h"
#include "support/WidgetInput.h"

#include "gui/LivePlots.h"

#include <QLabel>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(ChannelChoice, GroupListItemsLeadBackToTheirPlace)
{
    ProgramRig h;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    h.state->project.plate = FourBeamPlate();
    ProjectSetup& p = h.state->project.setup;
    p.ChannelGroup.fill(-1);
    p.ChannelEnabled.fill(true);
    p.GroupName[2] = QStringLiteral("control");
    p.GroupName[5] = QStringLiteral("drug");
    for (int ch : {358, 357, 9})
        p.ChannelGroup[ch] = 5;
    p.ChannelGroup[100] = 2;
    FrmMain& w = *h.main;
    w.FillSelectors();
    // Which items the lists hold is the channel selection's rule (tested there).
    Choose(Child<QComboBox>(w, "combogrup"), QStringLiteral("005_drug"));
    ASSERT_EQ(Child<QListWidget>(w, "lstgrup")->count(), 3);
    Q_EMIT Child<QListWidget>(w, "lstgrup")->itemDoubleClicked(Child<QListWidget>(w, "lstgrup")->item(2));
    EXPECT_EQ(Child<QLabel>(w, "lblcanal")->text(), QStringLiteral("358"));
    EXPECT_EQ(w.Plots().View().groupLabel, QStringLiteral("005_drug"));

    // The choice of a channel survives a window activation while the plate
    // stays the same, and the lists start over when the setup window changed
    // the groups.
    w.Activate();
    EXPECT_EQ(Child<QLabel>(w, "lblcanal")->text(), QStringLiteral("358"));
    p.ChannelGroup[100] = -1;
    w.Activate();
    EXPECT_EQ(Items(Child<QComboBox>(w, "combogrup")), QStringList{QStringLiteral("005_drug")});
    EXPECT_EQ(Child<QComboBox>(w, "Combofila")->currentText(), QStringLiteral("A"));
}
