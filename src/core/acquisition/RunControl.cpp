#include "RunControl.h"

#include "Calibration.h"
#include "CycleState.h"
#include "LiveDisplay.h"
#include "RecordingSpace.h"
#include "RunWindow.h"
#include "core/AppState.h"
#include "core/common/Clock.h"
#include "core/common/Operator.h"
#include "core/common/Rounding.h"
#include "core/link/InstrumentLink.h"
#include "core/storage/ExperimentFolderName.h"
#include "core/storage/ExperimentRecorder.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RecordSyntax.h"
#include "core/storage/SubprojectFile.h"
#include "core/tools/LightTemperatureControl.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

namespace bandora {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kTitle = QStringLiteral("Starting New acquisition...");

} // namespace

qint64 FreeDiskMegabytes(const QString& path)
{
    const QStorageInfo info(path);
    if (!info.isValid())
        return -1;
    return RoundHalfEven(double(info.bytesAvailable()) / 1024.0 / 1024.0);
}

QString DiskWarningText(qint16 aqLapse, qint64 freeMegabytes)
{
    const qint64 required = RoundHalfEven(double(aqLapse) * 4.0 / 10.0);
    QString text = QStringLiteral("Programmed Acquisition lapse = %1minutes & RealTime_recording=YES").arg(aqLapse) +
                   kCrLf + QStringLiteral("Required Disk space for RealTime Saving = %1MB").arg(required) + kCrLf +
                   QStringLiteral("Current Disk Space=%1MB").arg(freeMegabytes) + kCrLf;
    bool warn = false;
    if (freeMegabytes - required < 1000) {
        text += QStringLiteral("LOW DISK SPACE") + kCrLf;
        warn = true;
    }
    if (freeMegabytes - required < 200) {
        text += QStringLiteral("NOT ENOUGH DISK SPACE") + kCrLf +
                QStringLiteral(" (Please, Increase Disk Space Availablility or Deselect Realtime recording)");
        warn = true;
    }
    if (required > 1000)
        warn = true;
    return warn ? text : QString();
}

qint64 RunElapsedMs(const RunState& run, const Clock& clock)
{
    return std::max<qint64>(clock.monotonicMs() - run.RunStartMs, 0);
}

