#pragma once

// What the run control and the calibration ask of the main window: its
// buttons, boxes, labels and timer, without naming a widget. The main window
// implements it; tests script it.

#include <QString>

namespace bandora {

class RunWindow {
public:
    virtual ~RunWindow() = default;

    virtual void StartTimer() = 0; // Timeradq at 30 ms, enabled
    virtual void StopTimer() = 0;
    virtual void StopDeviceTest() {}
    // The device test talks to the instrument from its own timer: no run may
    // start while it goes.
    virtual bool DeviceTestRunning() const { return false; }
    // The main window's recording notice (non-modal, red): why recording
    // fails, empty when it works.
    virtual void ShowRecordingProblem(const QString& reason) { Q_UNUSED(reason); }
    // The notice that the lapse may need more disk than is free, for a start
    // that must not wait for an answer; empty hides it.
    virtual void ShowLapseSpaceNotice(const QString& text) { Q_UNUSED(text); }
    virtual void OpenSetup() = 0;
    // Run start (true): CmdPlay, CmdSetup, CmdOffline off, CmdPause on, the
    // setup and offline windows hidden, organism list and SNR box locked.
    // Stop (false): the reverse, CmdPause off.
    virtual void ShowRunning(bool running) = 0;
    // Blank reading: CmdSetup and CmdOffline off, the other windows hidden.
    virtual void LockForBlank() = 0;
    virtual QString DescriptionText() const = 0; // Txt_description
    virtual QString SnrText() const = 0;         // txt_snr_umbral
    virtual QString TemperatureText() const = 0; // txttemp
    // The status frame with its text; an empty text hides it.
    virtual void ShowStatus(const QString& text) = 0;
    // The run status label ("Time Counter = OFF").
    virtual void ShowRunLabel(const QString& text) = 0;
    // The calibrating label; an empty text hides it.
    virtual void ShowCalibrating(const QString& text) = 0;
    // The calibration progress bar: scaled, then marked at x.
    virtual void ScaleProgress(int width, int height) = 0;
    virtual void ProgressMark(int x) = 0;
    // The wells of the selected channel's group, for the group view.
    virtual void CollectGroupWells() {}
};

} // namespace bandora
