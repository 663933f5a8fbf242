#pragma once

// Activity over the day: the minute series summed into bins of B minutes
// aligned to ZT0 (so a bin never straddles a light change on the hour), per
// well, and per group the mean, standard deviation (n - 1), standard error
// and number of the wells. Bins without a recorded minute are missing.

#include "MinuteSeries.h"

#include <span>
#include <vector>

namespace bandora {

struct GroupBinStats {
    int N = 0;
    double Mean = 0.0, SD = 0.0, SEM = 0.0;
};

struct ActivityCurves {
    int BinMinutes = 30;
    qint64 FirstBin = 0;               // bin number of the first bin: ZT minute / B
    std::vector<qint64> StartMinute;   // per bin, minutes since the start (the first may be negative)
    std::vector<quint8> HasData;       // per bin
    std::vector<LightPhase> Phase;     // per bin
    std::vector<qint64> WellSum;       // [well x bins + bin]
    std::vector<GroupBinStats> Group;  // [group x bins + bin]

    size_t Bins() const { return StartMinute.size(); }
    qint64 Well(int w, size_t b) const { return WellSum[size_t(w) * Bins() + b]; }
    const GroupBinStats& GroupAt(int g, size_t b) const { return Group[size_t(g) * Bins() + b]; }
};

// groupWells: the wells of each group that the statistics take.
ActivityCurves ComputeCurves(const MinuteSeries& series, int binMinutes,
                             const std::vector<std::vector<int>>& groupWells);

} // namespace bandora
