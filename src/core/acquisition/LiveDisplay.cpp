#include "LiveDisplay.h"

#include <algorithm>

namespace bandora {

QString ElapsedTimeText(qint64 elapsedMs)
{
    const qint64 seconds = std::max<qint64>(elapsedMs, 0) / 1000;
    const qint64 days = seconds / 86400;
    const qint64 inDay = seconds % 86400;
    return QStringLiteral("%1:%2:%3 [%4d]")
        .arg(inDay / 3600, 2, 10, QLatin1Char('0'))
        .arg(inDay / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(inDay % 60, 2, 10, QLatin1Char('0'))
        .arg(days);
}

} // namespace bandora
