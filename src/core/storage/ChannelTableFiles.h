#pragma once

// The four per-channel and group tables of a project folder: status.dat,
// threshld.dat, groups.dat and chgroup.dat. Each is a quoted header and one
// record per index (0 to 383): the index, then the value.

#include "ProjectSetup.h"

#include <QString>

namespace bandora {

struct ProjectContext;

// Each loader reads its table of the project folder; on any error it shows its
// message and takes the defaults for the whole table. A file with fewer
// records leaves the entries after its last record as they were.
void LoadChannelEnabled(ProjectSetup& project, const ProjectContext& ctx);
void LoadChannelThresholds(ProjectSetup& project, const ProjectContext& ctx);
void LoadGroupNames(ProjectSetup& project, const ProjectContext& ctx);
void LoadChannelGroups(ProjectSetup& project, const ProjectContext& ctx);

// Creates the four files in the folder anew. Throws RecordError when one
// cannot be written.
void WriteChannelTables(const ProjectSetup& project, const QString& folder);

} // namespace bandora
