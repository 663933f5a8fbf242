#pragma once

// The instrument's three switched outputs (the light, the temperature
// element's heating or cooling mode, and the element's on/off state) and the
// rules that drive them: the operator's buttons, the hourly light, the light
// pulse train and the temperature regulation run by the acquisition cycle.
// ApplyOutputs is the one operation that sends the state to the instrument;
// it tells the panels through onApplied, so no widget lives here.

#include "OutputSender.h"

#include <QString>

#include <functional>

namespace bandora {

class Clock;
struct ProjectSetup;

// Output state of SetOutputs: light x 4 + heating x 2 + element on x 1.
quint8 OutputStateCode(bool lightOn, bool heaterOn, bool actuatorOn);

enum class LampColour { Red, Green, Blue, White };

// What the panels show for an output state: the captions of cmd_luz,
// cmd_frio and cmd_ontemp and the fill of the lamps shape_light and shape_temp.
struct OutputLook {
    QString luz;
    LampColour light;
    QString frio;
    QString ontemp;
    LampColour temperature;
};
OutputLook LookOfOutputs(quint8 state);

class LightTemperatureControl {
public:
    // Regulation only between these temperatures: outside them the reading
    // is taken for a sensor fault and the element stays off.
    static constexpr double kLowestRegulated = 10.0;
    static constexpr double kHighestRegulated = 38.0;

    LightTemperatureControl(ProjectSetup& project, OutputSender& sender, Clock& clock);

    void SetSender(OutputSender& sender) { sender_ = &sender; }

    // Output state; not saved, it lives as long as the main window.
    bool LightOn = false;
    bool HeaterOn = false;   // heating ("CALOR"); false = cooling ("FRIO")
    bool ActuatorOn = false; // the element is on
    bool LightSchedule = false;      // Chk_lenabled
    bool TemperatureControl = false; // Chk_tenabled
    // A button was pressed during a run; the cycle sends it at its next
    // 25-sample step.
    bool ApplyPending = false;

    double TemperatureSetpoint = 20.0;
    double Temperature = 0.0; // last reading, degrees Celsius

    // Told the state just sent, after every ApplyOutputs.
    std::function<void(quint8)> onApplied;

    quint8 OutputState() const { return OutputStateCode(LightOn, HeaterOn, ActuatorOn); }

    // Sends SetOutputs with the current state and updates the panels.
    void ApplyOutputs();

    // --- the panels ------------------------------------------------------

    // cmd_luz, cmd_frio (switches the element off as it changes mode) and
    // cmd_ontemp. During a run (running = the run is active, not paused) the
    // change only waits for the cycle; otherwise it is sent at once.
    void PressLight(bool running);
    void PressMode(bool running);
    void PressActuator(bool running);

    // Chk_lenabled and Chk_tenabled: the switch and the project's Enable.
    void SetLightSchedule(bool on);
    void SetTemperatureControl(bool on);

    // Start-up: the schedule switches from the project; stored hours 0 and 0
    // become 9 and 21; a stored set point outside 2.0..50.0 degrees becomes
    // 20.0 (both written back into the project).
    void LoadFromProject();

    // The hours and the pulse train as stored in the project.
    int LightOnHour() const;
    int LightOffHour() const;
    int PulseTimes() const;
    double PulseOnMinutes() const;
    double PulseOffMinutes() const;

    // --- run control -----------------------------------------------------

    // Run start: with the schedule on and no pulse train, the light follows
    // the daily cycle at the present hour (an ON hour after the OFF hour
    // spans midnight); then the state is sent.
    void LightAtRunStart();
    // The end of a run (stop or lapse): light and element off, sent.
    void SwitchOff();

    // --- the acquisition cycle -------------------------------------------

    // Buffer-cycle end: the temperature read (raw x slope + offset; a
    // failed read, -1, gives offset - slope as it always has).
    void TakeTemperature(int raw, double slope, double offset);
    // Temperature as shown: "0.0".
    QString TemperatureText() const;
    // Buffer-cycle end, after TakeTemperature: the regulation with its dead
    // band, the light by the hour of the clock, and ApplyOutputs every time.
    void RegulateAndSchedule();
    // Every 25th sample of a run (every tick while paused), with the minutes
    // elapsed since the run started: the light pulse train, then a pending
    // button change.
    void PulseTrainAndPending(double elapsedMinutes);

private:
    void Changed(bool running);

    ProjectSetup& project_;
    OutputSender* sender_;
    Clock& clock_;
};

} // namespace bandora
