#include "support/ProgramRig.h"

#include "gui/FrmSetup.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(OpenSetup, TheSetupWindowTakesOverFromTheMainWindowAndHandsBack)
{
    ProgramRig h;
    h.instrument.online = true;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    h.op.clear();
    FrmMain& main = *h.main;
    Child<QLineEdit>(main, "Txt_description")->setText(QStringLiteral("N2 at 20 C"));
    Child<QPushButton>(main, "CmdSetup")->click();
    FrmSetup* setup = main.SetupWindow();
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(setup->isVisible());
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(setup->Txt_description->text(), QStringLiteral("N2 at 20 C"));

    // The tool boxes show and hide the main window's frames at once.
    setup->Cmdtools->click();
    setup->chklight->click();
    EXPECT_FALSE(Child<QGroupBox>(main, "frm_mn2")->isHidden());
    EXPECT_TRUE(Child<QCheckBox>(main, "Chk_lenabled")->isChecked());

    // "Main" hands the description back and keeps the window for next time.
    setup->Txt_description->setText(QStringLiteral("N2 at 25 C, \"fed\""));
    setup->Command21->click();
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(setup->isVisible());
    EXPECT_EQ(Child<QLineEdit>(main, "Txt_description")->text(), QStringLiteral("N2 at 25 C, 'fed'"));
    Child<QPushButton>(main, "CmdSetup")->click();
    EXPECT_EQ(main.SetupWindow(), setup);
    EXPECT_TRUE(setup->frametool->isVisible()); // as it was left
}
