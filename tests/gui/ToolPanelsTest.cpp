#include "support/ProgramRig.h"
#include "support/RecordingSender.h"
#include "support/WidgetInput.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <vector>

using namespace bandora;
using namespace bandora::test;

TEST(ToolPanels, ButtonsSendAtOnceOrWithTheCycleDuringARun)
{
    ProgramRig h;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    RecordingSender sender;
    FrmMain& w = *h.main;
    w.SetOutputSender(sender);

    // Which caption and colour each state has is the outputs' table
    // (LightTemperatureControl.OutputStateAndTheLookOfThePanels); here the
    // buttons send.
    h.Find<QPushButton>("cmd_luz")->click();
    h.Find<QPushButton>("cmd_frio")->click();
    h.Find<QPushButton>("cmd_ontemp")->click();
    EXPECT_EQ(sender.sent, (std::vector<quint8>{4, 6, 7}));

    // During a run the change waits for the cycle to send it.
    h.state->run.State = AcquisitionState::Running;
    sender.sent.clear();
    h.Find<QPushButton>("cmd_luz")->click();
    EXPECT_TRUE(sender.sent.empty());
    w.Tools().PulseTrainAndPending(1.0);
    EXPECT_EQ(sender.sent, std::vector<quint8>{3});
}

// The rules of each box are the tool entries' own (tested there); here the
// boxes use them and pass what they keep on to the project and the tools.
TEST(ToolPanels, BoxesShowTheirMessageAndResetOrStore)
{
    ProgramRig h;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    h.op.clear();
    FrmMain& w = *h.main;

    QLineEdit* lightOn = h.Find<QLineEdit>("txt_lon");
    Type(lightOn, QStringLiteral("24"));
    EXPECT_EQ(h.op.texts(), QStringList{QStringLiteral("Invalid value: 0 to 23")});
    EXPECT_EQ(lightOn->text(), QStringLiteral("9"));

    Type(h.Find<QLineEdit>("txttemp"), QStringLiteral("25"));
    h.Find<QPushButton>("Cmd_settemp")->click();
    EXPECT_DOUBLE_EQ(w.Tools().TemperatureSetpoint, 25.0);
    h.Find<QCheckBox>("Chk_tenabled")->setChecked(true);
    EXPECT_TRUE(w.Tools().TemperatureControl);
}
