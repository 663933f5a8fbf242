// The run buttons of the main window inside the program (--simulate): a
// named run started, paused and stopped with the buttons, and the notice on
// the window while its records cannot be written.

#include "core/AppState.h"
#include "gui/FrmInit.h"
#include "gui/FrmMain.h"
#include "gui/PictureBox.h"
#include "gui/SerialInstrumentSteps.h"
#include "gui/Startup.h"
#include "support/Files.h"
#include "support/QtPrinters.h"
#include "support/ScriptedOperator.h"
#include "support/TestClock.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(MainWindowRun, TheButtonsRunAnExperimentAndTheWindowSaysWhenRecordingFails)
{
    QTemporaryDir dir;
    const QDir staged(QStringLiteral(BANDORA_APP_DIR));
    for (const QString& name : staged.entryList({QStringLiteral("*.dat")}, QDir::Files))
        WriteAll(dir.filePath(name), ReadAll(staged.filePath(name)));
    WriteAll(dir.filePath("config.dat"),
             "\"Config: <Actual_Project_Number>, <Last_Project>,<Serial_COM>,<Restart_Time>\"\r\n0,0,4,0\r\n");
    QDir().mkpath(dir.filePath("ports"));
    ScriptedOperator op;
    TestClock clock;
    TestEventPump events;
    AppState state(dir.path(), op, clock, events);
    SerialInstrumentSteps instrument(state, true);
    FrmMain w(state, instrument);
    FrmInit splash;
    Startup startup(state, w, splash, instrument, SplashTimings{1, 1});
    ASSERT_EQ(startup.Run(QString()), Startup::Result::Running);
    ASSERT_FALSE(state.OfflineMode);

    // A project other than 0, as the setup window would have saved it.
    state.project.Num_proj = 3;
    state.project.RT_Buffer = 20;
    state.projectFolder = dir.filePath("proj3");
    QDir().mkpath(state.projectFolder);
    w.mncal_on->trigger();
    if (w.mnCalibra->isChecked())
        w.mnCalibra->click();
    if (w.mnZero->isChecked())
        w.mnZero->click();
    w.ResetCycleBuffers();
    op.clear();
    op.replies.enqueue(QStringLiteral("buttons"));
    w.CmdPlay->click();
    ASSERT_EQ(state.AcquisitionState, 1) << op.texts().join('|').toStdString();
    EXPECT_TRUE(w.AcquisitionTimer().isActive());
    EXPECT_EQ(w.AcquisitionTimer().interval(), 30);
    EXPECT_FALSE(w.CmdPlay->isEnabled());
    EXPECT_TRUE(w.CmdPause->isEnabled());
    w.AcquisitionTimer().stop(); // the test drives the ticks

    const QString experiment = QDir(state.projectFolder).filePath(state.ExperimentFolderName);
    ASSERT_TRUE(QDir().mkpath(QDir(experiment).filePath("counts.bin")));
    for (int i = 0; i < 25; ++i) {
        clock.advance(30);
        w.Acquisition().OnAcquisitionTick();
    }
    EXPECT_FALSE(w.lbl_recording->isHidden());
    EXPECT_TRUE(w.lbl_recording->text().startsWith(QStringLiteral("RECORDING IS FAILING: ")));
    EXPECT_TRUE(w.lbl_recording->text().contains(QStringLiteral("counts.bin")));
    EXPECT_EQ(state.AcquisitionState, 1);

    QDir(QDir(experiment).filePath("counts.bin")).removeRecursively();
    for (int i = 0; i < 20; ++i) {
        clock.advance(30);
        w.Acquisition().OnAcquisitionTick();
    }
    EXPECT_TRUE(w.lbl_recording->isHidden());
    EXPECT_EQ(QFileInfo(QDir(experiment).filePath("counts.bin")).size(), 774);
    // The ticks drew the selected beam's trace in red on the signal plot.
    const QImage trace = w.Picreal->image();
    int red = 0;
    for (int y = 0; y < trace.height(); ++y)
        for (int x = 0; x < trace.width(); ++x)
            red += (trace.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
    EXPECT_GT(red, 0);

    op.answers.enqueue(Answer::Yes);
    w.CmdPause->click();
    EXPECT_EQ(state.AcquisitionState, 2);
    EXPECT_EQ(w.lbl_status->text(), QStringLiteral("<< PAUSED >>"));
    EXPECT_EQ(w.lbl_timecounter->text(), QStringLiteral("Time Counter = OFF"));
    // The window coming back to the front keeps the paused run's buffers.
    const qint16 sample = w.Cycle().Sample(0, 5);
    ASSERT_NE(sample, 0);
    w.Activate();
    EXPECT_EQ(w.Cycle().Sample(0, 5), sample);
    w.CmdStop->click();
    EXPECT_EQ(state.AcquisitionState, 0);
    EXPECT_FALSE(w.AcquisitionTimer().isActive());
    EXPECT_TRUE(w.CmdPlay->isEnabled());
    EXPECT_TRUE(w.CmdSetup->isEnabled());
    EXPECT_FALSE(w.CmdPause->isEnabled());
}
