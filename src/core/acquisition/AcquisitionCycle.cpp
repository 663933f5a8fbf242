#include "AcquisitionCycle.h"

#include "LiveDisplay.h"
#include "RecordingSpace.h"
#include "RunControl.h"
#include "core/AppState.h"
#include "core/common/Clock.h"
#include "core/common/Operator.h"
#include "core/common/Rounding.h"
#include "core/link/Commands.h"
#include "core/link/InstrumentLink.h"
#include "core/tools/LightTemperatureControl.h"

#include <algorithm>
#include <iterator>

namespace bandora {

namespace {

constexpr int kBlocks = int(std::size(kBlockFirsts));
constexpr int kPrimingPauseMs = 50;

} // namespace

AcquisitionCycle::AcquisitionCycle(AppState& state, CycleState& cycle, LightTemperatureControl& tools,
                                   LiveDisplay& display, ExperimentRecorder& recorder)
    : FreeBytes(FreeDiskBytes), state_(state), cycle_(cycle), tools_(tools), display_(display), recorder_(recorder)
{
    recorder_.onProblem = [this](const QString& problem) {
        if (hooks.RecordingStatus)
            hooks.RecordingStatus(problem);
    };
    steps_.RedrawSignal = [this] { display_.RedrawSignal(); };
    steps_.BlankReadingEnded = [this](int channel) {
        if (hooks.StopTimer)
            hooks.StopTimer();
        if (hooks.Caption)
            hooks.Caption(BlankReadingEndCaption(channel));
    };
    steps_.Draw = [this] {
        display_.DrawNewPoints();
        display_.DrawActivityPanel(tools_.TemperatureText());
    };
    // A record that could not be written ends the tick.
    steps_.BufferCycleEnd = [this] { return BufferCycleEnd() && state_.AcquisitionState == 1; };
    steps_.TimeKeeping = [this] { return TimeKeeping(); };
}

void AcquisitionCycle::OnAcquisitionTick()
{
    if (state_.AcquisitionState != 1) {
        // Paused with the time counter running: the lapse keeps elapsing.
        TimeKeeping();
        return;
    }
    if (!state_.OfflineMode) {
        if (synthetic_.ReadColumn)
            synthetic_.ReadColumn(cycle_);
        else
            ReadOrProbe();
        // Window events run while the tick waits on the line: STOP or PAUSE
        // may have come meanwhile, and then the tick goes no further.
        if (state_.AcquisitionState != 1)
            return;
    }
    ctx_ = DetectionContext::For(state_.project, state_.plate, state_.BlankReading);
    ctx_.CalPinHole = &state_.CalPinHole;
    ctx_.CalGain = &state_.CalGain;
    TakeRunFlags();
    RunTick(cycle_, ctx_, steps_);
}

void AcquisitionCycle::TakeRunFlags()
{
    ctx_.AutoZero = state_.AutoZero;
    ctx_.AutoCalibrate = state_.AutoCalibrate;
    ctx_.Recording = state_.Recording;
    ctx_.SnrThreshold = state_.SnrThreshold;
}

void AcquisitionCycle::Prime()
{
    InstrumentLink& link = *state_.link;
    for (const int first : kBlockFirsts)
        link.ReadBeamBlock(first, block_);
    state_.clock.pause(kPrimingPauseMs);
}

// While the instrument answers, one fresh value of every beam. When a whole
// tick's blocks fail and the instrument does not name itself either, it has
// stopped answering (unplugged, switched off): the run goes on, the window
// says so, and rather than waiting out every block of every tick the
// instrument is asked once a second (its port reopened, since a device that
// went away is a new one when it comes back) until it answers again.
void AcquisitionCycle::ReadOrProbe()
{
    const CycleState& c = cycle_;
    if (c.Column == 0)
        blocksAsked_ = blocksFailed_ = 0; // a buffer cycle begins
    blocksAsked_ += kBlocks;
    if (!linkProblem_.isEmpty()) {
        const qint64 now = state_.clock.monotonicMs();
        const bool due = now - lastProbeMs_ >= kProbeEveryMs;
        if (due)
            lastProbeMs_ = now;
        if (!due || !InstrumentAnswers()) {
            blocksFailed_ += kBlocks;
            ReadBeams(false); // the beams hold still meanwhile
            return;
        }
        SetLinkProblem(QString());
        Prime();
    } else if (c.Column <= 1 || c.TickCount <= 1) {
        // The first replies of a buffer cycle are stale: read and dropped.
        Prime();
    }
    const QDateTime tickStart = state_.clock.now();
    const int good = ReadBeams(true);
    blocksFailed_ += kBlocks - good;
    if (good == 0 && !InstrumentAnswers()) {
        lastProbeMs_ = state_.clock.monotonicMs();
        SetLinkProblem(QStringLiteral("THE INSTRUMENT IS NOT ANSWERING since %1. The run goes on; recording "
                                      "resumes when it answers again.")
                           .arg(tickStart.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))));
    }
}

bool AcquisitionCycle::InstrumentAnswers()
{
    InstrumentLink& link = *state_.link;
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
    int goodBlocks = 0;
    for (const int first : kBlockFirsts) {
        const bool good = ask && state_.link->ReadBeamBlock(first, block_) && !block_.clamped;
        goodBlocks += good ? 1 : 0;
        cycle_.StoreBlockColumn(good ? &block_ : nullptr, first);
    }
    return goodBlocks;
}

int AcquisitionCycle::ReadTemperature()
{
    if (!synthetic_.ReadColumn)
        return state_.link->ReadTemperature();
    return synthetic_.ReadTemperature ? synthetic_.ReadTemperature() : -1;
}

bool AcquisitionCycle::BufferCycleEnd()
{
    // Beams that were not read repeat their last value: counted, a cycle of
    // them would read as animals at rest. Such a cycle is left out of both
    // files, so counts record r and real-time record r still pair, and the
    // gap shows as missing time.
    const bool mostlyFailed = blocksFailed_ * 2 > blocksAsked_;
    blocksAsked_ = blocksFailed_ = 0;
    const bool answering = !state_.OfflineMode && linkProblem_.isEmpty();
    const int raw = answering ? ReadTemperature() : -1;
    tools_.TakeTemperature(raw, state_.factory.Slope, state_.factory.Offset);
    tools_.RegulateAndSchedule();
    if (mostlyFailed) {
        ++skippedCycles_;
        return true;
    }

    if (state_.AutoZero && !state_.BlankReading) {
        TakeRunFlags();
        if (DetectBufferEnd(cycle_, ctx_) && hooks.AutoAdjust) {
            adjustDone_.fill(false);
            hooks.AutoAdjust(adjustDone_);
        }
    }

    display_.BufferCycleCounted();

    if (!state_.Recording)
        return true;
    const bool saveReal = state_.project.Save_real == 1;
    cycle_.IntervalCount[kChannels] = NearestInt16(tools_.Temperature * 10.0);
    const AppendResult written = recorder_.RecordBufferCycle(
        saveReal, cycle_.Sample, elapsedMinutes_, std::span<const qint16, kChannelTable>(cycle_.IntervalCount));
    recorder_.NoteOutcome(written, state_.clock.now());
    if (hooks.DiskSpaceStatus && FreeBytes) {
        const QString& folder = recorder_.ExperimentFolder();
        hooks.DiskSpaceStatus(LowSpaceNotice(cycle_.RT_Buffer(), saveReal, FreeBytes(folder), folder));
    }
    return written.Ok;
}

bool AcquisitionCycle::TimeKeeping()
{
    const ProjectSetup& p = state_.project;
    const qint64 elapsedMs = RunElapsedMs(state_);
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
