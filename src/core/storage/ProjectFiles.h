#pragma once

// The project file set in a project folder (and copied into every experiment
// folder): setup.dat (with its backup setup.bak), status.dat, threshld.dat,
// groups.dat and chgroup.dat. Layouts are documented in ProjectFiles.cpp.

#include "ProjectSetup.h"

#include <QString>

#include <functional>

namespace bandora {

class Operator;
struct PlateFormat;

// Where the current project lives and how its loader talks to the operator.
struct ProjectContext {
    QString appDir;        // the program folder
    QString projectFolder; // project folder path without a trailing separator
    Operator* op = nullptr;
    // The start-up splash's status line, when the load runs during start-up.
    std::function<void(const QString&)> splashStatus;
    // A damaged setup.dat is put back from its copies only where the folder
    // is the project's own: the copies inside an experiment folder are a
    // record of the run and are read, never repaired. Their messages name
    // the file read, not the project's folder.
    bool mayRestore = true;
};

// Loads setup.dat, status.dat, threshld.dat, groups.dat, chgroup.dat and the
// plate file of the project numbered project.Num_proj. Each step handles its
// own errors with its message and never aborts the following ones.
void LoadProject(ProjectSetup& project, PlateFormat& plate, const ProjectContext& ctx);

// Only the setup.dat step of LoadProject (with its restore and defaults).
void LoadSetupFile(ProjectSetup& project, const ProjectContext& ctx);

// Writes the five project files (setup.dat after copying it to setup.bak) of
// the folder. Throws RecordError when a file cannot be written.
void SaveProject(const ProjectSetup& project, const QString& folder);

// Number of lines of a text file; 0 when it cannot be opened.
int CountLines(const QString& path);

// 1 on success, -1 on any error; an existing destination is replaced.
int CopyFile(const QString& source, const QString& destination);

// Name of the newest experiment folder (ddmmyyyy_hhmm) inside folder, or empty.
QString NewestExperimentFolder(const QString& folder);

// The label of a project in the offline project list, recovering a short
// setup.dat from setup.bak or the newest experiment folder on the way. With
// mayRestore false (an experiment folder) nothing is written: the label is
// taken from setup.bak when setup.dat is too short.
QString ReadProjectHeader(const QString& projectFolder, int projectNumber, Operator& op, bool mayRestore = true);

} // namespace bandora
