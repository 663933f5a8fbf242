#include "support/SimulatedInstrument.h"

#include "core/AppState.h"
#include "core/tools/FactoryRecord.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace bandora::test {
namespace {

TEST(FactoryRecord, ChecksEveryByteAndFallsBackToTheDefaults)
{
    FactoryCal cal = DecodeFactoryRecord({0, 3, 13, 1, 25, 219, 0, 0});
    EXPECT_TRUE(cal.Valid);
    EXPECT_EQ(cal.Month, 3);
    EXPECT_EQ(cal.Year, 13);
    EXPECT_DOUBLE_EQ(cal.Offset, -2.5);
    EXPECT_DOUBLE_EQ(cal.Slope, 0.219);

    cal = DecodeFactoryRecord({0, 11, 24, 0, 100, 0xC2, 0x01, 0}); // slope 450, offset 10.0: both at their limit
    EXPECT_TRUE(cal.Valid);
    EXPECT_DOUBLE_EQ(cal.Offset, 10.0);
    EXPECT_DOUBLE_EQ(cal.Slope, 0.45);

    const FactoryBytes invalid[] = {
        {0, 13, 24, 0, 5, 219, 0, 0},   // month 13
        {1, 5, 24, 0, 5, 219, 0, 0},    // not marked valid
        {0, 5, 100, 0, 5, 219, 0, 0},   // year 100
        {0, 5, 24, 2, 5, 219, 0, 0},    // sign 2
        {0, 5, 24, 0, 101, 219, 0, 0},  // offset 10.1
        {0, 5, 24, 0, 5, 0, 1, 0},      // slope 256 thousandths, but its low byte is 0
        {0, 5, 24, 0, 5, 99, 0, 0},     // slope 0.099
        {0, 5, 24, 0, 5, 0xC3, 0x01, 0}, // slope 0.451
        {0, 5, 24, 0, 5, 219, -1, 0},   // an address that gave no value
        {-1, -1, -1, -1, -1, -1, -1, -1},
    };
    for (const FactoryBytes& bytes : invalid) {
        cal = DecodeFactoryRecord(bytes);
        EXPECT_FALSE(cal.Valid) << bytes[1] << " " << bytes[4] << " " << bytes[5];
        EXPECT_DOUBLE_EQ(cal.Offset, 0.0);
        EXPECT_DOUBLE_EQ(cal.Slope, 0.219);
    }
}

struct StartupRead {
    SimulatedInstrument rig;
    TestEventPump events;
    AppState app{rig.AppDir(), rig.op, rig.clock, events};
    QList<qint64> turnTimes;
    QElapsedTimer timer;

    StartupRead()
    {
        EXPECT_TRUE(rig.Open());
        app.instrument.link = rig.link.get();
        events.onTurn = [this](int) { turnTimes << timer.elapsed(); };
        timer.start();
    }
};

// A live instrument's record read at start-up: the simulated start of the
// program (e2e) and the poor line below.
TEST(FactoryRecord, RetriesSurviveAPoorLine)
{
    StartupRead read;
    sim::FaultOptions poor;
    poor.rate = 0.2;
    poor.drop = poor.shortReply = true;
    read.rig.sim->SetFaults(poor);
    ReadFactoryCalibration(read.app.instrument, read.events, *read.rig.link);
    EXPECT_TRUE(read.app.instrument.factory.Valid);
    EXPECT_DOUBLE_EQ(read.app.instrument.factory.Offset, 0.5);
    EXPECT_GT(read.rig.clock.pausedMs, 8 * 2 * 200) << "some attempts were repeated";
}

TEST(FactoryRecord, AnInstrumentFallingSilentGivesTheDefaultsWithoutFreezing)
{
    StartupRead read;
    sim::FaultOptions unplug;
    unplug.silenceAfter = 10; // addresses 0x80..0x84 are read, then nothing answers
    read.rig.sim->SetFaults(unplug);
    ReadFactoryCalibration(read.app.instrument, read.events, *read.rig.link);
    EXPECT_FALSE(read.app.instrument.factory.Valid);
    EXPECT_DOUBLE_EQ(read.app.instrument.factory.Offset, 0.0);
    EXPECT_DOUBLE_EQ(read.app.instrument.factory.Slope, 0.219);
    EXPECT_EQ(read.app.instrument.factory.Month, 1) << "the bytes read before the silence were taken";
    ASSERT_EQ(read.turnTimes.size(), 8);
    // An address costs at most three attempts of three exchanges, each
    // bounded by the exchange wait and the settling of the line.
    const qint64 perExchange = InstrumentLink::kExchangeWaitMs + InstrumentLink::kExchangeWaitMs
                               + SerialTransport::kMaxSettleMs;
    qint64 previous = 0;
    for (qint64 t : read.turnTimes) {
        EXPECT_LT(t - previous, 9 * perExchange);
        previous = t;
    }
    EXPECT_EQ(read.rig.clock.pausedMs, 5 * 2 * 200 + 3 * 3 * 3 * 200);
}

} // namespace
} // namespace bandora::test