QString WriteExperimentFiles(const ProjectSetup& project, const QString& folder, const QString& experimentName,
                             const QString& description)
{
    try {
        SaveProject(project, folder);
        WriteSubprojectFile(folder, experimentName, description);
    } catch (const RecordError& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

QString NameDialogPrompt(bool autoCalibrationOn)
{
    const QStringList lines{
        QStringLiteral("*************************************************"),
        QStringLiteral("***   Enter a Name for this Experiment  ***"),
        QStringLiteral("*************************************************"),
        QStringLiteral("Comments:"),
        QStringLiteral("~~~~~~~"),
        autoCalibrationOn ? QStringLiteral("> Auto Calibration is ON: Use experimental Microplate Direclty.")
                          : QStringLiteral("> Auto Calibration is OFF: Remember to read Blank."),
        QStringLiteral("> To proceed to Monitor_mode (no calculation/recording) keep experiment name empty."),
    };
    return lines.join(kCrLf);
}

RunControl::RunControl(AppState& state, CycleState& cycle, LightTemperatureControl& tools, LiveDisplay& display,
                       ExperimentRecorder& recorder, Calibration& calibration, RunWindow& window)
    : FreeBytes(FreeDiskBytes), state_(state), cycle_(cycle), tools_(tools), display_(display), recorder_(recorder),
      calibration_(calibration), window_(window)
{
}

QString RunControl::ExperimentFolder() const
{
    return state_.run.Recording ? QDir(state_.project.folder).filePath(state_.run.ExperimentFolderName) : QString();
}

double RunControl::SnrForRunStart() const
{
    const double snr = NumericValue(window_.SnrText());
    return snr < 1.3 ? 1.8 : snr;
}

void RunControl::StartRun()
{
    Operator& op = state_.services.op;
    if (window_.DeviceTestRunning()) {
        op.inform(QStringLiteral("The device test is running: let it finish before starting an experiment."));
        return;
    }
    window_.StopDeviceTest();
    state_.run.ExperimentName.clear();
    if (state_.run.AutoRun) {
        state_.run.ExperimentName = QStringLiteral("Autorun project");
    } else {
        // Cancel on either prompt starts nothing; only an empty name
        // confirmed with OK gives a Monitor run.
        const auto name = op.promptOrCancel(NameDialogPrompt(state_.run.AutoCalibrate && state_.run.AutoZero), kTitle);
        if (!name)
            return;
        state_.run.ExperimentName = *name;
        if (state_.run.ExperimentName.isEmpty() &&
            op.ask(QStringLiteral("Name is EMPTY. Activity is NOT going to be CALCULATED/RECORDED!"),
                   Buttons::OkCancel) == Answer::Cancel) {
            const auto again = op.promptOrCancel(QStringLiteral("Enter a Name for this experiment"), kTitle);
            if (!again)
                return;
            state_.run.ExperimentName = *again;
        }
    }
    if (state_.project.setup.Num_proj == 0) {
        op.inform(QStringLiteral(
            "Operation not allowed in Project #0:Default. Go to <Setup> and Save it with another name"));
        window_.OpenSetup();
        return;
    }
    if (state_.instrument.OfflineMode) {
        op.inform(QStringLiteral(
            "Acquisition not allowed in OFFLINE MODE. Connect the equipment and restart the program."));
        return;
    }
    display_.ResetActivityPanel();

    if (state_.run.ExperimentName.isEmpty()) {
        state_.run.Recording = false;
    } else {
        if (!CheckDiskSpace())
            return;
        state_.run.Recording = true;
        if (!CreateExperimentFolder())
            return;
    }

    cycle_.ResetCounters();
    window_.CollectGroupWells();
    state_.run.State = AcquisitionState::Running;
    window_.ShowRunning(true);
    cycle_.ResetChannels();
    tools_.TemperatureSetpoint = NumericValue(window_.TemperatureText());
    const int raw = state_.instrument.link ? state_.instrument.link->ReadTemperature() : -1;
    tools_.TakeTemperature(raw, state_.instrument.factory.Slope, state_.instrument.factory.Offset);
    tools_.LightAtRunStart();

    if (state_.run.Recording && state_.run.AutoCalibrate && !state_.instrument.OfflineMode) {
        window_.ShowStatus(QStringLiteral("<AUTOCALIBRATION>"));
        window_.ScaleProgress(kChannels - 1, 10);
        state_.run.SnrThreshold = SnrForRunStart();
        calibration_.RunCalibration();
        window_.ShowStatus(QString());
        journal_.Manifest().CalibrationRun = true;
        journal_.Manifest().BeamsSettled = calibration_.beamsSettled;
    }
    if (state_.run.Recording && state_.run.AutoZero && !state_.instrument.OfflineMode) {
        window_.ShowStatus(QStringLiteral("<AUTOCALIBRATION>"));
        state_.run.SnrThreshold = SnrForRunStart();
        calibration_.RunAutoZero();
        window_.ShowStatus(QString());
    }
    if (Active(state_.run.State)) {
        display_.ResetSignalPlot();
        display_.ShowElapsed(0, 0, state_.project.setup.Aq_lapse);
        cycle_.TickCount = 0;
        state_.run.RunStart = state_.services.clock.now();
        state_.run.RunStartMs = state_.services.clock.monotonicMs();
        state_.run.LastStopReason.reset();
        display_.RunStarted();
        if (journal_.Open()) {
            journal_.Manifest().Start = state_.run.RunStart;
            journal_.Manifest().Snr = state_.run.SnrThreshold;
            journal_.Update();
        }
        window_.StartTimer();
    }
}

bool RunControl::CheckDiskSpace()
{
    const ProjectSetup& p = state_.project.setup;
    QString warning;
    if (p.Save_real == 1 && p.Aq_lapse > 30 && !state_.run.AutoRun)
        warning = DiskWarningText(p.Aq_lapse, FreeDiskMegabytes(state_.project.folder));
    // Beyond that rough rule, the records' own sizes tell what the whole
    // lapse can write.
    const QString shortfall =
        LapseSpaceWarning(p.Aq_lapse, p.RT_Buffer, p.Save_real == 1, FreeBytes(state_.project.folder),
                          state_.project.folder);
    if (state_.run.AutoRun) {
        // Nobody may be there to answer: the run starts and the window says so.
        window_.ShowLapseSpaceNotice(shortfall);
        return true;
    }
    if (warning.isEmpty() && !shortfall.isEmpty())
        warning = shortfall + kCrLf;
    if (!warning.isEmpty() &&
        state_.services.op.ask(QStringLiteral("WARNING:") + kCrLf + warning + kCrLf + QStringLiteral("PROCEED?"),
                               Buttons::YesNo) == Answer::No) {
        window_.OpenSetup();
        return false;
    }
    return true;
}

bool RunControl::CreateExperimentFolder()
{
    // The run before may have been killed in the middle of a record.
    const QString previous = NewestExperimentFolder(state_.project.folder);
    if (!previous.isEmpty())
        CutTornRecords(QDir(state_.project.folder).filePath(previous));

    // A run never writes into another run's folder: a second start in the
    // same minute gets a folder of its own, and the window says which.
    const QDateTime now = state_.services.clock.now();
    state_.run.ExperimentFolderName = FreshExperimentFolderName(state_.project.folder, now);
    const QString folder = QDir(state_.project.folder).filePath(state_.run.ExperimentFolderName);
    if (!QDir().mkpath(folder)) {
        state_.services.op.inform(QStringLiteral("The experiment folder %1 cannot be created.").arg(folder));
        return false;
    }
    if (ExperimentFolderSequence(state_.run.ExperimentFolderName) > 1)
        window_.ShowRunLabel(QStringLiteral("Recording into %1").arg(state_.run.ExperimentFolderName));
    // A full disk must not hold an unattended start at a message box: the
    // recording notice names the files, and they are written again at every
    // buffer cycle until they are complete.
    recorder_.Start(folder, [project = state_.project.setup, folder, name = state_.run.ExperimentName,
                             description = window_.DescriptionText()] {
        return WriteExperimentFiles(project, folder, name, description);
    });
    journal_.Begin(folder, ManifestAtRunStart(state_.project, state_.run, state_.services.clock));
    return true;
}

void RunControl::PauseRun()
{
    if (state_.run.State == AcquisitionState::Running) {
        if (state_.services.op.ask(QStringLiteral("Pause Time Counter?"), Buttons::YesNo) == Answer::Yes) {
            window_.StopTimer();
            state_.run.State = AcquisitionState::Paused;
            state_.run.PausedElapsedMs = RunElapsedMs(state_.run, state_.services.clock);
            state_.run.TimeCounterPaused = true;
            window_.ShowRunLabel(QStringLiteral("Time Counter = OFF"));
        } else {
            state_.run.TimeCounterPaused = false;
            state_.run.State = AcquisitionState::Paused;
            window_.ShowRunLabel(QStringLiteral("Time Counter = ON"));
        }
        window_.ShowStatus(QStringLiteral("<< PAUSED >>"));
        return;
    }
    if (state_.run.State == AcquisitionState::Paused && state_.run.TimeCounterPaused)
        state_.run.RunStartMs = state_.services.clock.monotonicMs() - state_.run.PausedElapsedMs;
    cycle_.TickCount = 0;
    window_.StartTimer();
    state_.run.State = AcquisitionState::Running;
    state_.run.TimeCounterPaused = false;
    window_.ShowStatus(QString());
}

void RunControl::StopRun(RunStopReason reason)
{
    // A calibration or tick waiting on the line gives up at once.
    if (state_.instrument.link)
        state_.instrument.link->AbandonWaits();
    if (journal_.Open()) {
        RunManifest& m = journal_.Manifest();
        const QDateTime now = state_.services.clock.now();
        m.RecordsWritten = recorder_.RecordsWritten();
        m.Failures = recorder_.Failures();
        const qint64 runMs = m.Start.msecsTo(now);
        m.TickRate = runMs > 0 ? cycle_.TotalTicks * 1000.0 / double(runMs) : 0.0;
        journal_.End(reason, now);
    }
    window_.StopDeviceTest();
    if (Active(state_.run.State)) {
        state_.run.State = AcquisitionState::Stopped;
        state_.run.LastStopReason = reason;
    }
    window_.StopTimer();
    window_.ShowStatus(QString());
    tools_.SwitchOff();
    state_.run.BlankReading = false;
    window_.ShowRunning(false);
    window_.ShowCalibrating(QString());
    cycle_.TickCount = 0;
}

} // namespace bandora
