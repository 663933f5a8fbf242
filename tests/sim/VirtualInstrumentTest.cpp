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

using sim::CommandResponder;
using sim::FactoryMemory;
using sim::InstrumentModel;

FrameScan Frame(quint8 kind, quint8 first, quint8 second) { return ScanFrame(BuildFrame(kind, first, second)); }

TEST(VirtualInstrument, AnswersEachCommandAsTheProtocolSays)
{
    sim::ModelOptions options;
    options.organismsPerWell = 0;
    InstrumentModel model(options, BuiltInPlate("w96f"));
    FactoryMemory memory;
    CommandResponder responder(model, memory, 0.03);

    EXPECT_EQ(responder.Respond(Frame(0, 0x00, 0), 0).toHex(), "0019");
    EXPECT_EQ(responder.Respond(Frame(0, 0x20, 0x85), 0).toHex(), "db00") << "slope low byte 219";
    EXPECT_TRUE(responder.Respond(Frame(0, 0x10, 5), 0).isEmpty()) << "SetOutputs has no reply";
    EXPECT_EQ(model.Outputs(), 5);
    EXPECT_TRUE(responder.Respond(Frame(0, 0x55, 0), 0).isEmpty()) << "unknown commands go unanswered";

    // Writes are echoed and land on the channel or in the memory.
    EXPECT_EQ(responder.Respond(Frame(0x81, 0x48, 0x25), 0).toHex(), "4825");
    EXPECT_EQ(model.ChannelSetting(200), 0x25);
    EXPECT_EQ(responder.Respond(Frame(0x80, 0x84, 31), 0).toHex(), "841f");
    EXPECT_EQ(memory.Read(0x84), 31);
    for (int ch = 0; ch < kChannels; ++ch) {
        if (ch != 200)
            ASSERT_EQ(model.ChannelSetting(ch), 3 * 32 + 2) << "the memory write touched channel " << ch;
    }

    // The temperature comes as a raw reading of the sensor, whatever the
    // record in the memory says (0x84 was just rewritten).
    const int raw = quint8(responder.Respond(Frame(0, 0x21, 0), 0)[0]);
    constexpr double slope = CommandResponder::kSensorSlope;
    EXPECT_NEAR(raw * slope + CommandResponder::kSensorOffset, model.Temperature(), slope / 2 + 1e-9);

    // Only the block of channel 0 moves the model on, by one step.
    const double before = model.Seconds();
    EXPECT_EQ(responder.Respond(Frame(0, 0x30, 0), 0).size(), 192);
    EXPECT_NEAR(model.Seconds() - before, 0.03, 1e-9);
    const QByteArray block32 = responder.Respond(Frame(0, 0x30, 32), 5.0);
    EXPECT_NEAR(model.Seconds() - before, 0.03, 1e-9);
    BeamBlock decoded;
    ASSERT_TRUE(DecodeBeamBlock(block32, decoded));
    EXPECT_EQ(decoded.samples[1], model.SnapshotValue(32 + 128));
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
    EXPECT_FALSE(QFileInfo(dir.filePath("ports/COM6")).isSymLink());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), "/dev/ttyUSB7");

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
