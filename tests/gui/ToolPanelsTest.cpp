#include "support/ProgramRig.h"
#include "support/RecordingSender.h"
#include "support/WidgetInput.h"

#include <QCheckBox>
#include <QFrame>
#include <QPushButton>

#include <gtest/gtest.h>

#include <vector>

using namespace bandora;
using namespace bandora::test;

namespace {

QColor Fill(const QFrame* lamp) { return lamp->palette().color(QPalette::Window); }

} // namespace

TEST(ToolPanels, CaptionsAndLampsFollowWhatIsSent)
{
    ProgramRig h;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    RecordingSender sender;
    FrmMain& w = *h.main;
    w.SetOutputSender(sender);

    // Which caption and colour each state has is the outputs' table
    // (LightTemperatureControl.OutputStateAndTheLookOfThePanels); here the
    // buttons send and the panel shows it.
    Child<QPushButton>(w, "cmd_luz")->click();
    Child<QPushButton>(w, "cmd_frio")->click();
    Child<QPushButton>(w, "cmd_ontemp")->click();
    EXPECT_EQ(Child<QPushButton>(w, "cmd_ontemp")->text(), QStringLiteral("ON"));
    EXPECT_EQ(Fill(Child<QFrame>(w, "shape_temp")), QColor(255, 0, 0));
    EXPECT_EQ(sender.sent, (std::vector<quint8>{4, 6, 7}));

    // During a run only the light's lamp answers at once; the captions follow
    // when the cycle sends the change.
    h.state->AcquisitionState = 1;
    sender.sent.clear();
    Child<QPushButton>(w, "cmd_luz")->click();
    EXPECT_TRUE(sender.sent.empty());
    EXPECT_EQ(Fill(Child<QFrame>(w, "shape_light")), QColor(255, 0, 0));
    EXPECT_EQ(Child<QPushButton>(w, "cmd_luz")->text(), QStringLiteral("ON"));
    w.Tools().PulseTrainAndPending(1.0);
    EXPECT_EQ(sender.sent, std::vector<quint8>{3});
    EXPECT_EQ(Child<QPushButton>(w, "cmd_luz")->text(), QStringLiteral("OFF"));
}

// The rules of each box are the tool entries' own (tested there); here the
// boxes use them and pass what they keep on to the project and the tools.
TEST(ToolPanels, BoxesShowTheirMessageAndResetOrStore)
{
    ProgramRig h;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    h.op.clear();
    FrmMain& w = *h.main;

    Type(Child<QLineEdit>(w, "txt_lon"), QStringLiteral("24"));
    EXPECT_EQ(h.op.texts(), QStringList{QStringLiteral("Invalid value: 0 to 23")});
    EXPECT_EQ(Child<QLineEdit>(w, "txt_lon")->text(), QStringLiteral("9"));

    // A pulse train takes the place of the hours; a count reset to 0 gives
    // them back.
    Type(Child<QLineEdit>(w, "txt_pulsetimes"), QStringLiteral("3"));
    EXPECT_FALSE(Child<QLineEdit>(w, "txt_lon")->isEnabled());
    Type(Child<QLineEdit>(w, "txt_pulsetimes"), QStringLiteral("100"));
    EXPECT_TRUE(Child<QLineEdit>(w, "txt_loff")->isEnabled());

    Type(Child<QLineEdit>(w, "txttemp"), QStringLiteral("25"));
    Child<QPushButton>(w, "Cmd_settemp")->click();
    EXPECT_DOUBLE_EQ(w.Tools().TemperatureSetpoint, 25.0);
    Child<QCheckBox>(w, "Chk_tenabled")->setChecked(true);
    EXPECT_TRUE(w.Tools().TemperatureControl);
}
