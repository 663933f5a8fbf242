#include "support/Files.h"
#include "support/SimulatedInstrument.h"

#include "core/link/Commands.h"
#include "sim/CommandResponder.h"
#include "sim/FactoryMemory.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace bandora::test {
namespace {

using sim::FactoryMemory;

// The replies themselves are the link's exchange tests'; what the link cannot
// see is an unknown command left unanswered and the model's clock, which only
// the block of channel 0 moves on, by one step.
TEST(VirtualInstrument, UnknownCommandsGoUnansweredAndOnlyBlockZeroMovesTheModelOn)
{
    sim::InstrumentModel model(sim::ModelOptions{}, BuiltInPlate("w96f"));
    FactoryMemory memory;
    sim::CommandResponder responder(model, memory, 0.03);
    const auto frame = [](quint8 first, quint8 second) { return ScanFrame(BuildFrame(0, first, second)); };
    EXPECT_TRUE(responder.Respond(frame(0x55, 0), 0).isEmpty());
    EXPECT_EQ(responder.Respond(frame(0x30, 0), 0).size(), 192);
    EXPECT_NEAR(model.Seconds(), 0.03, 1e-9);
    responder.Respond(frame(0x30, 32), 5.0);
    EXPECT_NEAR(model.Seconds(), 0.03, 1e-9);
}

TEST(VirtualInstrument, FactoryRecordSurvivesARestart)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("ports/memory.dat");
    {
        FactoryMemory memory(path);
        EXPECT_TRUE(memory.Load()) << "no file yet: the default record";
        EXPECT_EQ(memory.Read(0x81), 1);
        EXPECT_TRUE(memory.Write(0x84, 31));
        EXPECT_TRUE(memory.Write(0x83, 1));
        EXPECT_FALSE(memory.Write(0x88, 1));
        EXPECT_DOUBLE_EQ(memory.Offset(), -3.1);
    }
    FactoryMemory again(path);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.Read(0x84), 31);
    EXPECT_EQ(again.Read(0x83), 1);

    WriteAll(path, "\"Instrument memory\"\r\n0,1,2,300\r\n");
    FactoryMemory damaged(path);
    QString error;
    EXPECT_FALSE(damaged.Load(&error));
    EXPECT_TRUE(error.contains("memory.dat"));
    EXPECT_EQ(damaged.Bytes(), FactoryMemory::kDefault);

    // An invalid record is converted with the program's defaults.
    FactoryMemory blank;
    blank.Write(0x80, 1);
    EXPECT_DOUBLE_EQ(blank.Slope(), 0.219);
    EXPECT_DOUBLE_EQ(blank.Offset(), 0.0);
}

TEST(VirtualInstrument, ThePortLinkComesAndGoesWithTheInstrument)
{
    QTemporaryDir dir;
    const QString link = dir.filePath("ports/COM4");
    QDir().mkpath(dir.filePath("ports"));
    ASSERT_TRUE(QFile::link("/dev/ttyUSB7", link)); // the user's own adapter
    {
        sim::VirtualInstrument sim(FastSimOptions(), BuiltInPlate("w96f"));
        QString error;
        ASSERT_TRUE(sim.Start(&error)) << error.toStdString();
        ASSERT_TRUE(sim.LinkPort(dir.path(), 4, &error)) << error.toStdString();
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.DevicePath());
        ASSERT_TRUE(sim.LinkPort(dir.path(), 6, &error));
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), "/dev/ttyUSB7") << "moving on puts the old link back";
        EXPECT_EQ(QFileInfo(dir.filePath("ports/COM6")).symLinkTarget(), sim.DevicePath());
    }

    // A leftover link of an instrument that was killed is not put back.
    ASSERT_TRUE(QFile::link("/dev/pts/999", dir.filePath("ports/COM5")));
    {
        sim::VirtualInstrument sim(FastSimOptions(), BuiltInPlate("w96f"));
        QString error;
        ASSERT_TRUE(sim.Start(&error) && sim.LinkPort(dir.path(), 5, &error));
    }
    EXPECT_FALSE(QFileInfo(dir.filePath("ports/COM5")).isSymLink());

    WriteAll(dir.filePath("ports/COM8"), "not a link");
    sim::VirtualInstrument sim(FastSimOptions(), BuiltInPlate("w96f"));
    QString error;
    ASSERT_TRUE(sim.Start(&error));
    EXPECT_FALSE(sim.LinkPort(dir.path(), 8, &error));
    EXPECT_EQ(ReadAll(dir.filePath("ports/COM8")), "not a link");
}

} // namespace
} // namespace bandora::test
