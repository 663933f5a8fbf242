// Calibration, autozero and the faults of a long run, against the virtual
// instrument.

#include "RunRig.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(CalibrationRun, CalibrationSettlesTheUsedBeamsIntoTheWindowAndWritesCalvalue)
{
    RunRig r;
    r.state.run.State = AcquisitionState::Running;
    ASSERT_FALSE(QFile::exists(r.cal.FilePath()));
    r.cal.RunCalibration();
    EXPECT_EQ(r.window.calibrating.first(), QStringLiteral("Writing First Time Calibration..."));
    EXPECT_EQ(r.window.calibrating.last(), QStringLiteral("Calibration OK"));
    ASSERT_TRUE(QFile::exists(r.cal.FilePath()));

    std::array<qint16, kChannelTable> values{};
    BeamBlock discard;
    for (int b = 0; b < 128; b += 32)
        r.state.instrument.link->ReadBeamBlock(b, discard);
    ASSERT_EQ(r.state.instrument.link->ReadAllBeams(values), 4);
    int used = 0, inside = 0;
    for (int ch = 0; ch < kChannels; ++ch) {
        if (r.state.project.plate.ChannelWell[size_t(ch)] < 0) {
            EXPECT_EQ(r.inst.sim->ChannelSetting(ch), 0) << ch;
            continue;
        }
        ++used;
        // Noise may carry a settled beam a few counts past the window's edge.
        if (values[size_t(ch)] >= Calibration::kLow - 20 && values[size_t(ch)] <= Calibration::kHigh + 20)
            ++inside;
        EXPECT_EQ(r.inst.sim->ChannelSetting(ch),
                  r.state.instrument.CalGain[size_t(ch)] * 32 + r.state.instrument.CalPinHole[size_t(ch)]);
    }
    EXPECT_GT(used, 0);
    EXPECT_GE(inside, used * 95 / 100) << inside << " of " << used;

    // The file reads back as written.
    const auto pin = r.state.instrument.CalPinHole;
    const auto gain = r.state.instrument.CalGain;
    r.state.instrument.CalPinHole.fill(0);
    r.state.instrument.CalGain.fill(0);
    ASSERT_TRUE(r.cal.ReadCalibrationFile());
    EXPECT_EQ(r.state.instrument.CalPinHole, pin);
    EXPECT_EQ(r.state.instrument.CalGain, gain);
}

TEST(CalibrationRun, ARunStartWithAutoCalibrationAndZeroCalibratesAndSetsThresholds)
{
    RunRig r;
    r.state.run.AutoCalibrate = true;
    r.state.run.AutoZero = true;
    r.window.snr = QStringLiteral("1.2");
    r.state.project.setup.ChannelThreshold.fill(0.0);
    r.Start(QStringLiteral("auto"));
    EXPECT_EQ(r.state.run.State, AcquisitionState::Running);
    EXPECT_DOUBLE_EQ(r.state.run.SnrThreshold, 1.8);
    EXPECT_TRUE(QFile::exists(r.cal.FilePath()));
    EXPECT_TRUE(r.inst.op.shown.first().text.contains(QStringLiteral("Auto Calibration is ON")));
    for (int ch = 0; ch < kChannels; ++ch)
        EXPECT_GE(r.state.project.setup.ChannelThreshold[size_t(ch)], 1.0) << ch;
    EXPECT_TRUE(r.window.calibrating.contains(QStringLiteral("AutoZero... <29>")));
    // Zero mode counts at the buffer-cycle end.
    EXPECT_EQ(r.Ticks(2 * 500), 1000);
    EXPECT_EQ(r.Size("counts.bin"), 2 * 774);
}

TEST(CalibrationRun, DroppedAndGarbledRepliesKeepOneCountsRecordPerBufferCycle)
{
    RunRig r;
    r.state.project.setup.RT_Buffer = 50;
    sim::FaultOptions faults;
    faults.rate = 0.01;
    faults.drop = true;
    faults.corrupt = true;
    r.inst.sim->SetFaults(faults);
    r.Start(QStringLiteral("faulty"));
    EXPECT_EQ(r.Ticks(20 * 50), 20 * 50);
    EXPECT_EQ(r.state.run.State, AcquisitionState::Running);
    EXPECT_EQ(r.Size("counts.bin"), 20 * 774);
    EXPECT_EQ(r.Size("0.bin"), 11 * 385LL * 51 * 2);
    EXPECT_TRUE(r.notice.isEmpty());
}
