#include "core/storage/ProjectSetup.h"
#include "support/RecordingSender.h"
#include "core/tools/LightTemperatureControl.h"
#include "support/QtPrinters.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace bandora;
using namespace bandora::test;

namespace {

struct Rig {
    ProjectSetup project;
    RecordingSender sender;
    TestClock clock{QDateTime(QDate(2026, 12, 5), QTime(10, 30))};
    LightTemperatureControl tools{project, sender, clock};

    void At(int hour, int minute = 0) { clock.set(QDateTime(QDate(2026, 12, 5), QTime(hour, minute))); }
};

} // namespace

TEST(LightTemperatureControl, OutputStateAndTheLookOfThePanels)
{
    struct Row {
        const char* luz;
        LampColour light;
        const char* frio;
        const char* ontemp;
        LampColour temperature;
    };
    using L = LampColour;
    const Row table[8] = {
        {"OFF", L::Red, "FRIO", "OFF", L::White},  {"OFF", L::Red, "FRIO", "ON", L::Blue},
        {"OFF", L::Red, "CALOR", "OFF", L::White}, {"OFF", L::Red, "CALOR", "ON", L::Red},
        {"ON", L::Green, "FRIO", "OFF", L::White}, {"ON", L::Green, "FRIO", "ON", L::Blue},
        {"ON", L::Green, "CALOR", "OFF", L::White}, {"ON", L::Green, "CALOR", "ON", L::Red},
    };
    for (int code = 0; code < 8; ++code) {
        EXPECT_EQ(OutputStateCode(code & 4, code & 2, code & 1), code);
        const OutputLook look = LookOfOutputs(quint8(code));
        EXPECT_EQ(look.luz, QLatin1String(table[code].luz)) << code;
        EXPECT_EQ(look.light, table[code].light) << code;
        EXPECT_EQ(look.frio, QLatin1String(table[code].frio)) << code;
        EXPECT_EQ(look.ontemp, QLatin1String(table[code].ontemp)) << code;
        EXPECT_EQ(look.temperature, table[code].temperature) << code;
    }

    // ApplyOutputs sends the state and tells the panels the same state.
    Rig r;
    std::vector<quint8> shown;
    r.tools.onApplied = [&shown](quint8 s) { shown.push_back(s); };
    r.tools.LightOn = true;
    r.tools.ActuatorOn = true;
    r.tools.ApplyOutputs();
    EXPECT_EQ(r.sender.sent, std::vector<quint8>{5});
    EXPECT_EQ(shown, std::vector<quint8>{5});
}

TEST(LightTemperatureControl, RegulationAroundASetPointWithItsDeadBandAndLimits)
{
    Rig r;
    r.tools.TemperatureControl = true;
    r.tools.TemperatureSetpoint = 25.0;
    struct Case {
        double t;
        bool heaterBefore, actuatorBefore;
        bool heater, actuator;
    };
    const Case cases[] = {
        {25.4, true, true, true, false},    // dead band: off, mode kept
        {24.6, false, true, false, false},  // dead band from below
        {25.5, true, false, false, false},  // too warm: cooling chosen, still off
        {25.6, true, false, false, true},   // cooling
        {24.5, false, false, true, false},  // too cold: heating chosen, still off
        {24.4, false, false, true, true},   // heating
        {38.0, true, true, false, false},   // beyond the sensor's sane range
        {10.0, true, true, false, false},
        {10.1, false, false, true, true},   // still regulated
        {37.9, false, false, false, true},
    };
    for (const Case& c : cases) {
        r.tools.HeaterOn = c.heaterBefore;
        r.tools.ActuatorOn = c.actuatorBefore;
        r.tools.Temperature = c.t;
        r.tools.RegulateAndSchedule();
        EXPECT_EQ(r.tools.HeaterOn, c.heater) << c.t;
        EXPECT_EQ(r.tools.ActuatorOn, c.actuator) << c.t;
    }
    // Sent every time, changed or not.
    EXPECT_EQ(r.sender.sent.size(), std::size(cases));

    // Without the regulation the element is switched off whatever the reading.
    r.tools.TemperatureControl = false;
    r.tools.HeaterOn = r.tools.ActuatorOn = true;
    r.tools.Temperature = 15.0;
    r.tools.RegulateAndSchedule();
    EXPECT_FALSE(r.tools.HeaterOn);
    EXPECT_FALSE(r.tools.ActuatorOn);

    // A failed temperature read reads as offset - slope.
    r.tools.TakeTemperature(-1, 0.219, 1.0);
    EXPECT_DOUBLE_EQ(r.tools.Temperature, 1.0 - 0.219);
    r.tools.TakeTemperature(115, 0.219, 0.0);
    EXPECT_EQ(r.tools.TemperatureText(), QStringLiteral("25.2"));
}

