#pragma once

// The settings an experiment was recorded with, read from the experiment
// folder's own copies of the project files, and the plate they name. The
// offline window keeps them apart from the current project, which it never
// touches.

#include "core/display/ChannelSelection.h"
#include "core/storage/PlateFormat.h"
#include "core/storage/ProjectSetup.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace bandora {

class Operator;

struct OfflineExperiment {
    ProjectSetup Project;  // the experiment's copy of the project setup
    PlateFormat Plate;     // the geometry of the plate it names
    bool PlateRead = false; // a plate file has been read at least once
};

enum class SettingsRead {
    NoSetupFile,  // nothing read: the folder has no setup.dat (a joined experiment)
    Read,         // settings and plate read
    PlateMissing, // settings read; no plate file of that name, the plate of the last experiment stays
};

// Reads setup.dat, status.dat, threshld.dat, groups.dat and chgroup.dat of the
// folder, then the plate file named there (".dat", else ".bak", in the program
// folder). Damaged files show their messages and give defaults, but are never
// repaired: the folder is a record of the run. A missing plate shows
// "Multiwell Configuration File <name>.dat or .bak not found".
SettingsRead ReadOfflineExperiment(const QString& folder, const QString& appDir, int projectNumber, Operator& op,
                                   OfflineExperiment& experiment);

// The channel of beam `beam` of well `well`, or -1 when the plate has none there.
int BeamChannel(const PlateFormat& plate, int well, int beam);

struct WellBeam {
    int Beam = 0;
    int Channel = 0;
};

// The beams 0 .. MaxBeam of a well that have a channel, in beam order.
QVector<WellBeam> WellBeams(const PlateFormat& plate, int well);

// The row (0-based) and column (1-based) a label such as "B3" names; false
// for anything else.
bool ParseWellLabel(const QString& label, int& row, int& column);

// "A", "B", ... one per plate row; "1", "2", ... one per plate column.
QStringList RowLetters(int rows);
QStringList ColumnNumbers(int columns);

// The groups that hold at least one channel, in group order, as the group
// number in three digits, "_" and the name; "999_Free" last.
QStringList GroupEntries(const ProjectSetup& project);

// The group an entry of that list stands for: its first three characters;
// 999 is the free channels (-1).
int GroupOfEntry(const QString& entry);

// The wells whose beam-0 channel belongs to the group, in well order.
QVector<int> WellsOfGroup(const PlateFormat& plate, const ProjectSetup& project, int group);

} // namespace bandora
