#pragma once

// The start, pause and stop of an experiment run. A run with a name records
// into a new experiment folder of the project; a run without one is Monitor
// mode (live display only). The widgets are the window's (RunWindow); the
// steps, questions and files are here.

#include "RunJournal.h"

#include <QString>

#include <functional>

namespace bandora {

struct AppState;
struct CycleState;
struct ProjectSetup;
struct RunState;
class Calibration;
class Clock;
class ExperimentRecorder;
class LightTemperatureControl;
class LiveDisplay;
class RunWindow;

// Free space of the volume holding `path`, in megabytes rounded to the
// nearest; -1 when it cannot be told.
qint64 FreeDiskMegabytes(const QString& path);

// The disk warning for a lapse with real-time recording, or empty when the
// space is ample.
QString DiskWarningText(qint16 aqLapse, qint64 freeMegabytes);

// Run time so far, in milliseconds, on the monotonic clock.
qint64 RunElapsedMs(const RunState& run, const Clock& clock);

// The experiment's project files (setup.dat and its companions) and
// subproj.dat, written into the experiment folder. Returns why they could
// not be written ("<file>: <reason>"), empty when they were.
QString WriteExperimentFiles(const ProjectSetup& project, const QString& folder, const QString& experimentName,
                             const QString& description);

// The name dialog's prompt, lines separated by CR LF.
QString NameDialogPrompt(bool autoCalibrationOn);

class RunControl {
public:
    RunControl(AppState& state, CycleState& cycle, LightTemperatureControl& tools, LiveDisplay& display,
               ExperimentRecorder& recorder, Calibration& calibration, RunWindow& window);

    void StartRun();
    void PauseRun();
    // The reason goes into the run manifest of a recording run: the stop
    // button is the operator's; the lapse end, the closing program and a
    // failing recording or calibration say so where they stop the run.
    void StopRun(RunStopReason reason = RunStopReason::OperatorStop);

    // run.json of the recording under way (closed outside a recording).
    RunJournal& Journal() { return journal_; }

    // The experiment folder of the running recording (empty in Monitor mode).
    QString ExperimentFolder() const;

    // Free bytes on the volume of a folder (the system's answer; tests put
    // in their own).
    std::function<qint64(const QString&)> FreeBytes;

private:
    bool CreateExperimentFolder();
    // False when the operator turned the start down.
    bool CheckDiskSpace();
    double SnrForRunStart() const;

    AppState& state_;
    CycleState& cycle_;
    LightTemperatureControl& tools_;
    LiveDisplay& display_;
    ExperimentRecorder& recorder_;
    Calibration& calibration_;
    RunWindow& window_;
    RunJournal journal_;
};

} // namespace bandora
