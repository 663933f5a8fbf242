#include "support/SimulatedInstrument.h"

#include "core/link/Commands.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace bandora::test {
namespace {

// The factory memory's reads and writes are the fault tests' (they write
// and read back all eight addresses), and so are beam blocks landing on their
// channels (every accepted block against the instrument's own values).
TEST(Exchanges, CommandFramesReachTheInstrumentAndRepliesComeBack)
{
    SimulatedInstrument rig;
    ASSERT_TRUE(rig.Open());
    InstrumentLink& link = *rig.link;

    EXPECT_TRUE(link.LinkTest());
    EXPECT_EQ(link.Identify(), 0x00);

    EXPECT_EQ(link.SetOutputs(kOutputLight | kOutputActuator), 0);
    const int raw = link.ReadTemperature(); // a round trip after SetOutputs: it has arrived
    EXPECT_GT(raw, 0);
    EXPECT_EQ(rig.sim->Outputs(), kOutputLight | kOutputActuator);

    // Channel 200's setting 0x25 is written and verified.
    rig.sim->TakeFrames();
    EXPECT_EQ(link.WriteChannelRegister(200, 0x25), 1);
    EXPECT_EQ(rig.sim->TakeFrames().size(), 9u);
    EXPECT_EQ(rig.sim->ChannelSetting(200), 0x25);

    EXPECT_TRUE(rig.op.shown.isEmpty());

    EXPECT_EQ(rig.clock.pausedMs, 0) << "a write answered at once needs no pauses";
}

TEST(Exchanges, ShortAndGarbledRepliesFail)
{
    sim::SimOptions options = FastSimOptions();
    SimulatedInstrument rig(options);
    ASSERT_TRUE(rig.Open());
    InstrumentLink& link = *rig.link;

    sim::FaultOptions cut;
    cut.rate = 1.0;
    cut.shortReply = true;
    rig.sim->SetFaults(cut);
    // A two-byte reply cut to one byte is a failed exchange; a cut block is
    // rejected whole and leaves the caller's block as it was.
    EXPECT_EQ(link.ReadTemperature(), -1);
    EXPECT_EQ(link.Identify(), -1);
    BeamBlock block;
    block.samples.fill(1234);
    for (int first : kBlockFirsts)
        EXPECT_FALSE(link.ReadBeamBlock(first, block));
    EXPECT_EQ(block.samples[0], 1234);

    // High bytes above 15 on the line: the block arrives whole but clamped.
    rig.sim->SetFaults({});
    ASSERT_NE(link.ReadTemperature(), -1) << "the line is back in step";
    sim::FaultOptions garbled;
    garbled.rate = 1.0;
    garbled.corrupt = true;
    rig.sim->SetFaults(garbled);
    ASSERT_TRUE(link.ReadBeamBlock(32, block));
    EXPECT_TRUE(block.clamped);
    std::array<qint16, kChannelTable> values{};
    values.fill(77);
    EXPECT_EQ(link.ReadAllBeams(values), 0) << "clamped blocks are not stored";
    EXPECT_EQ(values[0], 77);

    rig.sim->SetFaults({});
    EXPECT_GT(link.ReadTemperature(), 0) << "a clean line works again at once";
    EXPECT_EQ(link.ReadAllBeams(values), 4);
}

TEST(Exchanges, SilenceFailsWithinTheBoundsAndTheLinkRecovers)
{
    SimulatedInstrument rig;
    ASSERT_TRUE(rig.Open());
    InstrumentLink& link = *rig.link;
    rig.sim->SetSilent(true);

    // A block read on a line in step waits out its 50 waits of 5 ms.
    QElapsedTimer timer;
    timer.start();
    BeamBlock block;
    EXPECT_FALSE(link.ReadBeamBlock(0, block));
    const qint64 bound = InstrumentLink::kReceiveWaits * InstrumentLink::kReceiveWaitMs;
    EXPECT_GE(timer.elapsed(), bound - 5);
    EXPECT_LT(timer.elapsed(), bound + 60);

    // Every later exchange first tries to put the line back in step, which
    // fails within its own bound.
    const qint64 resyncBound = InstrumentLink::kExchangeWaitMs + SerialTransport::kMaxSettleMs;
    for (int i = 0; i < 3; ++i) {
        timer.restart();
        EXPECT_EQ(link.ReadTemperature(), -1);
        EXPECT_GE(timer.elapsed(), InstrumentLink::kExchangeWaitMs - 5);
        EXPECT_LT(timer.elapsed(), resyncBound + InstrumentLink::kExchangeWaitMs + 60);
        timer.restart();
        EXPECT_FALSE(link.ReadBeamBlock(32, block));
        EXPECT_LT(timer.elapsed(), resyncBound + bound + 60);
    }

    // The verified write gives up after its three passes; the caller says so.
    timer.restart();
    EXPECT_EQ(link.WriteChannelRegister(5, 66), -1);
    EXPECT_LT(timer.elapsed(), 27 * (resyncBound + InstrumentLink::kExchangeWaitMs));
    EXPECT_TRUE(rig.op.texts().isEmpty()) << rig.op.texts().join('|').toStdString();
    EXPECT_EQ(rig.clock.pausedMs, 2 * (100 + 100 + 9 * 50)) << "the pauses of passes 2 and 3";

    rig.sim->SetSilent(false);
    EXPECT_EQ(link.WriteChannelRegister(5, 66), 1);
    EXPECT_EQ(rig.sim->ChannelSetting(5), 66);

    // A silence of its own that ends by itself, after three more frames.
    sim::FaultOptions unplug;
    unplug.silenceAfter = 3;
    unplug.silenceMs = 300;
    rig.sim->SetFaults(unplug);
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(link.ReadTemperature(), -1) << i;
    EXPECT_EQ(link.ReadTemperature(), -1);
    timer.restart();
    int answered = -1;
    while (timer.elapsed() < 2000 && answered == -1)
        answered = link.ReadTemperature();
    EXPECT_NE(answered, -1);
    EXPECT_GE(timer.elapsed(), 150);
}

TEST(Exchanges, ClosedOrVanishedPortFailsAtOnce)
{
    SimulatedInstrument rig;
    InstrumentLink& link = *rig.link;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(link.SendFrame(0x10, 0, 0), -1) << "the port is not open yet";
    EXPECT_EQ(link.ExchangeFrame(0x21, 0, 0), -1);
    BeamBlock block;
    EXPECT_FALSE(link.ReadBeamBlock(0, block));
    EXPECT_LT(timer.elapsed(), 50);

    ASSERT_TRUE(rig.Open());
    EXPECT_NE(link.ReadTemperature(), -1);
    EXPECT_FALSE(link.SetPortNumber(5)) << "the port cannot change while open";
    rig.sim->Stop(); // the instrument goes away with the port open
    timer.restart();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(link.ReadTemperature(), -1);
    EXPECT_LT(timer.elapsed(), InstrumentLink::kExchangeWaitMs) << "a vanished device is not waited for";
    link.ClosePort();
    EXPECT_FALSE(link.IsOpen());
}

} // namespace
} // namespace bandora::test
