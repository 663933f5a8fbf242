#pragma once

// A double-plotted actogram: the activity of a well or a group's mean in
// bins of B minutes, one period (24 h by default) per day, day 1 starting at
// the ZT0 at or before the start. Row d of the picture shows day d and day
// d + 1 side by side; bars are scaled to the largest bin of the plot, dark
// bins are shaded.

#include "MinuteSeries.h"

#include <span>
#include <vector>

namespace bandora {

struct Actogram {
    QString Subject;
    int BinMinutes = 30;
    qint64 PeriodMinutes = 1440;
    int BinsPerDay = 48;
    int Days = 0;
    std::vector<double> Value;      // [day x BinsPerDay + bin]; NaN where nothing was recorded
    std::vector<LightPhase> Phase;  // [day x BinsPerDay + bin]
    double Max = 0.0;               // the largest value: full bar height

    double At(int day, int bin) const { return Value[size_t(day) * size_t(BinsPerDay) + size_t(bin)]; }
    LightPhase PhaseAt(int day, int bin) const { return Phase[size_t(day) * size_t(BinsPerDay) + size_t(bin)]; }
};

// perSample: the subject's value of every sample of the series (missing
// samples are not read).
Actogram ComputeActogram(const MinuteSeries& series, const QString& subject, std::span<const double> perSample,
                         int binMinutes, double periodHours);

} // namespace bandora
