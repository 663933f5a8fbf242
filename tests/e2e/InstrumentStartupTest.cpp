// The program's start-up over the serial line with bandora-sim as a separate
// program found by the ordinary port scan (the start with the virtual
// instrument inside the program is that of the other program tests).

#include "support/QtPrinters.h"
#include "support/ProgramRig.h"

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(InstrumentStartup, APlainStartFindsBandoraSimByScanning)
{
    // The program in a temporary folder whose ports lead nowhere.
    ProgramRig program;
    program.SerialPorts(3, true);
    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QStringLiteral(BANDORA_BIN_DIR "/bandora-sim"),
              {"--app-dir", program.dir.path(), "--port", "6", "--no-pacing"});
    ASSERT_TRUE(sim.waitForStarted(5000));
    const QString linkPath = program.dir.filePath("ports/COM6");
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo(linkPath).symLinkTarget().startsWith("/dev/pts/") && timer.elapsed() < 5000)
        QThread::msleep(10);
    ASSERT_TRUE(QFileInfo(linkPath).symLinkTarget().startsWith("/dev/pts/"));

    ASSERT_EQ(program.StartOnSerialLine(false), Startup::Result::Running);
    EXPECT_EQ(program.serial->Simulated(), nullptr);
    EXPECT_FALSE(program.state->instrument.OfflineMode);
    EXPECT_EQ(program.state->project.config.Serial_COM, 6);
    EXPECT_TRUE(ReadAll(program.dir.filePath("config.dat")).endsWith("0,0,6,0\r\n"));
    EXPECT_TRUE(program.splashTexts.contains("STARTING........... Opening Communication Port [6]"));
    EXPECT_FALSE(program.splashTexts.contains("STARTING........... Opening Communication Port [7]"));
    EXPECT_TRUE(program.state->instrument.factory.Valid);
    EXPECT_DOUBLE_EQ(program.state->instrument.factory.Offset, 0.5);

    program.op.answers.enqueue(Answer::No);
    program.main->Shutdown();
    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_EQ(QFileInfo(linkPath).symLinkTarget(), program.dir.filePath("nothing-here"))
        << "bandora-sim puts back the link it found when it ends";
}
