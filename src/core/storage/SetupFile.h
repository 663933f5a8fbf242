#pragma once

// setup.dat of a project folder: the project's name, plate and acquisition
// settings, the tool switches and the tool parameters. LoadSetupFile (with its
// restore and defaults) is declared in ProjectFiles.h.

#include "ProjectSetup.h"

#include <QString>

namespace bandora {

// Creates setup.dat in the folder anew with its 20 lines. Throws RecordError
// when it cannot be written.
void WriteSetupFile(const ProjectSetup& project, const QString& folder);

// The stored Working_folder of project n: the application folder, "p" and the
// number in five digits, with native separators and a trailing separator.
QString DefaultWorkingFolder(const QString& appDir, int number);

} // namespace bandora
