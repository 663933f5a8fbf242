#pragma once

#include "VirtualInstrument.h"

#include <QString>
#include <QStringList>

namespace bandora::sim {

// What `bandora-sim` was asked to do.
struct SimCommandLine {
    QString appDir;
    int port = 0;
    QString plate = QStringLiteral("w96f");
    bool doorOpen = false;
    bool help = false; // --help: nothing else was read
    SimOptions options;
};

// Reads the arguments (without the program name). On a mistake returns false
// with the reason in `error`.
bool ParseSimCommandLine(const QStringList& arguments, SimCommandLine& out, QString& error);

// The text of --help.
QString SimUsage();

} // namespace bandora::sim
