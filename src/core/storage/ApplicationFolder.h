#pragma once

#include <QString>

namespace bandora {

// Where the application folder may come from, in the order they are tried.
struct AppFolderPlaces {
    QString commandLine;   // --app-dir; empty when not given
    QString executableDir; // the folder of the executable (the build folder is one)
    QString userDir;       // the per-user folder (~/.local/share/bandora); empty when unknown
    QString sharedDir;     // the installed copy (/usr/share/bandora) the per-user folder starts from
};

// The application folder chosen for this start.
struct AppFolderChoice {
    QString dir;    // the folder to work in; empty when error is set
    QString notice; // set once, when the per-user folder was just made from the installed copy
    QString error;  // why no folder can be used; the program says so and ends
};

// Chooses the application folder: --app-dir as given; else the executable's
// folder when it holds config.dat; else the per-user folder, made on the
// first start from the installed copy. An installation without an installed
// copy falls back to the executable's folder, where the start-up then reports
// the missing config.dat.
//
// The per-user folder is filled in a sibling folder and renamed into place
// only when every file was copied, so a failure never leaves half a folder
// that a later start would take for a complete one. A per-user folder that
// exists without config.dat is never filled in: its project folders may
// outnumber a fresh config.dat, whose project counter would then hand out
// their numbers again.
AppFolderChoice ResolveAppFolder(const AppFolderPlaces& places);

// The folder a command-line tool reads (plate files) without making
// anything: --app-dir; else the first of the executable's folder, the
// per-user folder and the installed copy that holds config.dat; else the
// executable's folder.
QString ExistingAppFolder(const AppFolderPlaces& places);

// The places of this machine: the executable's folder, the XDG data folder
// of the user and the installed copy beside the executable's bin folder.
AppFolderPlaces SystemAppFolderPlaces(const QString& commandLine, const QString& executableDir);

} // namespace bandora
