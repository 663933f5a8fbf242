#include "support/SimulatedInstrument.h"

#include <gtest/gtest.h>

namespace bandora::test {
namespace {

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
