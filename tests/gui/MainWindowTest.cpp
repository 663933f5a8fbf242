#include "support/ProgramRig.h"

#include "gui/FrmOffline.h"
#include "gui/FrmSetup.h"

#include "core/storage/ConfigFile.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QCheckBox>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(MainWindow, ExitOnlineAsksAboutSavingAndEnds)
{
    // Project 3 "larvae" loaded and the instrument online.
    ProgramRig h;
    h.instrument.online = true;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    h.state->project.setup.Num_proj = 3;
    h.state->project.setup.Name = QStringLiteral("larvae");
    h.op.clear();
    h.op.answers.enqueue(Answer::Yes);
    Child<QAction>(*h.main, "mnexit")->trigger();
    EXPECT_EQ(h.op.texts(), QStringList{QStringLiteral("Update values to project 3_larvae before Exit?")});
    EXPECT_TRUE(ReadAll(h.dir.filePath(QStringLiteral("setup.dat"))).contains("\"larvae\""));
    EXPECT_EQ(h.clock.pausedMs, 600);
    EXPECT_GE(h.events.turns, 1);
    EXPECT_EQ(h.instrument.portCloses, 1);
    EXPECT_EQ(h.ended, 1);
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
    EXPECT_EQ(h.state->project.config.Serial_COM, 7);
    EXPECT_TRUE(ReadAll(h.dir.filePath(QStringLiteral("config.dat"))).endsWith("\r\n0,2,7,0\r\n"));
    EXPECT_TRUE(h.op.texts().isEmpty());
}

TEST(MainWindow, ManualCalibrationMenuSwitchesTheCalibrationControls)
{
    ProgramRig h;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    Child<QAction>(*h.main, "mncal_on")->trigger();
    EXPECT_TRUE(h.main->ManualCalibration());

    Child<QCheckBox>(*h.main, "mnZero")->click();
    EXPECT_EQ(h.state->project.setup.Calibration().AutoZero(), 0);

    Child<QAction>(*h.main, "mncal_off")->trigger();
    EXPECT_TRUE(Child<QCheckBox>(*h.main, "mnZero")->isChecked());
    EXPECT_EQ(h.state->project.setup.Calibration().AutoZero(), 1);
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
    EXPECT_TRUE(h.op.texts().isEmpty()) << h.op.texts().join(QLatin1Char('|')).toStdString();
}
