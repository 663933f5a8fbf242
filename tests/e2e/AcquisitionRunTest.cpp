// Runs against the virtual instrument: the pause and the refusals.

#include "RunRig.h"

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(AcquisitionRun, APauseWithoutTimeCounterDoesNotCountAsRunTime)
{
    RunRig r;
    r.state.project.setup.Aq_lapse = 1000;
    r.Start(QStringLiteral("paused"));
    r.inst.clock.advance(10 * 60'000);
    r.Ticks(25);
    EXPECT_EQ(r.acq.ElapsedMinutes(), 10);

    r.inst.op.answers.enqueue(Answer::Yes);
    r.run.PauseRun();
    EXPECT_EQ(r.state.run.State, AcquisitionState::Paused);
    EXPECT_FALSE(r.window.timerOn);
    EXPECT_EQ(r.window.runLabel, QStringLiteral("Time Counter = OFF"));
    EXPECT_EQ(r.window.status, QStringLiteral("<< PAUSED >>"));
    r.inst.clock.advance(5 * 60'000);
    r.run.PauseRun();
    EXPECT_EQ(r.state.run.State, AcquisitionState::Running);
    EXPECT_TRUE(r.window.status.isEmpty());
    r.Ticks(25);
    EXPECT_EQ(r.acq.ElapsedMinutes(), 10);

    // Paused with the time counter on, the ticks keep the time only.
    r.inst.op.answers.enqueue(Answer::No);
    r.run.PauseRun();
    EXPECT_TRUE(r.window.timerOn);
    EXPECT_EQ(r.window.runLabel, QStringLiteral("Time Counter = ON"));
    const int column = r.cycle.Column;
    r.inst.clock.advance(3 * 60'000);
    r.Ticks(1);
    EXPECT_EQ(r.cycle.Column, column);
    EXPECT_EQ(r.acq.ElapsedMinutes(), 13);
}

TEST(AcquisitionRun, RefusalsComeBeforeAnythingIsWritten)
{
    RunRig r;
    r.state.project.setup.Num_proj = 0;
    r.Start(QStringLiteral("x"));
    EXPECT_EQ(r.state.run.State, AcquisitionState::Stopped);
    EXPECT_EQ(r.window.setupOpened, 1);
    r.state.project.setup.Num_proj = 1;
    r.state.instrument.OfflineMode = true;
    r.Start(QStringLiteral("x"));
    EXPECT_EQ(r.inst.op.texts().last(),
              QStringLiteral("Acquisition not allowed in OFFLINE MODE. Connect the equipment and restart the program."));
    EXPECT_EQ(r.state.run.State, AcquisitionState::Stopped);
    r.state.instrument.OfflineMode = false;
    r.window.deviceTest = true;
    r.Start(QStringLiteral("x"));
    EXPECT_EQ(r.inst.op.texts().last(),
              QStringLiteral("The device test is running: let it finish before starting an experiment."));
    EXPECT_EQ(r.state.run.State, AcquisitionState::Stopped);
    EXPECT_TRUE(QDir(r.state.project.folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}
