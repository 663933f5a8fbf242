// The arithmetic of the run start and of the calibration: the disk warning,
// one adjustment step of a receiver and the autozero.

#include "core/AppState.h"
#include "core/acquisition/Calibration.h"
#include "core/acquisition/CycleState.h"
#include "core/acquisition/RunControl.h"
#include "support/ScriptWindow.h"
#include "support/ScriptedOperator.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(RunRules, DiskWarningOnlyWhenSpaceIsShortOrTheLapseLong)
{
    EXPECT_TRUE(DiskWarningText(100, 100000).isEmpty());
    EXPECT_TRUE(DiskWarningText(1000, 1400).isEmpty()); // 1000 MB left over is enough
    const QString low = DiskWarningText(1000, 1300); // 400 MB needed, 900 left
    EXPECT_EQ(low, QStringLiteral("Programmed Acquisition lapse = 1000minutes & RealTime_recording=YES\r\n"
                                  "Required Disk space for RealTime Saving = 400MB\r\n"
                                  "Current Disk Space=1300MB\r\nLOW DISK SPACE\r\n"));
    const QString both = DiskWarningText(1000, 500);
    EXPECT_TRUE(both.contains(QStringLiteral("LOW DISK SPACE\r\nNOT ENOUGH DISK SPACE\r\n (Please, Increase")));
    // 3000 minutes need 1200 MB: a warning whatever the space.
    EXPECT_TRUE(DiskWarningText(3000, 10'000'000).contains(QStringLiteral("= 1200MB")));
    EXPECT_GE(FreeDiskMegabytes(QStringLiteral(".")), 0);
}

TEST(RunRules, ReceiverStepsTowardTheWindowAndStopAtItsEdges)
{
    qint16 pin = 2, gain = 7;
    bool done = false;
    int dir = 0;
    EXPECT_TRUE(Calibration::AdjustChannel(1600, pin, gain, done, dir));
    EXPECT_EQ(pin, 3);
    EXPECT_EQ(gain, 0);
    EXPECT_EQ(dir, 1);

    pin = 1, gain = 0, done = false, dir = 0;
    EXPECT_FALSE(Calibration::AdjustChannel(2000, pin, gain, done, dir));
    EXPECT_TRUE(done);
    EXPECT_EQ(pin, 1);

    // Stepped down from 1900, then 1600: the lower setting stays.
    pin = 3, gain = 4, done = false, dir = 0;
    EXPECT_TRUE(Calibration::AdjustChannel(1900, pin, gain, done, dir));
    EXPECT_EQ(gain, 3);
    EXPECT_FALSE(Calibration::AdjustChannel(1600, pin, gain, done, dir));
    EXPECT_TRUE(done);
    EXPECT_EQ(gain, 3);

    // Overshooting upward turns round on the next pass.
    pin = 3, gain = 4, done = false, dir = 1;
    EXPECT_TRUE(Calibration::AdjustChannel(1900, pin, gain, done, dir));
    EXPECT_EQ(dir, 0);
    EXPECT_EQ(gain, 4);
    pin = 7, gain = 7, done = false, dir = 0;
    EXPECT_FALSE(Calibration::AdjustChannel(100, pin, gain, done, dir));
    EXPECT_TRUE(done);
}

TEST(RunRules, AutozeroThresholdFromAmplitudeOverSignal)
{
    ScriptedOperator op;
    TestClock clock;
    TestEventPump events;
    AppState state(QStringLiteral("."), op, clock, events);
    state.instrument.OfflineMode = true;
    state.run.State = AcquisitionState::Running;
    state.run.SnrThreshold = 1.7;
    CycleState cycle(500);
    // Channel 0 swings 1990/2010: amplitude 20 on 2000; channel 1 is dark.
    for (int k = 0; k < 100; ++k) {
        cycle.Sample(0, k) = k % 2 ? 2010 : 1990;
        cycle.Sample(1, k) = 0;
    }
    ScriptWindow window;
    Calibration cal(state, cycle, window);
    cal.RunAutoZero();
    EXPECT_NEAR(state.project.setup.ChannelThreshold[0], 2.7, 1e-9);
    EXPECT_EQ(state.project.setup.ChannelThreshold[1], 1.0);
    EXPECT_EQ(window.calibrating.last(), QStringLiteral("AutoZero... <99>"));
}
