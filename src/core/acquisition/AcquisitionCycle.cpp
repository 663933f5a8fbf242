#include "AcquisitionCycle.h"

#include "LiveDisplay.h"
#include "core/AppState.h"
#include "core/common/Clock.h"
#include "core/common/Operator.h"
#include "core/common/Rounding.h"
#include "core/link/InstrumentLink.h"
#include "core/tools/LightTemperatureControl.h"

#include <algorithm>

namespace bandora {

namespace {

constexpr int kBlockStarts = 32;
constexpr int kPrimingPauseMs = 50;
constexpr int kTimeKeepingColumns = 25;

} // namespace

AcquisitionCycle::AcquisitionCycle(AppState& state, CycleState& cycle, LightTemperatureControl& tools,
                                   LiveDisplay& display, ExperimentRecorder& recorder)
    : state_(state), cycle_(cycle), tools_(tools), display_(display), recorder_(recorder)
{
}

void AcquisitionCycle::OnAcquisitionTick()
{
    if (state_.AcquisitionState != 1) {
        // Paused with the time counter running: the lapse keeps elapsing.
        TimeKeeping();
        return;
    }
    CycleState& c = cycle_;
    const ProjectSetup& p = state_.project;
    if (!state_.OfflineMode) {
        // The first replies of a buffer cycle are stale: read and dropped.
        if (c.Column <= 1 || c.TickCount <= 1)
            Prime();
        ReadBeams();
    }
    if (c.TickCount == p.DSP_Interval)
        display_.RedrawSignal();

    DetectionContext ctx = DetectionContext::For(state_.project, state_.plate, state_.BlankReading);
    ctx.AutoZero = state_.AutoZero;
    ctx.AutoCalibrate = state_.AutoCalibrate;
    ctx.Recording = state_.Recording;
    ctx.SnrThreshold = state_.SnrThreshold;
    ctx.CalPinHole = &state_.CalPinHole;
    ctx.CalGain = &state_.CalGain;
    const TickDetection detected = DetectTick(c, ctx);
    if (detected.BlankReadingEnded) {
        if (hooks.StopTimer)
            hooks.StopTimer();
        if (hooks.Caption)
            hooks.Caption(BlankReadingEndCaption(detected.BlankEndChannel));
    }

    if (c.PlotTicks > 1) {
        display_.DrawNewPoints();
        display_.DrawActivityPanel(tools_.TemperatureText());
        c.PlotTicks = 0;
    }
    ++c.BlankTickCount;
    ++c.Column;
    if (c.Column >= c.RT_Buffer()) {
        c.Column = 0;
        BufferCycleEnd();
        if (!recordingProblem_.isEmpty())
            return; // a record that could not be written ends the tick
    }
    if (c.Column % kTimeKeepingColumns == 0) {
        if (!TimeKeeping())
            return;
    }
    ++c.PlotTicks;
    if (c.WindowTick >= p.DSP_Interval) {
        c.WindowTick = 0;
        c.WindowToggle = c.WindowToggle == 0 ? 1 : 0;
    } else {
        ++c.WindowTick;
    }
    ++c.TotalTicks;
    ++c.TickCount;
}

void AcquisitionCycle::Prime()
{
    InstrumentLink& link = *state_.link;
    for (int b = 0; b <= cycle_.LastBlock; b += kBlockStarts)
        link.ReadBeamBlock(b, block_);
    state_.clock.pause(kPrimingPauseMs);
}

void AcquisitionCycle::ReadBeams()
{
    CycleState& c = cycle_;
    InstrumentLink& link = *state_.link;
    const int col = c.Column;
    for (int b = 0; b <= c.LastBlock; b += kBlockStarts) {
        const bool good = link.ReadBeamBlock(b, block_) && !block_.clamped;
        if (good) {
            StoreBlock(block_, b, values_);
            for (int bank = 0; bank < 3; ++bank)
                for (int m = 0; m < 32; ++m) {
                    const int ch = 128 * bank + b + m;
                    c.Sample(ch, col) = std::max<qint16>(values_[size_t(ch)], 0);
                }
        } else if (col > 1) {
            // A lost block repeats the previous column, so a dropped reply
            // looks like a still beam rather than an interruption.
            for (int bank = 0; bank < 3; ++bank)
                for (int m = 0; m < 32; ++m) {
                    const int ch = 128 * bank + b + m;
                    c.Sample(ch, col) = c.Sample(ch, col - 1);
                }
        }
    }
}

void AcquisitionCycle::BufferCycleEnd()
{
    const int raw = state_.OfflineMode ? -1 : state_.link->ReadTemperature();
    tools_.TakeTemperature(raw, state_.factory.Slope, state_.factory.Offset);
    tools_.RegulateAndSchedule();

    if (state_.AutoZero && !state_.BlankReading) {
        DetectionContext ctx = DetectionContext::For(state_.project, state_.plate, state_.BlankReading);
        ctx.AutoZero = true;
        ctx.AutoCalibrate = state_.AutoCalibrate;
        ctx.Recording = state_.Recording;
        ctx.SnrThreshold = state_.SnrThreshold;
        ctx.CalPinHole = &state_.CalPinHole;
        ctx.CalGain = &state_.CalGain;
        if (DetectBufferEnd(cycle_, ctx) && hooks.AutoAdjust) {
            adjustDone_.fill(false);
            hooks.AutoAdjust(adjustDone_);
        }
    }

    if (!state_.Recording)
        return;
    cycle_.IntervalCount[kChannels] = NearestInt16(tools_.Temperature * 10.0);
    const AppendResult written = recorder_.RecordBufferCycle(
        state_.project.Save_real == 1, cycle_.Sample, elapsedMinutes_,
        std::span<const qint16, kChannelTable>(cycle_.IntervalCount));
    recorder_.NoteOutcome(written, state_.clock.now());
    const QString problem = written.Ok ? QString() : written.Error;
    if (problem != recordingProblem_) {
        recordingProblem_ = problem;
        if (hooks.RecordingStatus)
            hooks.RecordingStatus(problem);
    }
}

bool AcquisitionCycle::TimeKeeping()
{
    const ProjectSetup& p = state_.project;
    const qint64 elapsedMs = std::max<qint64>(state_.RunStart.msecsTo(state_.clock.now()), 0);
    const double days = double(elapsedMs) / 86400000.0;
    elapsedMinutes_ = qint32(std::min<double>(days * 1440.0, 32767.0));
    if (elapsedMinutes_ >= p.Aq_lapse) {
        if (hooks.StopTimer)
            hooks.StopTimer();
        tools_.ActuatorOn = false;
        tools_.LightOn = false;
        tools_.ApplyOutputs();
        if (hooks.Report)
            hooks.Report();
        state_.op.inform(QStringLiteral("Acquisition finished"));
        if (hooks.StopRun)
            hooks.StopRun();
        display_.ShowElapsed(elapsedMs, elapsedMinutes_, p.Aq_lapse);
        return false;
    }
    display_.ShowElapsed(elapsedMs, elapsedMinutes_, p.Aq_lapse);
    tools_.PulseTrainAndPending(days * 1440.0);
    return true;
}

} // namespace bandora
