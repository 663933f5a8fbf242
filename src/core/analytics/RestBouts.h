#pragma once

// Rest, the sleep-like quiescence of the field: a minute is still when the
// well counted nothing in it; a bout is a run of at least R still minutes
// (R = 1 is the larval zebrafish rule, 5 the fly rule) and lasts as many
// minutes as it holds. A missing minute ends a bout and is never rest.
//
// Per well, day (ZT days from 1) and light phase: the rest minutes, the
// number of bouts that start in the phase, their mean length and the
// latency from the phase's start (or the start of the recording, when the
// phase began before it) to the first of them.

#include "MinuteSeries.h"

#include <vector>

namespace bandora {

struct RestBout {
    qint64 StartMinute = 0; // since the start of the recording
    qint64 Minutes = 0;
};

struct RestPhase {
    int Day = 1;
    LightPhase Phase = LightPhase::None;
    qint64 StartMinute = 0;    // where the latency counts from
    qint64 RestMinutes = 0;
    int Bouts = 0;
    qint64 BoutMinutes = 0;    // of the bouts that start in the phase
    qint64 LatencyMinutes = -1; // -1: no bout starts in the phase

    double MeanBoutMinutes() const { return Bouts > 0 ? double(BoutMinutes) / Bouts : 0.0; }
};

struct WellRest {
    std::vector<RestBout> Bouts;
    std::vector<RestPhase> Phases; // in time order, the phases with recorded minutes
};

// The rest of every well (wells without a beam get nothing).
std::vector<WellRest> ComputeRest(const MinuteSeries& series, int restMinutes);

// "light", "dark", or "all" when the experiment had no light schedule.
QString PhaseName(LightPhase phase);

} // namespace bandora
