#include "AnalyticsOptions.h"

#include <cmath>

namespace bandora {

QString AnalyticsOptions::Problem() const
{
    if (BinMinutes < 1 || BinMinutes > 1440)
        return QStringLiteral("The bin must be 1 to 1440 minutes");
    if (RestMinutes < 1 || RestMinutes > 1440)
        return QStringLiteral("A rest bout must need 1 to 1440 minutes");
    if (!(PeriodMinHours >= 1.0) || !(PeriodMaxHours >= PeriodMinHours) || PeriodMaxHours > 240.0)
        return QStringLiteral("The periods must run from at least 1 h up to at most 240 h");
    if (!(PeriodStepHours >= 0.01) || (PeriodMaxHours - PeriodMinHours) / PeriodStepHours >= 1000.0)
        return QStringLiteral("The period step must be at least 0.01 h, for at most 1000 periods");
    if (!(Alpha > 0.0 && Alpha < 1.0))
        return QStringLiteral("The significance level must lie between 0 and 1");
    if (!(ActogramPeriodHours >= 1.0 && ActogramPeriodHours <= 240.0))
        return QStringLiteral("The actogram period must be 1 to 240 h");
    return {};
}

} // namespace bandora
