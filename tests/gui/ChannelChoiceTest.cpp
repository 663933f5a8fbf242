#include "support/ProgramRig.h"
#include "support/Plates.h"
#include "support/WidgetInput.h"

#include "core/storage/PlateFiles.h"
#include "gui/LivePlots.h"
#include "gui/OrganismPanel.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

// A started window on the given plate, every channel enabled and free.
void StartOn(ProgramRig& h, const PlateFormat& plate)
{
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    h.state->project.plate = plate;
    h.state->project.setup.ChannelGroup.fill(-1);
    h.state->project.setup.ChannelEnabled.fill(true);
    h.op.clear();
}

} // namespace

TEST(ChannelChoice, GroupListItemsLeadBackToTheirPlace)
{
    ProgramRig h;
    StartOn(h, FourBeamPlate());
    ProjectSetup& p = h.state->project.setup;
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

TEST(ChannelChoice, OrganismAndSignalToNoiseFactor)
{
    ProgramRig h;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    h.op.clear();
    FrmMain& w = *h.main;

    Choose(Child<QComboBox>(w, "Cmb_organism"), QStringLiteral("Customized"));
    EXPECT_EQ(h.state->project.setup.Calibration().Organism(), 2);
    EXPECT_FALSE(Child<QLineEdit>(w, "txt_snr_umbral")->isHidden());

    Type(Child<QLineEdit>(w, "txt_snr_umbral"), QStringLiteral("1.0"));
    EXPECT_EQ(h.op.texts(), QStringList{QStringLiteral("Invalid value: 1.1 to 5.0")});
}
