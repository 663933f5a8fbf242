// How the program ends while an experiment runs: the window's close asks
// first and stops the run with the outputs off; SIGTERM ends it without a
// question and the virtual instrument's port link goes with it.

#include "support/ProgramRig.h"

#include "core/link/InstrumentLink.h"
#include "core/link/PortName.h"

#include <QProcess>
#include <QPushButton>

#include <gtest/gtest.h>

#include <csignal>

using namespace bandora;
using namespace bandora::test;

TEST(ProgramEnd, ClosingDuringARunAsksThenStopsItWithTheOutputsOff)
{
    ProgramRig p;
    p.SerialPorts(4, true);
    ASSERT_EQ(p.StartOnSerialLine(true), Startup::Result::Running);
    FrmMain& w = *p.main;
    p.ProjectThreeWithoutCalibration();
    Child<QPushButton>(w, "cmd_luz")->click();
    ASSERT_EQ(p.OutputsSoon(4), 4);
    p.op.replies.enqueue(QStringLiteral("closed"));
    Child<QPushButton>(w, "CmdPlay")->click();
    ASSERT_EQ(p.state->run.State, AcquisitionState::Running);
    p.op.clear();
    const QString question = QStringLiteral("An experiment is running. Stop it and exit?");
    p.op.answers.enqueue(Answer::No);
    EXPECT_FALSE(w.close());
    EXPECT_EQ(p.op.texts(), QStringList{question});
    EXPECT_EQ(p.state->run.State, AcquisitionState::Running);

    int ended = 0;
    QObject::connect(&w, &FrmMain::programEnded, [&] { ++ended; });
    p.op.answers.enqueue(Answer::Yes); // stop it
    p.op.answers.enqueue(Answer::No);  // and leave the project as it is
    EXPECT_TRUE(w.close());
    EXPECT_EQ(p.op.texts().mid(1, 2).join('|'), question + "|Update values to project 3_" +
                                                      p.state->project.setup.Name + " before Exit?");
    EXPECT_EQ(p.state->run.State, AcquisitionState::Stopped);
    EXPECT_EQ(p.state->run.LastStopReason, RunStopReason::ProgramClosed);
    EXPECT_EQ(p.OutputsSoon(0), 0) << "light, heater and cooler off before the port closes";
    EXPECT_EQ(ended, 1);
}

TEST(ProgramEnd, SigtermEndsTheSimulatingProgramAndRemovesItsPortLink)
{
    ProgramRig rig;
    rig.SerialPorts(4, false);
    const QString link = PortLinkPath(rig.dir.path(), 4);
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(BANDORA_BIN_DIR "/bandora"), {"--app-dir", rig.dir.path(), "--simulate"});
    ASSERT_TRUE(program.waitForStarted(5000));
    QElapsedTimer t;
    t.start();
    while (!QFileInfo(link).isSymLink() && t.elapsed() < 20000)
        QThread::msleep(10);
    ASSERT_TRUE(QFileInfo(link).isSymLink());
    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink()) << "no link to a dead pseudo-terminal is left";

    // A link left by a virtual instrument killed outright is not tried.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/pts/no-such-terminal"), link));
    InstrumentLink dead(rig.dir.path(), rig.clock);
    EXPECT_FALSE(dead.SetPortNumber(4));
    EXPECT_TRUE(dead.SetPortNumber(5));
}
