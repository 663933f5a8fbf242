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
    EXPECT_DOUBLE_EQ(LapseFraction(15, 30), 0.5);
    EXPECT_DOUBLE_EQ(LapseFraction(40, 30), 1.0);
    EXPECT_DOUBLE_EQ(LapseFraction(0, 0), 1.0);

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

TEST(LiveDisplayFigures, OrganismPresetsOfTheSignalToNoiseFactor)
{
    using O = OrganismSettings;
    O s = O::Apply(O::kCElegans, 3.0, QStringLiteral("3.0"));
    EXPECT_DOUBLE_EQ(s.SnrThreshold, 1.8);
    EXPECT_EQ(s.boxText, QStringLiteral("1.8"));
    EXPECT_EQ(s.boxVisible, false);
    s = O::Apply(O::kZebrafishLarvae, 1.8, QStringLiteral("1.8"));
    EXPECT_DOUBLE_EQ(s.SnrThreshold, 2.8);
    EXPECT_EQ(s.boxText, QStringLiteral("2.8"));
    s = O::Apply(O::kCustomized, 1.8, QStringLiteral("2.5"));
    EXPECT_DOUBLE_EQ(s.SnrThreshold, 2.5);
    EXPECT_FALSE(s.boxText);
    EXPECT_EQ(s.boxVisible, true);
    // Too low a factor becomes 1.8 and is shown, whatever the organism.
    s = O::Apply(O::kCustomized, 2.0, QStringLiteral("1.4"));
    EXPECT_DOUBLE_EQ(s.SnrThreshold, 1.8);
    EXPECT_EQ(s.boxText, QStringLiteral("1.8"));
    s = O::Apply(8, 1.2, QStringLiteral("1.2"));
    EXPECT_DOUBLE_EQ(s.SnrThreshold, 1.8);
    EXPECT_FALSE(s.boxVisible);
    s = O::Apply(8, 2.2, QStringLiteral("2.2"));
    EXPECT_DOUBLE_EQ(s.SnrThreshold, 2.2);
    EXPECT_FALSE(s.boxText);
}
