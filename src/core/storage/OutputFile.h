#pragma once

// Opening a file the program writes anew (a report, a per-well export) so that
// it replaces what stood under that name and writes nowhere else.

#include <QFile>

namespace bandora {

// Opens file (its name set) for writing from empty. A symbolic link of that
// name is removed first and a new file takes its place: writing through it
// would overwrite whatever file the link points at, anywhere on the disk.
// Another entry that is no regular file (a FIFO would block the open, a
// folder cannot be written) is left alone and the open fails.
bool OpenReplacing(QFile& file);

} // namespace bandora
