#include "support/ProgramRig.h"

#include "gui/FrmOffline.h"
#include "gui/FrmSetup.h"

#include "core/storage/ConfigFile.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

// A started program with project 3 "larvae" loaded and the instrument online.
void StartOnline(ProgramRig& h)
{
    h.instrument.online = true;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    h.state->project.Num_proj = 3;
    h.state->project.Name = QStringLiteral("larvae");
    h.op.clear();
}

} // namespace

TEST(MainWindow, ExitAsksAboutSavingOnlyOnlineAndAlwaysEnds)
{
    {
        ProgramRig h;
        StartOnline(h);
        h.op.answers.enqueue(Answer::Yes);
        h.Find<QAction>("mnexit")->trigger();
        EXPECT_EQ(h.op.texts(), QStringList{QStringLiteral("Update values to project 3_larvae before Exit?")});
        EXPECT_TRUE(ReadAll(QDir(h.appDir()).filePath(QStringLiteral("setup.dat"))).contains("\"larvae\""));
        EXPECT_EQ(h.clock.pausedMs, 600);
        EXPECT_GE(h.events.turns, 1);
        EXPECT_EQ(h.instrument.portCloses, 1);
        EXPECT_EQ(h.ended, 1);
    }
    {
        ProgramRig h;
        ASSERT_EQ(h.Start(), Startup::Result::Running);
        h.op.clear();
        h.main->close();
        EXPECT_TRUE(h.op.texts().isEmpty());
        EXPECT_EQ(h.instrument.portCloses, 0);
        EXPECT_EQ(h.ended, 1);
    }
}

TEST(MainWindow, PortMenuMovesTheCheckMarkAndStoresThePort)
{
    ProgramRig h;
    h.WriteConfig("0,2,4,0");
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    auto checked = [&h] {
        QList<int> out;
        for (QAction* a : h.main->findChildren<QAction*>(QStringLiteral("mncom1")))
            if (a->isChecked())
                out << a->property("index").toInt();
        return out;
    };
    EXPECT_EQ(checked(), QList<int>{4});
    h.op.clear();

    h.main->ComPortAction(7)->trigger();
    EXPECT_EQ(checked(), QList<int>{7});
    EXPECT_EQ(h.state->config.Serial_COM, 7);
    EXPECT_TRUE(ReadAll(QDir(h.appDir()).filePath(QStringLiteral("config.dat"))).endsWith("\r\n0,2,7,0\r\n"));
    EXPECT_TRUE(h.op.texts().isEmpty());

    // A port beyond the menu (16 is allowed in config.dat) checks no entry.
    h.main->CheckComPort(16);
    EXPECT_TRUE(checked().isEmpty());
}

TEST(MainWindow, ActivationRewritesTheProjectBoxUnlessAcquiring)
{
    ProgramRig h;
    h.instrument.online = true;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);

    h.state->project.Num_proj = 4;
    h.state->project.Name = QStringLiteral("zebrafish");
    QApplication::setActiveWindow(h.main.get());
    EXPECT_EQ(Child<QLineEdit>(*h.main, "txt_projecto")->text(), QStringLiteral("4_zebrafish"));
    EXPECT_EQ(QApplication::focusWidget(), Child<QPushButton>(*h.main, "CmdMain"));

    QApplication::setActiveWindow(&other);
    h.state->project.Name = QStringLiteral("renamed");
    h.main->AcquisitionTimer().start(100000);
    QApplication::setActiveWindow(h.main.get());
    h.main->AcquisitionTimer().stop();
    EXPECT_EQ(Child<QLineEdit>(*h.main, "txt_projecto")->text(), QStringLiteral("4_zebrafish"));
}

TEST(MainWindow, ManualCalibrationMenuSwitchesTheCalibrationControls)
{
    ProgramRig h;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    h.Find<QAction>("mncal_on")->trigger();
    EXPECT_TRUE(h.main->ManualCalibration());
    EXPECT_TRUE(Child<QCheckBox>(*h.main, "mnCalibra")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(*h.main, "Cmd_readblank")->isHidden());

    Child<QCheckBox>(*h.main, "mnZero")->click();
    EXPECT_EQ(h.state->project.MenuParam[1][2], 0);
    EXPECT_TRUE(Child<QPushButton>(*h.main, "Cmd_autozero")->isEnabled());

    Child<QAction>(*h.main, "mncal_off")->trigger();
    EXPECT_TRUE(Child<QCheckBox>(*h.main, "mnZero")->isChecked());
    EXPECT_EQ(h.state->project.MenuParam[1][2], 1);
}

TEST(MainWindow, OfflineButtonShowsTheOfflineWindowUntilItsCloseBox)
{
    ProgramRig h;
    h.instrument.online = true;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    h.op.clear();
    FrmMain& main = *h.main;
    Child<QPushButton>(main, "CmdOffline")->click();
    QPointer<FrmOffline> offline = main.OfflineWindow();
    ASSERT_FALSE(offline.isNull());
    EXPECT_TRUE(offline->isVisible());
    EXPECT_FALSE(main.isVisible());

    // Its Setup button goes to the setup window; the main window stays hidden.
    offline->cmdSetup->click();
    EXPECT_TRUE(main.SetupWindow()->isVisible());
    EXPECT_FALSE(offline->isVisible());
    EXPECT_FALSE(main.isVisible());
    main.SetupWindow()->Command24->click();
    EXPECT_TRUE(offline->isVisible());

    // The close box unloads it and brings the main window back.
    offline->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(offline.isNull());
    EXPECT_TRUE(main.isVisible());
    Child<QPushButton>(main, "CmdOffline")->click();
    ASSERT_NE(main.OfflineWindow(), nullptr);
    EXPECT_TRUE(main.OfflineWindow()->isVisible());
    EXPECT_TRUE(h.op.texts().isEmpty()) << h.op.texts().join(QLatin1Char('|')).toStdString();
}
