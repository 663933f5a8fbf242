#pragma once

#include "ProgramConfig.h"

#include <QString>

namespace bandora {

// The current project folder decided at start-up from Actual_Project_Number:
// <appDir>/p<nnnnn> when that folder exists and the number is at least 1.
// Otherwise the program folder itself, which holds the files of project 0
// "Default", and Actual_Project_Number becomes 0. No trailing separator.
QString DecideProjectFolder(const QString& appDir, ProgramConfig& config);

// Whether a name given for an entry of a folder (an experiment folder, a
// plate) stays in that folder: not empty, no separator of either kind, not
// "." or "..". A name like "../../x" would write or read outside it.
bool IsPlainEntryName(const QString& name);

} // namespace bandora
