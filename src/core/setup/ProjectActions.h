#pragma once

// The project actions of the setup window without its widgets: New, Save,
// Rename and Load, with every question to the operator. They work on the
// program folder and its current project and write the project files and config.dat themselves;
// the window only refreshes its controls afterwards.

#include <QString>
#include <QStringList>

namespace bandora {

struct ProjectState;
struct Services;

// Project numbers are handed out up to this one, then start again at 1.
constexpr qint16 kLastProjectWrap = 32000;

// The number New gives the next project: Last_Project + 1, or 1 once
// Last_Project has reached 32000.
qint16 NextProjectNumber(qint16 lastProject);

// The project title of the window: number, "_", name ("0_Default", "8_Larvae test").
QString ProjectTitle(const ProjectState& project);

enum class ProjectActionResult {
    Done,      // the action ran; the window reloads what it shows
    Cancelled, // the operator stopped it; nothing changed on disk
    Failed,    // a file could not be written; the operator has been told
};

// "New...": asks, prompts for the name and creates the next project with a
// copy of the current settings, channels and groups.
ProjectActionResult NewProject(ProjectState& project, const Services& services);

// "Save...": Yes updates the current project's files, No saves the current
// values under a new project number, Cancel does nothing.
ProjectActionResult SaveProjectAction(ProjectState& project, const Services& services);

// "Rename": a new name for the current project, in memory only. Project 0
// cannot be renamed.
ProjectActionResult RenameProject(ProjectState& project, const Services& services);

// "Load..." step 1: offers to save the current values first. Returns false
// when the operator cancelled or the save failed (the load must not go on
// and lose what the operator wanted kept).
bool PrepareProjectLoad(ProjectState& project, const Services& services);

// The project folders of the program folder (p00001, p00012, ...), by name.
QStringList ProjectEntries(const QString& appDir);

// Double-click on a project entry: makes that project current, stores it in
// config.dat and loads its files. Returns false for an entry that names no
// project folder.
bool LoadProjectEntry(ProjectState& project, const Services& services, const QString& entry);

} // namespace bandora
