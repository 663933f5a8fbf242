#pragma once

// The settings of the analyses, shared by the analytics view and
// bandora-analyze, with the defaults the field expects.

#include <QString>

namespace bandora {

struct AnalyticsOptions {
    int BinMinutes = 30;          // activity curves and actograms, bins aligned to ZT0
    int RestMinutes = 1;          // still minutes a rest bout needs (1 for zebrafish larvae, 5 for flies)
    double PeriodMinHours = 16.0; // periodograms: the periods tested
    double PeriodMaxHours = 32.0;
    double PeriodStepHours = 0.1;
    double Alpha = 0.01;          // significance level of the periodograms
    double ActogramPeriodHours = 24.0;
    bool ExcludeInactive = false; // leave inactive and noisy wells out of the group statistics

    // Empty when the settings can be used, else what is wrong with them.
    QString Problem() const;
};

} // namespace bandora
