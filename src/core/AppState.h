#pragma once

// Program-wide state: created once by the start-up and handed to whoever
// needs it. Windows read and change it through this object.

#include "core/acquisition/RunState.h"
#include "core/storage/PlateFormat.h"
#include "core/storage/RunStopReason.h"
#include "core/storage/ProgramConfig.h"
#include "core/storage/ProjectSetup.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>

namespace bandora {

class Clock;
class EventPump;
class InstrumentLink;
class Operator;

// The instrument's factory temperature calibration: degrees Celsius =
// raw reading x Slope + Offset.
struct FactoryCal {
    bool Valid = true;
    qint16 Month = 0;
    qint16 Year = 0;
    qint16 OffsetSign = 0;
    double Offset = 0.0;
    double Slope = 0.219;
};

struct AppState {
    AppState(QString appDir, Operator& op, Clock& clock, EventPump& events)
        : appDir(std::move(appDir)), op(op), clock(clock), events(events) {}

    QString appDir;          // the program folder: config.dat, plate files, project 0
    QString projectFolder;   // the current project folder, no trailing separator

    ProgramConfig config;
    ProjectSetup project;
    PlateFormat plate;
    FactoryCal factory;

    bool OfflineMode = false;
    qint16 StartupStage = 0;

    // The serial link to the instrument, owned by the start-up (main()); set
    // before the instrument search, never null afterwards.
    InstrumentLink* link = nullptr;

    AcquisitionState State = AcquisitionState::Stopped;
    // The experiment run (set by the run control, read by the cycle).
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

    // The receivers' sensitivity, PinHole x 8 + Gain, per channel (calvalue.dat).
    std::array<qint16, kChannelTable> CalPinHole{};
    std::array<qint16, kChannelTable> CalGain{};

    // The channel shown in detail by the live display (0..384).
    qint16 SelectedChannel = 0;

    Operator& op;
    Clock& clock;
    EventPump& events;
};

} // namespace bandora
