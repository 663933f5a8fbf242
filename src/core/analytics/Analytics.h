#pragma once

// Every analysis of one experiment on one minute series, for the analytics
// view and bandora-analyze alike: the well status, the activity curves, rest
// and the periodograms of every well and every group's mean. Actograms are
// made on demand, one subject at a time.

#include "ActivityCurves.h"
#include "Actogram.h"
#include "AnalyticsOptions.h"
#include "MinuteSeries.h"
#include "Periodogram.h"
#include "RestBouts.h"
#include "WellStatus.h"

#include <vector>

namespace bandora {

// A well left out of its group's statistics, and why.
struct GroupExclusion {
    int Well = 0;
    int Group = 0;
    WellState State = WellState::Ok;
    QString Reason;
};

struct AnalyticsResult {
    AnalyticsOptions Options;
    std::vector<WellStatus> Status;            // per well
    std::vector<std::vector<int>> GroupWells;  // the wells each group's statistics take
    std::vector<GroupExclusion> Excluded;
    ActivityCurves Curves;
    std::vector<WellRest> Rest;                // per well
    std::vector<double> Periods;               // hours
    std::vector<SubjectPeriodograms> WellPeriodograms;  // per well; wells without a beam are refused
    std::vector<SubjectPeriodograms> GroupPeriodograms; // per group
};

AnalyticsResult RunAnalytics(const MinuteSeries& series, const AnalyticsOptions& options);

// The value of every sample: of one well, and the mean of a set of wells.
std::vector<double> WellSamples(const MinuteSeries& series, int well);
std::vector<double> MeanSamples(const MinuteSeries& series, const std::vector<int>& wells);

Actogram WellActogram(const MinuteSeries& series, const AnalyticsOptions& options, int well);
Actogram GroupActogram(const MinuteSeries& series, const AnalyticsResult& result, int group);

} // namespace bandora
