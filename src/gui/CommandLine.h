#pragma once

#include <QString>
#include <QStringList>

namespace bandora {

// bandora [--app-dir DIR] [--simulate [--door-cycle S]] [/run] | --help | --version
struct CommandLine {
    QString appDir;      // empty: the executable's folder or the per-user folder
    bool simulate = false;
    double doorCycle = 0.0; // > 0: the virtual instrument's door opens and closes every S seconds
    QString rest;        // everything else, joined by blanks: the switch line of the start-up
    QString error;       // set when the line cannot be understood; the program does not start
    bool help = false;
    bool version = false;
};

// Parses the arguments after the program name.
CommandLine ParseCommandLine(const QStringList& arguments);

// True when the switch line asks for an experiment to start right after
// start-up. Only the three spellings the instrument's users have scripted
// against count; anything else, including trailing words, starts normally.
bool IsAutoRunSwitch(const QString& switchLine);

// The usage text printed for --help and for a malformed line.
QString CommandLineUsage();

// The line printed for --version: the package version set in the build.
QString VersionLine();

} // namespace bandora
