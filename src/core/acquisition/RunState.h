#pragma once

#include "core/storage/RunStopReason.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace bandora {

// Where the experiment run stands. Set by the run control; the tool buttons
// only leave their change pending while it is Running. The numbers are the
// ones the program has always used for the three states.
enum class AcquisitionState { Stopped = 0, Running = 1, Paused = 2 };

// A run is under way (running or paused): the instrument belongs to it.
constexpr bool Active(AcquisitionState s) { return s != AcquisitionState::Stopped; }

// The experiment run: set by the run control, read by the cycle.
struct RunState {
    AcquisitionState State = AcquisitionState::Stopped;
    bool Recording = false;          // the run writes its experiment folder; false in Monitor mode
    QString ExperimentFolderName;    // "ddmmyyyy_hhmm" of the run start
    QString ExperimentName;          // empty in Monitor mode
    QDateTime RunStart;              // local date and time of the run start, for time stamps
    // Run time is counted on the monotonic clock, so a clock change (daylight
    // saving, a time server correction) neither shortens nor lengthens a run.
    qint64 RunStartMs = 0;           // Clock::monotonicMs() at the run start
    qint64 PausedElapsedMs = 0;      // run time when the time counter was paused
    std::optional<RunStopReason> LastStopReason;
    bool TimeCounterPaused = false;
    bool AutoRun = false;            // started with the run switch: the start asks nothing
    bool AutoCalibrate = false;      // mnCalibra
    bool AutoZero = false;           // mnZero: zero-mode detection
    double SnrThreshold = 1.8;
    bool BlankReading = false;       // the cycle learns thresholds instead of counting
    bool ManualCalibration = false;
};

} // namespace bandora
