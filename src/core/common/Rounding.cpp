#include "Rounding.h"

#include <QLocale>
#include <QString>

namespace bandora {

double RoundToDecimals(double value, int decimals)
{
    if (!std::isfinite(value) || decimals < 0 || decimals > 15)
        return value;
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (std::fabs(scaled) > 9e15)
        return value;

    // A tie is judged on the shortest decimal text of the value (the number
    // the operator typed or the file held), not on its binary approximation:
    // 2.3465 is a tie even though the double is a hair below it.
    const QString text = QString::number(value, 'f', QLocale::FloatingPointShortest);
    const int dot = text.indexOf(QLatin1Char('.'));
    if (dot >= 0 && text.size() - dot - 1 == decimals + 1 && text.endsWith(QLatin1Char('5'))) {
        const double down = std::trunc(scaled);
        const double up = down + (value < 0 ? -1.0 : 1.0);
        const bool downIsEven = std::fmod(std::fabs(down), 2.0) == 0.0;
        return (downIsEven ? down : up) / scale;
    }
    return static_cast<double>(RoundHalfEven(scaled)) / scale;
}

} // namespace bandora
