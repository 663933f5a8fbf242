#include "core/acquisition/LiveDisplay.h"
#include "core/display/OrganismSettings.h"
#include "core/display/SignalTrace.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace bandora;

TEST(LiveDisplayFigures, ElapsedTextLapseAndZoomedValues)
{
    const qint64 day = 86400000;
    EXPECT_EQ(ElapsedTimeText(0), QStringLiteral("00:00:00 [0d]"));
    EXPECT_EQ(ElapsedTimeText(day + (2 * 3600 + 3 * 60 + 4) * 1000 + 999), QStringLiteral("02:03:04 [1d]"));
    EXPECT_EQ(ElapsedTimeText(-5000), QStringLiteral("00:00:00 [0d]"));

    EXPECT_EQ(PlotValue(1234, 2000, 0), 1234);
    EXPECT_EQ(PlotValue(1990, 2000, 3), 1720);
    EXPECT_EQ(PlotValue(1000, 2000, 10), 6); // never below the floor
    SampleTable samples(5);
    samples(7, 1) = 300;
    samples(7, 4) = 900;
    std::array<qint16, kChannelTable> reference{};
    ComputeChannelReference(samples, 3, reference);
    EXPECT_EQ(reference[7], 300);
    ComputeChannelReference(samples, 99, reference);
    EXPECT_EQ(reference[7], 900);
}

// What the organism list does to the factor and its box: the factor taken,
// the box text and visibility when they change. Too low a factor becomes 1.8
// and is shown, whatever the organism.
TEST(LiveDisplayFigures, OrganismPresetsOfTheSignalToNoiseFactor)
{
    using O = OrganismSettings;
    struct Case {
        int organism;
        double current;
        const char* box;
        double snr;
        const char* shown; // nullptr: the box text stays
        std::optional<bool> visible; // nullopt: the box stays as it is
    };
    const Case cases[] = {
        {O::kCElegans, 3.0, "3.0", 1.8, "1.8", false},   {O::kZebrafishLarvae, 1.8, "1.8", 2.8, "2.8", false},
        {O::kCustomized, 1.8, "2.5", 2.5, nullptr, true}, {O::kCustomized, 2.0, "1.4", 1.8, "1.8", true},
        {8, 1.2, "1.2", 1.8, "1.8", std::nullopt},        {8, 2.2, "2.2", 2.2, nullptr, std::nullopt},
    };
    for (const Case& c : cases) {
        const O s = O::Apply(c.organism, c.current, QString::fromLatin1(c.box));
        EXPECT_DOUBLE_EQ(s.SnrThreshold, c.snr) << c.organism << " " << c.box;
        EXPECT_EQ(s.boxText, c.shown ? std::optional<QString>(QString::fromLatin1(c.shown)) : std::nullopt)
            << c.organism << " " << c.box;
        EXPECT_EQ(s.boxVisible, c.visible) << c.organism << " " << c.box;
    }
}
