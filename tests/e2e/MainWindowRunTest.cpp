// The run buttons of the main window inside the program (--simulate): a
// named run started, paused and stopped with the buttons, and the notice on
// the window while its records cannot be written.

#include "support/ProgramRig.h"

#include "support/QtPrinters.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(MainWindowRun, TheButtonsRunAnExperimentAndTheWindowSaysWhenRecordingFails)
{
    ProgramRig p;
    p.SerialPorts(4, true);
    ASSERT_EQ(p.StartOnSerialLine(true), Startup::Result::Running);
    FrmMain& w = *p.main;
    AppState& state = *p.state;

    p.ProjectThreeWithoutCalibration();
    state.project.setup.RT_Buffer = 20;
    w.ResetCycleBuffers();
    p.op.clear();
    p.op.replies.enqueue(QStringLiteral("buttons"));
    Child<QPushButton>(w, "CmdPlay")->click();
    ASSERT_EQ(state.run.State, AcquisitionState::Running) << p.op.texts().join('|').toStdString();
    w.AcquisitionTimer().stop(); // the test drives the ticks

    const QString experiment = QDir(state.project.folder).filePath(state.run.ExperimentFolderName);
    ASSERT_TRUE(QDir().mkpath(QDir(experiment).filePath("counts.bin")));
    testing::internal::CaptureStderr();
    for (int i = 0; i < 25; ++i) {
        p.clock.advance(30);
        w.Acquisition().OnAcquisitionTick();
    }
    // The failure is also a line on standard error.
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("RECORDING IS FAILING: "), std::string::npos) << err;
    EXPECT_FALSE(Child<QLabel>(w, "lbl_recording")->isHidden());
    EXPECT_TRUE(Child<QLabel>(w, "lbl_recording")->text().contains(QStringLiteral("counts.bin")));
    EXPECT_EQ(state.run.State, AcquisitionState::Running);

    QDir(QDir(experiment).filePath("counts.bin")).removeRecursively();
    for (int i = 0; i < 20; ++i) {
        p.clock.advance(30);
        w.Acquisition().OnAcquisitionTick();
    }
    EXPECT_TRUE(Child<QLabel>(w, "lbl_recording")->isHidden());
    EXPECT_EQ(QFileInfo(QDir(experiment).filePath("counts.bin")).size(), 774);

    p.op.answers.enqueue(Answer::Yes);
    Child<QPushButton>(w, "CmdPause")->click();
    EXPECT_EQ(state.run.State, AcquisitionState::Paused);
    // The window coming back to the front keeps the paused run's buffers.
    const qint16 sample = w.Cycle().Sample(0, 5);
    ASSERT_NE(sample, 0);
    w.Activate();
    EXPECT_EQ(w.Cycle().Sample(0, 5), sample);
    Child<QPushButton>(w, "CmdStop")->click();
    EXPECT_EQ(state.run.State, AcquisitionState::Stopped);
    EXPECT_FALSE(w.AcquisitionTimer().isActive());
}
