#include "LightTemperatureControl.h"

#include "core/common/Clock.h"
#include "core/storage/ProjectSetup.h"

#include <cmath>

namespace bandora {

namespace {

// Readings come in steps of the sensor and set points in tenths; a margin far
// below either keeps a reading that equals a band edge on the edge's side
// whatever the binary rounding of the sum.
constexpr double kEdge = 1e-9;

} // namespace

quint8 OutputStateCode(bool lightOn, bool heaterOn, bool actuatorOn)
{
    return quint8((lightOn ? 4 : 0) + (heaterOn ? 2 : 0) + (actuatorOn ? 1 : 0));
}

OutputLook LookOfOutputs(quint8 state)
{
    const bool light = state & 4;
    const bool heating = state & 2;
    const bool on = state & 1;
    return {light ? QStringLiteral("ON") : QStringLiteral("OFF"),
            light ? LampColour::Green : LampColour::Red,
            heating ? QStringLiteral("CALOR") : QStringLiteral("FRIO"),
            on ? QStringLiteral("ON") : QStringLiteral("OFF"),
            !on ? LampColour::White : heating ? LampColour::Red : LampColour::Blue};
}

LightTemperatureControl::LightTemperatureControl(ProjectSetup& project, OutputSender& sender, Clock& clock)
    : project_(project), sender_(&sender), clock_(clock)
{
}

void LightTemperatureControl::ApplyOutputs()
{
    const quint8 state = OutputState();
    sender_->SendOutputs(state);
    if (onApplied)
        onApplied(state);
}

// --- the panels ---------------------------------------------------------------

void LightTemperatureControl::Changed(bool running)
{
    if (running)
        ApplyPending = true;
    else
        ApplyOutputs();
}

void LightTemperatureControl::PressLight(bool running)
{
    LightOn = !LightOn;
    Changed(running);
}

void LightTemperatureControl::PressMode(bool running)
{
    // The element never changes mode while it runs.
    HeaterOn = !HeaterOn;
    ActuatorOn = false;
    Changed(running);
}

void LightTemperatureControl::PressActuator(bool running)
{
    ActuatorOn = !ActuatorOn;
    Changed(running);
}

void LightTemperatureControl::SetLightSchedule(bool on)
{
    LightSchedule = on;
    project_.Light().Enabled() = on ? 1 : 0;
}

void LightTemperatureControl::SetTemperatureControl(bool on)
{
    TemperatureControl = on;
    project_.Temperature().Enabled() = on ? 1 : 0;
}

void LightTemperatureControl::LoadFromProject()
{
    const auto light = project_.Light();
    const auto temperature = project_.Temperature();
    LightSchedule = light.Enabled() == 1;
    TemperatureControl = temperature.Enabled() == 1;
    if (light.OnHour() == 0 && light.OffHour() == 0) {
        light.OnHour() = 9;
        light.OffHour() = 21;
    }
    if (temperature.Setpointx10() < 20 || temperature.Setpointx10() > 500)
        temperature.Setpointx10() = 200;
}

int LightTemperatureControl::LightOnHour() const { return project_.Light().OnHour(); }
int LightTemperatureControl::LightOffHour() const { return project_.Light().OffHour(); }
int LightTemperatureControl::PulseTimes() const { return project_.Light().Pulses(); }
double LightTemperatureControl::PulseOnMinutes() const { return project_.Light().PulseOnTenths() / 10.0; }
double LightTemperatureControl::PulseOffMinutes() const { return project_.Light().PulseOffTenths() / 10.0; }

// --- run control ----------------------------------------------------------------

void LightTemperatureControl::LightAtRunStart()
{
    if (LightSchedule && PulseTimes() == 0) {
        const int h = clock_.now().time().hour();
        const int on = LightOnHour();
        const int off = LightOffHour();
        if (off > on)
            LightOn = on <= h && h < off;
        else if (off < on)
            LightOn = !(off <= h && h < on);
        else
            LightOn = false;
    }
    ApplyOutputs();
}

void LightTemperatureControl::SwitchOff()
{
    LightOn = false;
    ActuatorOn = false;
    ApplyOutputs();
}

// --- the acquisition cycle ----------------------------------------------------------

void LightTemperatureControl::TakeTemperature(int raw, double slope, double offset)
{
    Temperature = raw * slope + offset;
}

QString LightTemperatureControl::TemperatureText() const { return QString::number(Temperature, 'f', 1); }

void LightTemperatureControl::RegulateAndSchedule()
{
    const double t = Temperature;
    const double s = TemperatureSetpoint;
    if (!TemperatureControl || t <= kLowestRegulated + kEdge || t >= kHighestRegulated - kEdge) {
        HeaterOn = false;
        ActuatorOn = false;
    } else {
        if (t > s - 0.5 + kEdge && t < s + 0.5 - kEdge)
            ActuatorOn = false; // inside the dead band the element rests in its mode
        if (t >= s + 0.5 - kEdge) {
            HeaterOn = false;
            ActuatorOn = t >= s + 0.6 - kEdge;
        }
        if (t <= s - 0.5 + kEdge) {
            HeaterOn = true;
            ActuatorOn = t <= s - 0.6 + kEdge;
        }
    }
    if (LightSchedule) {
        const int h = clock_.now().time().hour();
        if (h == LightOnHour())
            LightOn = true;
        if (h == LightOffHour())
            LightOn = false;
    }
    ApplyOutputs();
}

void LightTemperatureControl::PulseTrainAndPending(double elapsedMinutes)
{
    const int times = PulseTimes();
    if (times > 0 && LightSchedule) {
        const double on = PulseOnMinutes();
        const double period = on + PulseOffMinutes();
        const double m = elapsedMinutes;
        // Without a period there is no train to run, only the state to send.
        if (period > 0 && m - period * times < 0) {
            const double phase = m - std::floor(m / period) * period;
            LightOn = phase < on;
        }
        ApplyOutputs();
    }
    if (ApplyPending) {
        ApplyPending = false;
        ApplyOutputs();
    }
}

} // namespace bandora
