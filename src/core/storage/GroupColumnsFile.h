#pragma once

// groupcols.csv beside the project files: the extra columns of a plate layout
// taken from a spreadsheet (genotype, dose, ...), one line per group:
//
//   group,genotype,dose          header: "group" and the column names
//   0,N2,0                       group number, then its values
//
// UTF-8, comma-separated with quotes where a value needs them, CR LF line
// ends. A project without such columns has no file.

#include "ProjectSetup.h"

namespace bandora {

// Writes the file, or removes an old one when the project has no columns.
// Throws RecordError when it cannot be written.
void WriteGroupColumns(const ProjectSetup& project, const QString& folder);

// Reads the file into the project; no file (or an unreadable one) leaves the
// project without columns.
void LoadGroupColumns(ProjectSetup& project, const QString& folder);

} // namespace bandora
