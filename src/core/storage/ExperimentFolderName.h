#pragma once

// Experiment folders are named by the minute their run started,
// ddmmyyyy_hhmm. A second run started in the same minute must never write
// into the first one's folder (its real-time files and record numbers would
// start again at 0 on top of the first run's), so it gets "_2", a third "_3".

#include <QDateTime>
#include <QString>

namespace bandora {

// The ddmmyyyy_hhmm part of an experiment folder name, with or without its
// "_n" suffix (n from 2, no leading zero); empty for any other name.
QString ExperimentFolderStem(const QString& name);

// The run's number within its minute: 1 without a suffix, n for "_n";
// 0 when the name is no experiment folder name.
int ExperimentFolderSequence(const QString& name);

// The first name of ddmmyyyy_hhmm, ddmmyyyy_hhmm_2, ... for the minute of
// `start` that names nothing yet inside `parent`.
QString FreshExperimentFolderName(const QString& parent, const QDateTime& start);

} // namespace bandora
