#include "SetupFixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

using namespace bandora;
using namespace bandora::test;

TEST_F(SetupWindowTest, OpensWithTheProjectShown)
{
    state.project.setup.Menu3 = 1;
    state.project.setup.Menu1 = 0;
    FrmSetup& w = Open();
    EXPECT_EQ(w.txtprj->text(), QStringLiteral("3_larvae"));
    EXPECT_EQ(w.Txtfolder->text(), QDir::toNativeSeparators(state.project.folder));
    EXPECT_EQ(w.Combowell->currentText(), QStringLiteral("w96f"));

    // Calibration control is always on; the other tools follow the project.
    EXPECT_EQ(state.project.setup.Menu1, 1);
    EXPECT_TRUE(host.toolFrames[1]);
    EXPECT_TRUE(w.chktemp->isChecked());
    EXPECT_FALSE(w.chklight->isChecked());
    EXPECT_EQ(op.shown.size(), 0);
}

TEST_F(SetupWindowTest, TheWindowBoxFollowsAShorterBuffer)
{
    FrmSetup& w = Open();
    Type(w.Txtbuffer, QStringLiteral("1000"));
    Type(w.Txt_dspinterval, QStringLiteral("5000"));
    Type(w.Txtbuffer, QStringLiteral("300"));
    EXPECT_EQ(state.project.setup.DSP_Interval, 299); // the window still fits the shorter buffer
    EXPECT_EQ(w.Txt_dspinterval->text(), QStringLiteral("299"));

    Choose(w.Combo_aqmode, QStringLiteral("3_Fast(32.63)"));
    EXPECT_EQ(state.project.setup.Aq_mode, 3);
}

TEST_F(SetupWindowTest, LoadRunsThroughTheWindow)
{
    FrmSetup& w = Open();
    // Project 12 on a 384-well plate, loaded by a double-click on its entry.
    ProjectSetup twelve;
    twelve.Num_proj = 12;
    twelve.Name = QStringLiteral("zebrafish");
    twelve.Plate_format = QStringLiteral("w384");
    QDir().mkpath(QDir(app).filePath(QStringLiteral("p00012")));
    SaveProject(twelve, QDir(app).filePath(QStringLiteral("p00012")));

    op.answers << Answer::No << Answer::No;
    w.cmdLoad->click();
    const int twelveRow = w.List_project->count() - 1; // the projects in their order
    w.List_project->setCurrentRow(twelveRow);
    Q_EMIT w.List_project->itemDoubleClicked(w.List_project->item(twelveRow));
    EXPECT_EQ(w.txtprj->text(), QStringLiteral("12_zebrafish"));
    EXPECT_EQ(w.Combowell->currentText(), QStringLiteral("w384"));
    EXPECT_FALSE(w.frm_project->isVisible());
}

TEST_F(SetupWindowTest, ApplyChangesThePlateOrKeepsItWithItsGroups)
{
    FrmSetup& w = Open();
    w.Cmdconfig->click();
    state.project.setup.ChannelGroup[0] = 4;

    Choose(w.Combowell, QStringLiteral("w384"));
    op.answers << Answer::No;
    w.cmdlod->click();
    EXPECT_EQ(w.Combowell->currentText(), QStringLiteral("w96f"));
    EXPECT_EQ(state.project.plate.Rows, 8);

    op.clear();
    Choose(w.Combowell, QStringLiteral("w384"));
    op.answers << Answer::Yes;
    w.cmdlod->click();
    // What the new plate does to the groups is ApplyPlate's (PlateFiles tests).
    EXPECT_EQ(state.project.setup.Plate_format, QStringLiteral("w384"));
    EXPECT_TRUE(w.Framegrup->isVisible()); // the window is loaded again
    EXPECT_EQ(Items(w.Framegrup->combogrup), QStringList{QStringLiteral("000_Free")});
}
