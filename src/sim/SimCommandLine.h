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
    SimOptions options;
};

// Reads the arguments (without the program name). On a mistake returns false
// with the reason in `error`; `--help` returns false with the usage text.
bool ParseSimCommandLine(const QStringList& arguments, SimCommandLine& out, QString& error);

} // namespace bandora::sim
