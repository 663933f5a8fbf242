#pragma once

#include <QtGlobal>

#include <cmath>
#include <optional>

namespace bandora {

// Fractional values become integers by rounding to the nearest integer with
// halves going to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// Not-a-number gives 0 and values beyond the 64-bit range are clamped, so no
// caller can trip over an undefined conversion.
inline qint64 RoundHalfEven(double value)
{
    // Below 2^51 in size, adding and taking away 1.5 x 2^52 leaves the value
    // rounded by the processor's own round-to-nearest-even; the analysis of a
    // buffer cycle rounds thousands of values, so this path must be cheap.
    constexpr double kShifter = 6755399441055744.0;
    constexpr double kFastLimit = 2251799813685248.0;
    if (value > -kFastLimit && value < kFastLimit)
        return static_cast<qint64>((value + kShifter) - kShifter);
    if (std::isnan(value))
        return 0;
    constexpr double limit = 9.2e18;
    if (value >= limit)
        return static_cast<qint64>(limit);
    if (value <= -limit)
        return -static_cast<qint64>(limit);
    const double whole = std::floor(value);
    const double diff = value - whole;
    qint64 result = static_cast<qint64>(whole);
    if (diff > 0.5 || (diff == 0.5 && (result % 2 != 0)))
        ++result;
    return result;
}

// The 16-bit integer of settings, tables and counters, or nothing when the
// rounded value does not fit.
inline std::optional<qint16> ToInt16(double value)
{
    if (std::isnan(value))
        return std::nullopt;
    const qint64 r = RoundHalfEven(value);
    if (r < -32768 || r > 32767)
        return std::nullopt;
    return static_cast<qint16>(r);
}

// A level or count stored into a 16-bit table: rounded half to even and held
// inside the 16-bit range, so an odd threshold or a hand-edited setting bends
// a level instead of wrapping it round to the other sign.
inline qint16 NearestInt16(double value)
{
    const qint64 r = RoundHalfEven(value);
    if (r < -32768)
        return -32768;
    if (r > 32767)
        return 32767;
    return static_cast<qint16>(r);
}

// a / b for b > 0, rounded to the nearest integer with halves to even, in
// integer arithmetic so that sums of counts divide exactly however large.
inline qint64 RoundedQuotient(qint64 a, qint64 b)
{
    qint64 q = a / b;
    qint64 r = a % b;
    if (r < 0) { // make it the floor, with 0 <= r < b
        r += b;
        --q;
    }
    if (r > b - r || (r == b - r && (q % 2 != 0)))
        ++q;
    return q;
}

// Rounds to the given number of decimals with halves to even, on the decimal
// text of the value so that 2.3455 (stored as 2.34549999...) and 2.3465 behave
// as an operator reading them would expect.
double RoundToDecimals(double value, int decimals);

} // namespace bandora
