#pragma once

// What a report needs to know about a recorded experiment besides its
// activity file: the plate it was recorded on, the group of every channel and
// the group names, all taken from the experiment folder's own copies of the
// project files (and the plate file of that name from the program folder),
// because the current project may have changed since the run.

#include "ReportGeometry.h"
#include "core/storage/ProjectSetup.h"

#include <QString>

#include <array>

namespace bandora {

class Operator;

struct ExperimentSettings {
    qint16 ProjectNumber = 0;
    QString PlateName;
    qint16 RT_Buffer = 500; // ticks per buffer cycle: fixes the size of a real-time record
    std::array<QString, kChannelTable> GroupName;
    std::array<qint16, kChannelTable> ChannelGroup{}; // -1 = free
    ReportGeometry Plate;

    ExperimentSettings();

    // The largest group number of channels 0..383; -1 when every channel is free.
    int LargestGroup() const;

    // Q, the group number in three digits, "_", the name, Q; "999_Free" in
    // quotes for a free channel (-1).
    QString GroupLabel(int group) const;
};

// How the reading went, for callers that must tell success from a fallback
// (the command-line tool's exit status).
struct SettingsReadResult {
    bool PlateFound = true;       // false: no readable plate file; the geometry was left as it stood
    bool UsedDefaults = false;    // a project file of the folder was damaged: defaults were taken
};

// Reads the settings of the experiment folder into settings, showing the
// message of each file that fails. The plate geometry is replaced only by a
// plate file read whole (".dat", else ".bak" in the program folder); when
// neither can be read it stays as it stood. Files are only read, never
// repaired: a report must not change the experiment it reports on.
SettingsReadResult ReadExperimentSettings(const QString& experimentFolder, const QString& appDir, Operator& op,
                                          ExperimentSettings& settings);

} // namespace bandora
