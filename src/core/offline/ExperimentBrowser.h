#pragma once

// The two levels of the offline browser: the project folders of the program
// folder, then the recorded experiments of one project, with the text that
// tells the user what an entry is. Everything here only reads.

#include <QString>
#include <QStringList>

namespace bandora {

class Operator;

// A project holds at most this many experiment folders worth listing.
constexpr int kMaxExperimentFolders = 999;

// Project folders "p" + five digits of the program folder, in the order the
// file system gives them.
QStringList ListProjectFolders(const QString& appDir);

// Folders of the project shaped like an experiment folder (eight characters,
// "_", four characters) that hold an activity file, newest first by the date
// and time the name spells (ddmmyyyy_hhmm); names that spell none come last,
// by name. Of a larger project only the 999 newest are listed.
QStringList ListExperimentFolders(const QString& projectFolder);

// The date and time an experiment folder name spells, for reading beside it
// ("Sat 05 Dec 2026 10:00"); empty for a name that spells none.
QString ExperimentDateText(const QString& folderName);

// The numeric value of the last five characters of a project folder path.
int ProjectNumberOfFolder(const QString& projectFolder);

// The text shown for a project clicked in the list: its header label when it
// has setup.dat (which may be restored in the project folder), else
// "<Project> ", the name and ": ".
QString ProjectInfoText(const QString& projectFolder, const QString& listText, int projectNumber, Operator& op);

// The text shown for an experiment clicked in the list: the label of its own
// setup.dat (read, never repaired), a line break and "<Subproject> " with the
// folder name and the name that subproj.dat gives it.
QString ExperimentInfoText(const QString& experimentFolder, const QString& listText, int projectNumber,
                           Operator& op);

// The lines added to the information text when an experiment is opened: a
// ruler, the plate and programmed lapse, and the group list entries.
QString OpenedExperimentText(const QString& plateName, int lapseMinutes, const QStringList& groupEntries);

// Real-time files of an experiment folder: its *.bin files but counts.bin.
int CountRealTimeFiles(const QString& experimentFolder);

// Real-time files shown on one page.
constexpr int kFilesPerPage = 5;

// Pages needed to show every real-time file, at least one.
int PageCountFor(int realTimeFiles);

} // namespace bandora
