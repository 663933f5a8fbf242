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

// Which caption and colour each state has is the outputs' table
// (LightTemperatureControl.OutputStateAndTheLookOfThePanels), and the rules
// of each box and of the organism are the tool entries' and the organism
// settings' own (tested there). Here the buttons send, and the boxes of the
// tool and organism panels use the rules and pass what they keep on to the
// project and the tools.
TEST(ToolPanels, ButtonsSendAtOnceOrWithTheCycleAndBoxesKeepWhatTheRulesAllow)
{
    ProgramRig h;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    h.op.clear();
    RecordingSender sender;
    FrmMain& w = *h.main;
    w.SetOutputSender(sender);

    Child<QPushButton>(w, "cmd_luz")->click();
    Child<QPushButton>(w, "cmd_frio")->click();
    Child<QPushButton>(w, "cmd_ontemp")->click();
    EXPECT_EQ(sender.sent, (std::vector<quint8>{4, 6, 7}));

    QLineEdit* lightOn = Child<QLineEdit>(w, "txt_lon");
    Type(lightOn, QStringLiteral("24"));
    EXPECT_EQ(h.op.texts(), QStringList{QStringLiteral("Invalid value: 0 to 23")});
    EXPECT_EQ(lightOn->text(), QStringLiteral("9"));

    Type(Child<QLineEdit>(w, "txttemp"), QStringLiteral("25"));
    Child<QPushButton>(w, "Cmd_settemp")->click();
    EXPECT_DOUBLE_EQ(w.Tools().TemperatureSetpoint, 25.0);
    Child<QCheckBox>(w, "Chk_tenabled")->setChecked(true);
    EXPECT_TRUE(w.Tools().TemperatureControl);

    h.op.clear();
    Choose(Child<QComboBox>(w, "Cmb_organism"), QStringLiteral("Customized"));
    EXPECT_EQ(h.state->project.setup.Calibration().Organism(), 2);
    Type(Child<QLineEdit>(w, "txt_snr_umbral"), QStringLiteral("1.0"));
    EXPECT_EQ(h.op.texts(), QStringList{QStringLiteral("Invalid value: 1.1 to 5.0")});

    // During a run the change waits for the cycle to send it.
    h.state->run.State = AcquisitionState::Running;
    sender.sent.clear();
    Child<QPushButton>(w, "cmd_luz")->click();
    EXPECT_TRUE(sender.sent.empty());
    w.Tools().PulseTrainAndPending(1.0);
    EXPECT_EQ(sender.sent, std::vector<quint8>{3});
}
