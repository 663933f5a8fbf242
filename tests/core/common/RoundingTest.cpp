#include "core/common/Rounding.h"

#include <gtest/gtest.h>

#include <limits>

using namespace bandora;

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    for (const auto& [x, n] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {-0.6, -1}})
        EXPECT_EQ(RoundHalfEven(x), n) << x;
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_GT(RoundHalfEven(1e300), 0);
    EXPECT_FALSE(ToInt16(32767.5).has_value());
    EXPECT_EQ(ToInt16(-32768.4).value(), -32768);
}

TEST(Rounding, DecimalsAreRoundedOnTheTypedValue)
{
    for (const auto& [x, rounded] :
         {std::pair{2.34567, 2.346}, {2.3465, 2.346}, {2.3475, 2.348}, {-1.0005, -1.0}, {3.0, 3.0}})
        EXPECT_DOUBLE_EQ(RoundToDecimals(x, 3), rounded) << x;
}
