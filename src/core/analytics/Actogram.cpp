#include "Actogram.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace bandora {

Actogram ComputeActogram(const MinuteSeries& s, const QString& subject, std::span<const double> perSample,
                         int binMinutes, double periodHours)
{
    Actogram a;
    a.Subject = subject;
    a.BinMinutes = binMinutes;
    a.PeriodMinutes = std::max<qint64>(1, std::llround(periodHours * 60.0));
    a.BinsPerDay = int((a.PeriodMinutes + binMinutes - 1) / binMinutes);
    if (s.Samples == 0)
        return a;
    const qint64 lastZt = s.ZtMinute(s.SampleMinute(s.Samples - 1));
    a.Days = int(lastZt / a.PeriodMinutes) + 1;
    const size_t cells = size_t(a.Days) * size_t(a.BinsPerDay);
    a.Value.assign(cells, std::numeric_limits<double>::quiet_NaN());
    a.Phase.resize(cells);
    for (int d = 0; d < a.Days; ++d)
        for (int b = 0; b < a.BinsPerDay; ++b)
            a.Phase[size_t(d) * size_t(a.BinsPerDay) + size_t(b)] =
                s.PhaseAt(d * a.PeriodMinutes + qint64(b) * binMinutes - s.StartZtMinutes);
    for (qint64 k = 0; k < s.Samples; ++k) {
        if (!s.IsPresent(k))
            continue;
        const qint64 z = s.ZtMinute(s.SampleMinute(k));
        const qint64 d = z / a.PeriodMinutes;
        const qint64 b = std::min<qint64>((z - d * a.PeriodMinutes) / binMinutes, a.BinsPerDay - 1);
        double& cell = a.Value[size_t(d) * size_t(a.BinsPerDay) + size_t(b)];
        cell = (std::isnan(cell) ? 0.0 : cell) + perSample[size_t(k)];
    }
    for (double v : a.Value)
        if (!std::isnan(v))
            a.Max = std::max(a.Max, v);
    return a;
}

} // namespace bandora
