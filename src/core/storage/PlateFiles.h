#pragma once

// Plate configuration files w*.dat in the program folder, the built-in
// fallback formats, and the logic of applying another plate to the project.

#include "PlateFormat.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace bandora {

class Operator;
struct ProjectSetup;

// Path of the plate file of a plate name ("w96f" -> <appDir>/w96f.dat).
QString PlateFilePath(const QString& appDir, const QString& plateName);

// Reads the plate named by project.Plate_format; on any error shows the
// message and falls back to a built-in format (which may rename the
// project's plate to "w96f").
void LoadPlate(ProjectSetup& project, PlateFormat& plate, const QString& appDir, Operator& op);

// The same read without the fallback. On error returns a short reason and
// leaves plate as it was.
std::optional<QString> LoadPlateNoFallback(const QString& plateName, PlateFormat& plate, const QString& appDir);

// The same read from a file named by its path (a plate file's backup copy).
std::optional<QString> LoadPlateFileNoFallback(const QString& path, PlateFormat& plate);

// Names of the files w*.dat of the program folder, lower-cased, without ".dat".
QStringList ListPlateFiles(const QString& appDir);

// The built-in format "w384", "w96u" or "w96f" (anything else gives "w96f").
PlateFormat BuiltInPlate(const QString& name, const PlateFormat& previous = PlateFormat{});

// The lines shown when a known plate is applied (empty for other names).
QStringList KnownPlateTexts(const QString& plateName);

enum class ApplyPlateResult {
    SelectionError, // no such plate file: "Selection Error" was shown
    Declined,       // the operator answered No
    Applied,        // groups cleared, texts shown, plate loaded
    Malformed,      // answered Yes but the file could not be read: the previous plate stays
};

// The "Apply" action of the setup window, without its widgets: checks the
// file, asks, clears the groups, shows the plate texts and loads the plate.
// The caller reloads its controls from the project afterwards.
ApplyPlateResult ApplyPlate(const QString& plateName, ProjectSetup& project, PlateFormat& plate,
                            const QString& appDir, Operator& op);

} // namespace bandora
