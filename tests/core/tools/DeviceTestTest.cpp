#include "support/SimulatedInstrument.h"

#include "core/AppState.h"
#include "core/tools/DeviceTest.h"

#include <gtest/gtest.h>

namespace bandora::test {
namespace {

TEST(DeviceTest, EachStepWritesItsRowsAndDiagonals)
{
    const auto row = [](int r) {
        std::vector<int> v;
        for (int i = 0; i < 24; ++i)
            v.push_back(16 * i + r);
        return v;
    };
    EXPECT_EQ(DeviceTest::ChannelsOfStep(10), row(0)); // row A: 0, 16, .. 368
    EXPECT_EQ(DeviceTest::ChannelsOfStep(25), row(15)); // row P: 15, 31, .. 383
    EXPECT_EQ(DeviceTest::ChannelsOfStep(26), (std::vector<int>{0, 64, 128, 383, 319, 255}));
    EXPECT_EQ(DeviceTest::ChannelsOfStep(89), (std::vector<int>{63, 127, 191, 320, 256, 192}));
    EXPECT_EQ(DeviceTest::SettingOfStep(10), 231);
    EXPECT_EQ(DeviceTest::SettingOfStep(26), 0);
    EXPECT_EQ(DeviceTest::SettingOfStep(90), 66);
    for (int quiet : {0, 3, 6, 8, 9, 106, 120})
        EXPECT_TRUE(DeviceTest::ChannelsOfStep(quiet).empty()) << quiet;
}

struct TestRig {
    SimulatedInstrument rig;
    TestEventPump events;
    AppState app{rig.AppDir(), rig.op, rig.clock, events};
    DeviceTest test{app.services, app.instrument, app.run};

    TestRig()
    {
        EXPECT_TRUE(rig.Open());
        app.instrument.link = rig.link.get();
    }
    std::array<quint8, kChannels> Settings()
    {
        std::array<quint8, kChannels> s{};
        rig.sim->WithModel([&](sim::InstrumentModel& m) {
            for (int ch = 0; ch < kChannels; ++ch)
                s[size_t(ch)] = m.ChannelSetting(ch);
        });
        return s;
    }
};

TEST(DeviceTest, AWholeRunLightsRowsAndLeavesEveryChannelAtTheMiddleSetting)
{
    TestRig t;
    ASSERT_TRUE(t.test.Start());
    int paints = 0;
    int ticks = 0;
    while (t.test.Tick([&] { ++paints; })) {
        ++ticks;
        ASSERT_LT(ticks, 200);
    }
    EXPECT_EQ(ticks, 121);
    EXPECT_EQ(paints, 121);
    EXPECT_FALSE(t.test.Running());
    for (quint8 s : t.Settings())
        EXPECT_EQ(s, 66);
    EXPECT_EQ(t.rig.op.texts(),
              (QStringList{t.rig.op.texts().value(0), "Turning ON A1-D1", "Turning OFF A1-D1", "OK to proceed?",
                           "All beams answered"}));
    EXPECT_GT(t.test.Signal()[200], 0) << "the map shows the beams read";
}

TEST(DeviceTest, RefusalsCancelAndNoAtTheQuestion)
{
    TestRig t;
    t.app.run.State = AcquisitionState::Paused;
    EXPECT_FALSE(t.test.Start());
    EXPECT_EQ(t.rig.op.texts(), QStringList{"Stop acquisition before Testing"});
    EXPECT_FALSE(t.test.Tick({}));
    EXPECT_EQ(t.rig.sim->FramesReceived(), 0);

    t.app.run.State = AcquisitionState::Stopped;
    t.rig.op.answers.enqueue(Answer::Cancel);
    EXPECT_FALSE(t.test.Start());
    EXPECT_FALSE(t.test.Tick({}));

    const auto before = t.Settings();
    t.rig.op.answers.enqueue(Answer::Ok);
    ASSERT_TRUE(t.test.Start());
    t.rig.op.answers.append({Answer::Ok, Answer::Ok, Answer::No});
    int ticks = 0;
    while (t.test.Tick({}))
        ++ticks;
    EXPECT_EQ(ticks, 9) << "steps 0..8 ran, the No at step 9 ended the test";
    EXPECT_EQ(t.rig.op.texts().last(), "OK to proceed?");
    const auto after = t.Settings();
    for (int ch = 0; ch < kChannels; ++ch)
        EXPECT_EQ(after[size_t(ch)], ch < 4 ? 0 : before[size_t(ch)]) << ch;
}

TEST(DeviceTest, ABadBlockOrAFailedWriteStopsTheTest)
{
    TestRig t;
    ASSERT_TRUE(t.test.Start());
    // Ticks 0..4 read 20 blocks; the instrument falls silent in the writes
    // of step 4.
    sim::FaultOptions unplug;
    unplug.silenceAfter = 22;
    t.rig.sim->SetFaults(unplug);
    int ticks = 0;
    while (t.test.Tick({}))
        ++ticks;
    EXPECT_EQ(ticks, 4);
    EXPECT_EQ(t.test.TestStep(), 121);
    EXPECT_TRUE(t.rig.op.texts().last().startsWith("Ops...Data Writing ERROR: reg(")) << t.rig.op.texts().join('|').toStdString();

    // A block that does not come: "COM Error" at once, nothing written.
    ASSERT_TRUE(t.test.Start());
    EXPECT_FALSE(t.test.Tick({}));
    EXPECT_EQ(t.rig.op.texts().last(), "COM Error");
    EXPECT_FALSE(t.test.Running());
}

} // namespace
} // namespace bandora::test
