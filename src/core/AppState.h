#pragma once

// Program-wide state: created once by the start-up and handed to whoever
// needs it. Windows read and change it through this object.

#include "core/storage/PlateFormat.h"
#include "core/storage/ProgramConfig.h"
#include "core/storage/ProjectSetup.h"

#include <QString>

namespace bandora {

class Clock;
class EventPump;
class InstrumentLink;
class Operator;

// The instrument's factory temperature calibration: degrees Celsius =
// raw reading x Slope + Offset.
struct FactoryCal {
    bool Valid = true;
    qint16 Month = 0;
    qint16 Year = 0;
    qint16 OffsetSign = 0;
    double Offset = 0.0;
    double Slope = 0.219;
};

struct AppState {
    AppState(QString appDir, Operator& op, Clock& clock, EventPump& events)
        : appDir(std::move(appDir)), op(op), clock(clock), events(events) {}

    QString appDir;          // the program folder: config.dat, plate files, project 0
    QString projectFolder;   // the current project folder, no trailing separator

    ProgramConfig config;
    ProjectSetup project;
    PlateFormat plate;
    FactoryCal factory;

    bool OfflineMode = false;
    qint16 StartupStage = 0;

    // The serial link to the instrument, owned by the start-up (main()); set
    // before the instrument search, never null afterwards.
    InstrumentLink* link = nullptr;

    Operator& op;
    Clock& clock;
    EventPump& events;
};

} // namespace bandora
