#pragma once

#include "core/AppState.h"
#include "core/storage/ConfigFile.h"
#include "core/storage/ProjectFiles.h"
#include "support/RecordedExperiment.h"

#include <QDir>

namespace bandora::test {

// Makes state.project.appDir a program folder with the shipped plate files, seven
// projects handed out and project 3 "larvae" on a 96-well plate current and
// saved.
inline void SeedProgramFolder(AppState& state)
{
    const QString app = state.project.appDir;
    CopyShippedPlates(app);
    state.project.config = ProgramConfig{3, 7, 4, 0};
    state.project.setup.Plate_format = QStringLiteral("w96f");
    state.project.setup.Num_proj = 3;
    state.project.setup.Name = QStringLiteral("larvae");
    state.project.folder = QDir(app).filePath(ProjectFolderName(3));
    QDir().mkpath(state.project.folder);
    SaveProject(state.project.setup, state.project.folder);
    SaveConfig(app, state.project.config, state.services.op);
}

} // namespace bandora::test