TEST(LightTemperatureControl, HourlyLightAtTheBufferCycleEndAndAtRunStart)
{
    Rig r;
    r.project.MenuParam[2] = {1, 8, 20, 0, 0, 0};
    r.tools.LoadFromProject();
    ASSERT_TRUE(r.tools.LightSchedule);

    // Between the hours (14:00) the light keeps its state.
    for (const auto& [hour, minute, on] : {std::tuple{7, 59, false}, {8, 0, true}, {14, 0, true}, {20, 30, false}}) {
        r.At(hour, minute);
        r.tools.RegulateAndSchedule();
        EXPECT_EQ(r.tools.LightOn, on) << hour << ":" << minute;
    }

    // At run start the light takes its place in the daily cycle; an ON hour
    // after the OFF hour spans midnight.
    const auto startAt = [&r](int on, int off, int h, int m) {
        r.project.MenuParam[2][1] = qint16(on);
        r.project.MenuParam[2][2] = qint16(off);
        r.At(h, m);
        r.tools.LightOn = !r.tools.LightOn;
        r.tools.LightAtRunStart();
        return r.tools.LightOn;
    };
    const std::tuple<int, int, int, int, bool> starts[] = {
        {9, 21, 9, 0, true},   {9, 21, 20, 59, true}, {9, 21, 21, 0, false}, {9, 21, 8, 59, false},
        {21, 9, 21, 0, true},  {21, 9, 8, 59, true},  {21, 9, 9, 0, false},  {12, 12, 12, 0, false}};
    for (const auto& [on, off, hour, minute, lit] : starts)
        EXPECT_EQ(startAt(on, off, hour, minute), lit) << on << "-" << off << " at " << hour << ":" << minute;

    // With a pulse train, or without the schedule, the start leaves the light
    // as it is but still sends the state.
    r.project.MenuParam[2][3] = 2;
    r.tools.LightOn = true;
    r.sender.sent.clear();
    r.tools.LightAtRunStart();
    EXPECT_TRUE(r.tools.LightOn);
    EXPECT_EQ(r.sender.sent.size(), 1u);
    r.tools.SetLightSchedule(false);
    EXPECT_EQ(r.project.MenuParam[2][0], 0);
    r.At(20, 0);
    r.tools.RegulateAndSchedule();
    EXPECT_TRUE(r.tools.LightOn);
}

TEST(LightTemperatureControl, PulseTrainOfThreeThenTheLastStateStays)
{
    Rig r;
    r.project.MenuParam[2] = {1, 9, 21, 3, 10, 20}; // 3 pulses of 1.0 on, 2.0 off
    r.tools.LoadFromProject();
    for (int quarter = 0; quarter < 9 * 4; ++quarter) {
        const double m = quarter / 4.0;
        r.tools.PulseTrainAndPending(m);
        const bool on = (m >= 0 && m < 1) || (m >= 3 && m < 4) || (m >= 6 && m < 7);
        EXPECT_EQ(r.tools.LightOn, on) << m;
    }
    // The train is over: whatever the light does now, it keeps, and the
    // state is still sent each time.
    r.tools.LightOn = true;
    r.sender.sent.clear();
    for (double m : {9.0, 9.5, 30.0}) {
        r.tools.PulseTrainAndPending(m);
        EXPECT_TRUE(r.tools.LightOn) << m;
    }
    EXPECT_EQ(r.sender.sent.size(), 3u);

    // No train without the schedule, and a train without a period sends but
    // never divides by it.
    r.tools.SetLightSchedule(false);
    r.sender.sent.clear();
    r.tools.PulseTrainAndPending(0.5);
    EXPECT_TRUE(r.sender.sent.empty());
    r.tools.SetLightSchedule(true);
    r.project.MenuParam[2][4] = r.project.MenuParam[2][5] = 0;
    r.tools.PulseTrainAndPending(0.0);
    EXPECT_TRUE(r.tools.LightOn);
    EXPECT_EQ(r.sender.sent.size(), 1u);
}

TEST(LightTemperatureControl, APendingChangeIsSentOnceAndTheEndSwitchesOff)
{
    Rig r;
    r.tools.ActuatorOn = true;
    r.tools.PressMode(true);
    EXPECT_TRUE(r.tools.HeaterOn);
    EXPECT_FALSE(r.tools.ActuatorOn) << "a change of mode switches the element off";
    r.tools.PressLight(true);
    EXPECT_TRUE(r.sender.sent.empty());
    r.tools.PulseTrainAndPending(1.0);
    r.tools.PulseTrainAndPending(1.5);
    EXPECT_EQ(r.sender.sent, std::vector<quint8>{6});

    r.tools.ActuatorOn = true;
    r.tools.SwitchOff();
    EXPECT_EQ(r.sender.sent.back(), 2);
}

TEST(LightTemperatureControl, StartUpRepairsHoursAndSetPoint)
{
    Rig r;
    r.project.MenuParam[2] = {0, 0, 0, 0, 0, 0};
    r.project.MenuParam[3] = {1, 10, 0, 0, 0, 0};
    r.tools.LoadFromProject();
    EXPECT_EQ(r.tools.LightOnHour(), 9);
    EXPECT_EQ(r.tools.LightOffHour(), 21);
    EXPECT_EQ(r.project.MenuParam[3][1], 200);
    EXPECT_FALSE(r.tools.LightSchedule);
    EXPECT_TRUE(r.tools.TemperatureControl);

    r.project.MenuParam[2] = {1, 0, 5, 0, 0, 0};
    r.project.MenuParam[3] = {0, 20, 0, 0, 0, 0};
    r.tools.LoadFromProject();
    EXPECT_EQ(r.tools.LightOnHour(), 0); // only both at 0 means never set
    EXPECT_EQ(r.project.MenuParam[3][1], 20);
}
