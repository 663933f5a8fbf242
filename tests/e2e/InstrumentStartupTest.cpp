// The program's start-up over the serial line: with the virtual instrument
// inside the program (--simulate) and with bandora-sim as a separate program
// found by the ordinary port scan.

#include "core/link/InstrumentLink.h"
#include "support/QtPrinters.h"
#include "support/ProgramRig.h"

#include <QAction>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

// The program in a temporary folder whose ports lead nowhere.
struct Program : ProgramRig {
    explicit Program(int configuredPort) { SerialPorts(configuredPort, true); }

    int CheckedPort() const
    {
        int checked = 0;
        for (int n = 1; n <= 15; ++n)
            if (main->ComPortAction(n)->isChecked())
                checked = checked ? -1 : n;
        return checked;
    }
};

TEST(InstrumentStartup, SimulateStartsOnlineWithTheVirtualInstrumentsRecord)
{
    Program program(4);
    ASSERT_EQ(program.StartOnSerialLine(true), Startup::Result::Running);
    ASSERT_NE(program.serial->Simulated(), nullptr);
    EXPECT_FALSE(program.state->OfflineMode);
    EXPECT_FALSE(program.splashTexts.join('|').contains("[")) << "found on the configured port, no scan";
    EXPECT_TRUE(program.op.texts().isEmpty()) << program.op.texts().join('|').toStdString();
    EXPECT_EQ(program.CheckedPort(), 4);

    // The factory record came from the virtual instrument's memory.
    EXPECT_DOUBLE_EQ(program.state->factory.Slope, 0.219);
    InstrumentLink& link = *program.state->link;

    // Exit closes the port (the port link going with the virtual instrument
    // is VirtualInstrument.ThePortLinkComesAndGoesWithTheInstrument).
    program.op.answers.enqueue(Answer::No);
    program.main->Shutdown();
    EXPECT_FALSE(link.IsOpen());
}

TEST(InstrumentStartup, APlainStartFindsBandoraSimByScanning)
{
    Program program(3);
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
    EXPECT_FALSE(program.state->OfflineMode);
    EXPECT_EQ(program.state->config.Serial_COM, 6);
    EXPECT_TRUE(ReadAll(program.dir.filePath("config.dat")).endsWith("0,0,6,0\r\n"));
    EXPECT_EQ(program.CheckedPort(), 6);
    EXPECT_TRUE(program.splashTexts.contains("STARTING........... Opening Communication Port [6]"));
    EXPECT_FALSE(program.splashTexts.contains("STARTING........... Opening Communication Port [7]"));
    EXPECT_TRUE(program.state->factory.Valid);
    EXPECT_DOUBLE_EQ(program.state->factory.Offset, 0.5);

    program.op.answers.enqueue(Answer::No);
    program.main->Shutdown();
    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_EQ(QFileInfo(linkPath).symLinkTarget(), program.dir.filePath("nothing-here"))
        << "bandora-sim puts back the link it found when it ends";
}

} // namespace
