#pragma once

// The start, pause and stop of an experiment run. A run with a name records
// into a new experiment folder of the project; a run without one is Monitor
// mode (live display only). The widgets are the window's (RunWindow); the
// steps, questions and files are here.

#include "RunJournal.h"

#include <QString>

namespace bandora {

struct AppState;
struct CycleState;
class Calibration;
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

    // The experiment folder of the running recording (empty in Monitor mode).
    QString ExperimentFolder() const;

private:
    bool CreateExperimentFolder();
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
