#pragma once

// Program-wide state: created once by the start-up and handed to the
// windows, which read and change it through this object. The core gets only
// the parts it works on.

#include "core/acquisition/RunState.h"
#include "core/common/Services.h"
#include "core/link/InstrumentSession.h"
#include "core/setup/ProjectState.h"

#include <QString>

namespace bandora {

struct AppState {
    AppState(QString appDir, Operator& op, Clock& clock, EventPump& events) : services{op, clock, events}
    {
        project.appDir = std::move(appDir);
    }

    Services services;
    InstrumentSession instrument;
    RunState run;
    ProjectState project;

    qint16 StartupStage = 0;
    // The channel shown in detail by the live display (0..384).
    qint16 SelectedChannel = 0;
};

} // namespace bandora
