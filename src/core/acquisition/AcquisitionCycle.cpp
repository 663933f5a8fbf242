#include "AcquisitionCycle.h"

#include "LiveDisplay.h"
#include "RecordingSpace.h"
#include "RunControl.h"
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
    : FreeBytes(FreeDiskBytes), state_(state), cycle_(cycle), tools_(tools), display_(display), recorder_(recorder)
{
    recorder_.onProblem = [this](const QString& problem) {
        if (hooks.RecordingStatus)
            hooks.RecordingStatus(problem);
    };
}

void AcquisitionCycle::OnAcquisitionTick()
{
    if (state_.run.State != AcquisitionState::Running) {
        // Paused with the time counter running: the lapse keeps elapsing.
        TimeKeeping();
        return;
    }
    CycleState& c = cycle_;
    const ProjectSetup& p = state_.project.setup;
    if (!state_.instrument.OfflineMode) {
        ReadOrProbe();
        // Window events run while the tick waits on the line: STOP or PAUSE
        // may have come meanwhile, and then the tick goes no further.
        if (state_.run.State != AcquisitionState::Running)
            return;
    }
    if (c.TickCount == p.DSP_Interval)
        display_.RedrawSignal();

    DetectionContext ctx = DetectionContext::For(state_.project.setup, state_.project.plate, state_.run.BlankReading);
    ctx.AutoZero = state_.run.AutoZero;
    ctx.AutoCalibrate = state_.run.AutoCalibrate;
    ctx.Recording = state_.run.Recording;
    ctx.SnrThreshold = state_.run.SnrThreshold;
    ctx.CalPinHole = &state_.instrument.CalPinHole;
    ctx.CalGain = &state_.instrument.CalGain;
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
        if (!BufferCycleEnd() || state_.run.State != AcquisitionState::Running)
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
    InstrumentLink& link = *state_.instrument.link;
    for (int b = 0; b <= cycle_.LastBlock; b += kBlockStarts)
        link.ReadBeamBlock(b, block_);
    state_.services.clock.pause(kPrimingPauseMs);
}

// While the instrument answers, one fresh value of every beam. When a whole
// tick's blocks fail and the instrument does not name itself either, it has
// stopped answering (unplugged, switched off): the run goes on, the window
// says so, and rather than waiting out every block of every tick the
// instrument is asked once a second (its port reopened, since a device that
// went away is a new one when it comes back) until it answers again.
void AcquisitionCycle::ReadOrProbe()
{
    CycleState& c = cycle_;
    const int blocks = c.LastBlock / kBlockStarts + 1;
    if (c.Column == 0)
        blocksAsked_ = blocksFailed_ = 0; // a buffer cycle begins
    blocksAsked_ += blocks;
    if (!linkProblem_.isEmpty()) {
        const qint64 now = state_.services.clock.monotonicMs();
        const bool due = now - lastProbeMs_ >= kProbeEveryMs;
        if (due)
            lastProbeMs_ = now;
        if (!due || !InstrumentAnswers()) {
            blocksFailed_ += blocks;
            ReadBeams(false); // the beams hold still meanwhile
            return;
        }
        SetLinkProblem(QString());
        Prime();
    } else if (c.Column <= 1 || c.TickCount <= 1) {
        // The first replies of a buffer cycle are stale: read and dropped.
        Prime();
    }
    const QDateTime tickStart = state_.services.clock.now();
    const int good = ReadBeams(true);
    blocksFailed_ += blocks - good;
    if (good == 0 && !InstrumentAnswers()) {
        lastProbeMs_ = state_.services.clock.monotonicMs();
        SetLinkProblem(QStringLiteral("THE INSTRUMENT IS NOT ANSWERING since %1. The run goes on; recording "
                                      "resumes when it answers again.")
                           .arg(tickStart.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))));
    }
}

bool AcquisitionCycle::InstrumentAnswers()
{
    InstrumentLink& link = *state_.instrument.link;
    return (link.IsOpen() || link.Reopen()) && link.LinkTest();
}

void AcquisitionCycle::SetLinkProblem(const QString& problem)
{
    linkProblem_ = problem;
    if (hooks.LinkStatus)
        hooks.LinkStatus(problem);
}

int AcquisitionCycle::ReadBeams(bool ask)
{
    CycleState& c = cycle_;
    InstrumentLink& link = *state_.instrument.link;
    const int col = c.Column;
    int goodBlocks = 0;
    for (int b = 0; b <= c.LastBlock; b += kBlockStarts) {
        const bool good = ask && link.ReadBeamBlock(b, block_) && !block_.clamped;
        goodBlocks += good ? 1 : 0;
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
    return goodBlocks;
}

bool AcquisitionCycle::BufferCycleEnd()
{
    // Beams that were not read repeat their last value: counted, a cycle of
    // them would read as animals at rest. Such a cycle is left out of both
    // files, so counts record r and real-time record r still pair, and the
    // gap shows as missing time.
    const bool mostlyFailed = blocksFailed_ * 2 > blocksAsked_;
    blocksAsked_ = blocksFailed_ = 0;
    const bool answering = !state_.instrument.OfflineMode && linkProblem_.isEmpty();
    const int raw = answering ? state_.instrument.link->ReadTemperature() : -1;
    tools_.TakeTemperature(raw, state_.instrument.factory.Slope, state_.instrument.factory.Offset);
    tools_.RegulateAndSchedule();
    if (mostlyFailed) {
        ++skippedCycles_;
        return true;
    }

    if (state_.run.AutoZero && !state_.run.BlankReading) {
        DetectionContext ctx =
            DetectionContext::For(state_.project.setup, state_.project.plate, state_.run.BlankReading);
        ctx.AutoZero = true;
        ctx.AutoCalibrate = state_.run.AutoCalibrate;
        ctx.Recording = state_.run.Recording;
        ctx.SnrThreshold = state_.run.SnrThreshold;
        ctx.CalPinHole = &state_.instrument.CalPinHole;
        ctx.CalGain = &state_.instrument.CalGain;
        if (DetectBufferEnd(cycle_, ctx) && hooks.AutoAdjust) {
            adjustDone_.fill(false);
            hooks.AutoAdjust(adjustDone_);
        }
    }

    display_.BufferCycleCounted();

    if (!state_.run.Recording)
        return true;
    const bool saveReal = state_.project.setup.Save_real == 1;
    cycle_.IntervalCount[kChannels] = NearestInt16(tools_.Temperature * 10.0);
    const AppendResult written = recorder_.RecordBufferCycle(
        saveReal, cycle_.Sample, elapsedMinutes_, std::span<const qint16, kChannelTable>(cycle_.IntervalCount));
    recorder_.NoteOutcome(written, state_.services.clock.now());
    if (hooks.DiskSpaceStatus && FreeBytes) {
        const QString& folder = recorder_.ExperimentFolder();
        hooks.DiskSpaceStatus(LowSpaceNotice(cycle_.RT_Buffer(), saveReal, FreeBytes(folder), folder));
    }
    return written.Ok;
}

bool AcquisitionCycle::TimeKeeping()
{
    const ProjectSetup& p = state_.project.setup;
    const qint64 elapsedMs = RunElapsedMs(state_.run, state_.services.clock);
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
        state_.services.op.inform(QStringLiteral("Acquisition finished"));
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
