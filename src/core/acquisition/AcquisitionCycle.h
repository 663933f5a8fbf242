#pragma once

// The body of the main window's acquisition timer: one tick reads one fresh
// value of every beam (from the instrument, or synthetic beams) into the
// cycle's ring buffers and runs RunTick on it, whose steps draw, read the
// temperature, drive the light and temperature tools, keep the elapsed time,
// record the buffer cycle and end the run when its lapse has passed. Nothing
// here knows a widget: the window's part is reached through LiveDisplay and
// the hooks below.

#include "CycleTick.h"
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
    // At every recorded buffer cycle: the low disk space notice, empty while
    // more than an hour of records fits.
    std::function<void(const QString&)> DiskSpaceStatus;
    // The instrument stopped answering (the text says since when), or
    // answers again (empty text).
    std::function<void(const QString&)> LinkStatus;
    // The automatic recalibration of the channels not marked done.
    std::function<void(std::array<bool, kChannelTable>&)> AutoAdjust;
};

// Beams that do not come from the instrument (a demonstration, a benchmark):
// ReadColumn fills column cycle.Column of Sample for beams 0..383 on every
// running tick; ReadTemperature gives the block's raw temperature reading at
// each buffer cycle's end (-1: none).
struct SyntheticBeams {
    std::function<void(CycleState&)> ReadColumn;
    std::function<int()> ReadTemperature;
};

class AcquisitionCycle {
public:
    AcquisitionCycle(AppState& state, CycleState& cycle, LightTemperatureControl& tools, LiveDisplay& display,
                     ExperimentRecorder& recorder);

    CycleHooks hooks;

    // One timer event.
    void OnAcquisitionTick();

    // The ticks read `beams` from now on instead of the instrument.
    void UseSyntheticBeams(SyntheticBeams beams) { synthetic_ = std::move(beams); }

    // Whole minutes of run time at the last time keeping (at most 32767).
    qint32 ElapsedMinutes() const { return elapsedMinutes_; }
    // Why the beams are not being read; empty while the instrument answers.
    const QString& LinkProblem() const { return linkProblem_; }
    // Buffer cycles of this program run left out of the records because
    // most of their beam reads failed.
    qint64 SkippedCycles() const { return skippedCycles_; }

    // How often an instrument that stopped answering is asked again.
    static constexpr int kProbeEveryMs = 1000;

    // Free bytes on the volume of a folder (the system's answer; tests put
    // in their own).
    std::function<qint64(const QString&)> FreeBytes;

private:
    void Prime();
    // One column of every beam (see CycleState::StoreBlockColumn); no block
    // is asked for while `ask` is false. The number of good blocks.
    int ReadBeams(bool ask);
    int ReadTemperature();
    // The run's switches into the detection context: read again at the
    // buffer cycle's end, since STOP may have come while the line was read.
    void TakeRunFlags();
    void ReadOrProbe();
    // True when the instrument (reopened if need be) names itself.
    bool InstrumentAnswers();
    void SetLinkProblem(const QString& problem);
    // False when the buffer cycle's records could not be written.
    bool BufferCycleEnd();
    // False when the run ended at its lapse.
    bool TimeKeeping();

    AppState& state_;
    CycleState& cycle_;
    LightTemperatureControl& tools_;
    LiveDisplay& display_;
    ExperimentRecorder& recorder_;
    qint32 elapsedMinutes_ = 0;
    QString linkProblem_;
    qint64 lastProbeMs_ = 0;
    qint64 skippedCycles_ = 0;
    int blocksAsked_ = 0;  // beam blocks wanted in this buffer cycle
    int blocksFailed_ = 0; // of which did not come
    BeamBlock block_;
    DetectionContext ctx_; // built once per tick
    TickSteps steps_;
    SyntheticBeams synthetic_;
    std::array<bool, kChannelTable> adjustDone_{};
};

} // namespace bandora
