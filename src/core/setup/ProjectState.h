#pragma once

#include "core/storage/PlateFormat.h"
#include "core/storage/ProgramConfig.h"
#include "core/storage/ProjectSetup.h"

#include <QString>

namespace bandora {

// The program folder and the current project loaded from it.
struct ProjectState {
    QString appDir; // the program folder: config.dat, plate files, project 0
    QString folder; // the current project folder, no trailing separator

    ProgramConfig config;
    ProjectSetup setup;
    PlateFormat plate;
};

} // namespace bandora
