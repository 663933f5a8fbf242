#pragma once

// Which wells an analysis can trust. A well is inactive (dead or empty) from
// the first 24-hour window, moved on by an hour at a time, in which it moved
// in at most 1 % of the recorded minutes; a recording shorter than a day is
// one window. It is noisy when its counts sit at the detector's cap in at
// least half of the records, or when one of its beams is disabled in the
// experiment's status.dat. Wells the plate gives no beam are listed as such.

#include "MinuteSeries.h"

#include <vector>

namespace bandora {

enum class WellState { Ok, Inactive, Noisy, NoBeam };

struct WellStatus {
    WellState State = WellState::Ok;
    qint64 SinceMinute = -1; // inactive: the start of the first still window; -1 otherwise
    QString Reason;          // in words, empty for a well that is fine
};

// "ok", "inactive", "noisy", "no_beam".
QString WellStateName(WellState state);

std::vector<WellStatus> AssessWells(const MinuteSeries& series);

} // namespace bandora
