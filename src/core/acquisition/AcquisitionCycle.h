#pragma once

// The body of the main window's acquisition timer: one tick reads one fresh
// value of every beam into the cycle's ring buffers, runs the detection, and
// at fixed points draws, reads the temperature, drives the light and
// temperature tools, keeps the elapsed time, records the buffer cycle and
// ends the run when its lapse has passed. Nothing here knows a widget: the
// window's part is reached through LiveDisplay and the hooks below.

#include "BeamDetection.h"
#include "CycleState.h"
#include "core/link/Frames.h"
#include "core/storage/ExperimentRecorder.h"

#include <QString>

#include <array>
#include <functional>

namespace bandora {

struct AppState;
class LightTemperatureControl;
class LiveDisplay;

// What the cycle asks of the window around it.
struct CycleHooks {
    std::function<void()> StopTimer;                 // Timeradq off
    std::function<void()> Report;                    // the report action on the finished experiment
    std::function<void()> StopRun;                   // the stop at the lapse end
    std::function<void(const QString&)> Caption;     // the calibrating label (blank reading)
    // Recording is failing (the reason), or works again (empty text).
    std::function<void(const QString&)> RecordingStatus;
    // The automatic recalibration of the channels not marked done.
    std::function<void(std::array<bool, kChannelTable>&)> AutoAdjust;
};

class AcquisitionCycle {
public:
    AcquisitionCycle(AppState& state, CycleState& cycle, LightTemperatureControl& tools, LiveDisplay& display,
                     ExperimentRecorder& recorder);

    CycleHooks hooks;

    // One timer event.
    void OnAcquisitionTick();

    // Whole minutes of run time at the last time keeping (at most 32767).
    qint32 ElapsedMinutes() const { return elapsedMinutes_; }
    // Why the last buffer cycle could not be recorded; empty while it can.
    const QString& RecordingProblem() const { return recordingProblem_; }

private:
    void Prime();
    void ReadBeams();
    void BufferCycleEnd();
    // False when the run ended at its lapse.
    bool TimeKeeping();

    AppState& state_;
    CycleState& cycle_;
    LightTemperatureControl& tools_;
    LiveDisplay& display_;
    ExperimentRecorder& recorder_;
    qint32 elapsedMinutes_ = 0;
    QString recordingProblem_;
    BeamBlock block_;
    std::array<qint16, kChannelTable> values_{};
    std::array<bool, kChannelTable> adjustDone_{};
};

} // namespace bandora
