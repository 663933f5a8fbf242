#include "support/SimulatedInstrument.h"

#include "core/link/Commands.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace bandora::test {
namespace {

// The longest an exchange may take on a faulty line: putting the line back in
// step after the exchange before, its own wait, and slack for a busy machine.
constexpr qint64 kResyncBoundMs = InstrumentLink::kExchangeWaitMs + SerialTransport::kMaxSettleMs;
constexpr qint64 kBlockBoundMs = kResyncBoundMs + InstrumentLink::kReceiveWaits * InstrumentLink::kReceiveWaitMs + 80;
constexpr qint64 kExchangeBoundMs = kResyncBoundMs + InstrumentLink::kExchangeWaitMs + 80;

// Every block the link accepts holds the values the instrument measured for
// those channels in this very sweep, never a late block of an earlier request.
void ExpectOnlyFreshBlocks(SimulatedInstrument& rig, int ticks, int& goodBlocks, int& failedBlocks)
{
    for (int tick = 0; tick < ticks; ++tick) {
        for (int first : kBlockFirsts) {
            BeamBlock block;
            QElapsedTimer timer;
            timer.start();
            const bool ok = rig.link->ReadBeamBlock(first, block) && !block.clamped;
            ASSERT_LT(timer.elapsed(), kBlockBoundMs) << "tick " << tick << " block " << first;
            if (!ok) {
                ++failedBlocks;
                continue;
            }
            ++goodBlocks;
            rig.sim->WithModel([&](sim::InstrumentModel& model) {
                for (int s = 0; s < kBlockSamples; ++s)
                    ASSERT_EQ(block.samples[s], model.SnapshotValue(ChannelOfSample(first, s)))
                        << "tick " << tick << " block " << first << " sample " << s;
            });
        }
    }
}

TEST(Faults, MixedFaultsGiveFailuresOrTrueValuesWithinBounds)
{
    sim::SimOptions options = FastSimOptions();
    options.pacing = true; // replies queue behind a late one as on a real line
    options.model.noise = 8.0;
    SimulatedInstrument rig(options);
    ASSERT_TRUE(rig.Open());
    sim::FaultOptions all;
    all.rate = 0.25;
    all.drop = all.shortReply = all.late = all.corrupt = true;
    all.lateMs = 300;
    rig.sim->SetFaults(all);

    int good = 0, failed = 0;
    ExpectOnlyFreshBlocks(rig, 10, good, failed);
    EXPECT_GT(failed, 0);
    EXPECT_GT(good, 0);

    // Two-byte replies: garbling aside (a changed byte cannot be told from a
    // good one), a read gives the stored byte or -1, never another address's.
    rig.sim->SetFaults({});
    for (int i = 0; i < 8; ++i)
        ASSERT_EQ(rig.link->WriteMemoryRegister(quint8(0x80 + i), quint8(0x10 + 3 * i)), 1);
    const auto memory = rig.sim->Memory();
    all.corrupt = false;
    rig.sim->SetFaults(all);
    int answered = 0, lost = 0;
    for (int round = 0; round < 4; ++round) {
        for (int i = 0; i < 8; ++i) {
            QElapsedTimer timer;
            timer.start();
            const int value = rig.link->ReadMemoryByte(quint8(0x80 + i));
            ASSERT_LT(timer.elapsed(), kExchangeBoundMs);
            if (value == -1) {
                ++lost;
                continue;
            }
            ++answered;
            EXPECT_EQ(value, memory[i]) << "round " << round << " address " << i;
        }
    }
    EXPECT_GT(lost, 0);
    EXPECT_GT(answered, 8);
}

} // namespace
} // namespace bandora::test
