#pragma once

// The per-well export for circadian studies: one small text file per well in
// the experiment folder, a line per 30 minutes of recording with the calendar
// date and time the step ends and the well's activity in it:
//
//   file   <well in three digits>_<well label>.txt   (005_F1.txt on an 8-row plate)
//   line   dd/mm/yyyy hh:mm <blank> <total>          (separators of the locale)
//
// The steps are the report's bins of 30 minutes, so each stamp names the bin
// it belongs to; the lines end at the last bin of the recording that holds
// records (a well's file never runs on beyond the data).

#include "ExperimentSettings.h"
#include "ReportGenerator.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace bandora {

class Operator;

struct PerWellRequest {
    QString Folder;                 // the experiment folder
    QString AppDir;                 // the program folder with the plate files
    QString SelectedExperimentName; // the offline window's selection, when there is one
    QDateTime Now;                  // when nothing names the start of the run
    QString DateSeparator = QStringLiteral("/");
    QString TimeSeparator = QStringLiteral(":");
    bool StopWithoutPlate = false; // as for a report
};

// NothingToExport: the recording ends before its first 30-minute step, so
// every file would be empty; none is written.
enum class PerWellStatus { Written, NoActivityFile, Unreadable, NoPlateFile, NothingToExport, NotWritten, Stopped };

struct PerWellResult {
    PerWellStatus Status = PerWellStatus::Written;
    QStringList Files;   // the files written, in well order
    QDateTime Start;     // the time the stamps count from
    qint64 Lines = 0;    // lines in each file
    SettingsReadResult Settings;
};

// The date and time an experiment folder name ddmmyyyy_hhmm spells; invalid
// for any other name.
QDateTime ExperimentStartTime(const QString& folderName);

// Writes the files. The stamps count from the run start that the experiment
// folder's own name spells; failing that from the selected experiment's name;
// failing that from Now.
PerWellResult ExportPerWell(const PerWellRequest& request, ExperimentSettings& settings, Operator& op,
                            const ReportProgress& progress = {});

} // namespace bandora
