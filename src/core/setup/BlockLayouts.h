#pragma once

// Equal rectangular blocks of wells as groups: the "SET:" list and "Go...".

#include <QString>
#include <QStringList>

namespace bandora {

struct PlateFormat;
struct ProjectSetup;

// One item per block shape that tiles the plate: rows per block j (a divisor
// of the plate's rows) and columns per block i (a divisor of its columns),
// both 1..16, as "02x03 [RowsxColumn]"; columns ascending, rows inside.
QStringList BlockLayoutItems(const PlateFormat& plate);

// The item selected when the list is filled: the third when there is one,
// else the first.
int DefaultBlockLayout(int itemCount);

// "Go...": clears all groups, then covers the plate with blocks of the
// item's shape, block g taking group g ("Group" g), each block starting at
// the first well (down the columns) that no earlier block covers. Only
// enabled channels take a group. Returns false, changing nothing, when the
// item names no usable shape.
bool ApplyBlockLayout(ProjectSetup& project, const PlateFormat& plate, const QString& item);

} // namespace bandora
