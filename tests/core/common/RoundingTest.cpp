#include "core/common/Rounding.h"

#include <gtest/gtest.h>

#include <limits>

using namespace bandora;

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(-0.6), -1);
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_GT(RoundHalfEven(1e300), 0);
    EXPECT_FALSE(ToInt16(32767.5).has_value());
    EXPECT_EQ(ToInt16(-32768.4).value(), -32768);
}

TEST(Rounding, DecimalsAreRoundedOnTheTypedValue)
{
    EXPECT_DOUBLE_EQ(RoundToDecimals(2.34567, 3), 2.346);
    EXPECT_DOUBLE_EQ(RoundToDecimals(2.3465, 3), 2.346);
    EXPECT_DOUBLE_EQ(RoundToDecimals(2.3475, 3), 2.348);
    EXPECT_DOUBLE_EQ(RoundToDecimals(-1.0005, 3), -1.0);
    EXPECT_DOUBLE_EQ(RoundToDecimals(3, 3), 3.0);
}
