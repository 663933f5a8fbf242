#pragma once

// What the exports of a recorded experiment share: its minute series with the
// start of the run it was recorded in, its name and its plate.

#include "core/analytics/MinuteSeries.h"

namespace bandora {

class Operator;

// The experiment's name in file names: its folder's name (ddmmyyyy_hhmm).
QString ExperimentOfFolder(const QString& folder);

// The plate name of the experiment's own setup.dat; empty when unreadable.
QString PlateOfFolder(const QString& folder);

// The minute series of the folder. A joined experiment's folder is named by
// the minute of the join, while its record times count from its earliest
// part (subproj.dat: "Data Block: 05122026_1000 + 05122026_1200 + "): its
// series starts at that part, with ZT and light phases moved with it.
SeriesLoad LoadExportSeries(const QString& folder, const QString& appDir, Operator& op);

} // namespace bandora
