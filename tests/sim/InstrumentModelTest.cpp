#include "support/SimulatedInstrument.h"

#include "core/link/Commands.h"
#include "sim/InstrumentModel.h"

#include <gtest/gtest.h>

namespace bandora::test {
namespace {

using sim::InstrumentModel;
using sim::ModelOptions;

ModelOptions NoOrganisms()
{
    ModelOptions o;
    o.organismsPerWell = 0;
    return o;
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
