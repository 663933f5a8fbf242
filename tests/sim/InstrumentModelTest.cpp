#include "support/SimulatedInstrument.h"

#include "core/link/Commands.h"
#include "sim/InstrumentModel.h"

#include <gtest/gtest.h>

namespace bandora::test {
namespace {

using sim::InstrumentModel;
using sim::ModelOptions;

constexpr int kLow = 1638;
constexpr int kHigh = 1843;

quint8 Setting(int pinHole, int gain) { return quint8(gain * 32 + pinHole); }

// The receiver adjustment: each pass, every beam not yet seen inside the
// window moves its setting PinHole x 8 + Gain one step toward it. Returns the
// passes needed until every beam has been inside, or -1.
int Calibrate(InstrumentModel& model, int maxPasses)
{
    std::array<bool, kChannels> done{};
    for (int pass = 1; pass <= maxPasses; ++pass) {
        model.Advance(0.03);
        model.TakeSnapshot();
        bool allInside = true;
        for (int ch = 0; ch < kChannels; ++ch) {
            const int s = model.SnapshotValue(ch);
            done[ch] = done[ch] || (s >= kLow && s <= kHigh);
            if (done[ch])
                continue;
            allInside = false;
            const int level = (model.ChannelSetting(ch) & 7) * 8 + (model.ChannelSetting(ch) >> 5) + (s < kLow ? 1 : -1);
            model.SetChannelSetting(ch, Setting(level / 8, level % 8));
        }
        if (allInside)
            return pass;
    }
    return -1;
}

ModelOptions NoOrganisms()
{
    ModelOptions o;
    o.organismsPerWell = 0;
    return o;
}

TEST(InstrumentModel, CalibrationSettlesEveryBeamInTheWindowWithinAFewPasses)
{
    for (quint32 seed : {1u, 2u, 3u}) {
        ModelOptions options = NoOrganisms();
        options.seed = seed;
        InstrumentModel model(options, BuiltInPlate("w96f"));
        for (int ch = 0; ch < kChannels; ++ch)
            ASSERT_EQ(model.ChannelSetting(ch), Setting(2, 3)) << "the factory setting";
        const int passes = Calibrate(model, 10);
        EXPECT_GT(passes, 1) << "beams differ: some need adjusting";
        EXPECT_LE(passes, 5);
        for (int ch = 0; ch < kChannels; ++ch) {
            ASSERT_GE(model.BeamLevel(ch), kLow - 15) << ch;
            ASSERT_LE(model.BeamLevel(ch), kHigh + 15) << ch;
        }
    }

    // The extremes of the device test: all dark, all saturated.
    InstrumentModel model(NoOrganisms(), BuiltInPlate("w96f"));
    model.SetChannelSetting(10, Setting(7, 7));
    model.SetChannelSetting(11, 0);
    model.TakeSnapshot();
    EXPECT_EQ(model.SnapshotValue(10), 4095);
    EXPECT_LT(model.SnapshotValue(11), 150);
}

TEST(InstrumentModel, KeepsTheTrueCountOfEveryInterruption)
{
    ModelOptions options;
    options.activity = 30.0;
    options.emptyWellFraction = 0.2;
    options.seed = 11;
    InstrumentModel model(options, BuiltInPlate("w96f"));

    // Sample every beam at 30 ms, as the acquisition does, and count the
    // samples where a clear beam went dark.
    std::array<bool, kChannels> dark{};
    std::array<qint64, kChannels> seen{};
    for (int tick = 0; tick < 10000; ++tick) {
        model.Advance(0.03);
        model.TakeSnapshot();
        for (int ch = 0; ch < kChannels; ++ch) {
            const bool nowDark = model.SnapshotValue(ch) < 0.85 * model.BeamLevel(ch);
            seen[ch] += nowDark && !dark[ch];
            dark[ch] = nowDark;
        }
    }
    qint64 total = 0;
    for (int ch = 0; ch < kChannels; ++ch) {
        ASSERT_EQ(seen[ch], model.TrueInterruptions(ch)) << "channel " << ch;
        total += seen[ch];
        const int well = model.WellOfChannel(ch);
        if (well < 0)
            EXPECT_EQ(seen[ch], 0) << "a beam outside the wells is never crossed";
        else if (model.Organisms(well) == 0)
            EXPECT_EQ(seen[ch], 0) << "an empty well";
    }
    EXPECT_GT(total, 2000);
    int emptyWells = 0;
    for (int well = 0; well < 96; ++well)
        emptyWells += model.Organisms(well) == 0;
    EXPECT_GT(emptyWells, 5);
    EXPECT_LT(emptyWells, 40);
}

TEST(InstrumentModel, OrganismsMoveLessInTheDark)
{
    const auto crossings = [](bool light) {
        ModelOptions options;
        options.seed = 5;
        options.darkActivity = 0.25;
        InstrumentModel model(options, BuiltInPlate("w96f"));
        model.SetOutputs(light ? kOutputLight : 0);
        model.Advance(1800.0);
        qint64 total = 0;
        for (int ch = 0; ch < kChannels; ++ch)
            total += model.TrueInterruptions(ch);
        return double(total);
    };
    const double lit = crossings(true);
    const double dark = crossings(false);
    EXPECT_GT(lit, 2000);
    EXPECT_GT(dark / lit, 0.15);
    EXPECT_LT(dark / lit, 0.35);

    // A well set by hand.
    InstrumentModel model(NoOrganisms(), BuiltInPlate("w96f"));
    model.SetWell(0, 3, 60.0);
    model.SetOutputs(kOutputLight);
    model.Advance(600.0);
    EXPECT_GT(model.TrueInterruptions(0) + model.TrueInterruptions(16), 300);
    EXPECT_EQ(model.TrueInterruptions(2) + model.TrueInterruptions(18), 0);
}

} // namespace
} // namespace bandora::test
