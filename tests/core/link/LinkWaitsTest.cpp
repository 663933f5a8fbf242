#include "support/SimulatedInstrument.h"

#include <gtest/gtest.h>

namespace bandora::test {
namespace {

// Window events run while the link waits on a silent line, and an event that
// stops the work (STOP) cuts the write under way short instead of letting it
// run its 27 exchanges.
TEST(LinkWaits, EventsRunDuringWaitsAndStopCutsAWriteShort)
{
    SimulatedInstrument rig;
    ASSERT_TRUE(rig.Open());
    TestEventPump events;
    rig.link->SetEventPump(&events);
    rig.sim->SetSilent(true);

    BeamBlock block;
    EXPECT_FALSE(rig.link->ReadBeamBlock(0, block));
    EXPECT_GE(events.turns, 3) << "a 250 ms wait lets events run every 40 ms";

    events.turns = 0;
    events.onTurn = [&](int turn) {
        if (turn == 2)
            rig.link->AbandonWaits();
    };
    const qint64 framesBefore = rig.sim->FramesReceived();
    EXPECT_EQ(rig.link->WriteChannelRegister(5, 66), -1);
    EXPECT_LE(rig.sim->FramesReceived() - framesBefore, 4) << "the write gave up at STOP";
    EXPECT_TRUE(rig.op.texts().isEmpty()) << "the link leaves the words to its caller";

    // Work started after STOP runs normally.
    rig.sim->SetSilent(false);
    events.onTurn = {};
    EXPECT_EQ(rig.link->WriteChannelRegister(5, 66), 1);
}

// An event that talks to the instrument while an exchange waits (the factory
// window's temperature poll, STOP switching the outputs off) takes the line:
// the exchange it crossed asks again rather than take a reply not its own.
TEST(LinkWaits, AnExchangeCrossedByAnEventAsksAgain)
{
    sim::SimOptions slow = FastSimOptions();
    slow.pacing = true;
    slow.baud = 9600; // a beam block takes 200 ms on the line
    SimulatedInstrument rig(slow);
    ASSERT_TRUE(rig.Open());
    TestEventPump events;
    rig.link->SetEventPump(&events);
    int crossing = -2;
    events.onTurn = [&](int turn) {
        if (turn == 1)
            crossing = rig.link->ReadTemperature();
    };
    BeamBlock block;
    EXPECT_TRUE(rig.link->ReadBeamBlock(0, block));
    EXPECT_FALSE(block.clamped);
    EXPECT_NE(crossing, -2) << "the event ran inside the wait";
    std::array<qint16, kChannelTable> values{};
    EXPECT_EQ(rig.link->ReadAllBeams(values), 4) << "the line is in step afterwards";
}

} // namespace
} // namespace bandora::test
