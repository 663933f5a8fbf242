#pragma once

#include "ProgramConfig.h"

#include <QString>

namespace bandora {

class Operator;

// config.dat in the program folder:
//
//   line 1  "Config: <Actual_Project_Number>, <Last_Project>,<Serial_COM>,<Restart_Time>"
//   line 2  Actual_Project_Number,Last_Project,Serial_COM,Restart_Time   e.g. 3,7,4,0
//
// both lines ended by CR LF.

QString ConfigFilePath(const QString& appDir);

// True when the program folder has a config.dat; the start-up refuses to run
// without one and never creates it on its own.
bool ConfigFileExists(const QString& appDir);

// Reads config.dat and applies the clamps; on any error shows the message,
// takes the defaults and leaves the file as it is.
void LoadConfig(const QString& appDir, ProgramConfig& config, Operator& op);

// Writes all four values over config.dat; on error shows the message and keeps
// the values in memory.
void SaveConfig(const QString& appDir, const ProgramConfig& config, Operator& op);

} // namespace bandora
