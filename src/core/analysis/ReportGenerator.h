#pragma once

// One report from start to end, as the report window's "Generate..." and the
// command-line tool make it: the experiment's settings, the two passes over
// its activity file (the last record is never binned: the run may have been
// cut short inside its buffer cycle), the bins and the report file.

#include "ExperimentSettings.h"
#include "ReportBinning.h"
#include "ReportLayouts.h"
#include "ReportOptions.h"

#include <QString>

#include <functional>
#include <optional>

namespace bandora {

class Operator;

// Told how far a long generation got (0..100); answers false to stop it.
using ReportProgress = std::function<bool(int percent)>;

struct ReportRequest {
    QString Folder;      // the experiment folder: read from, and the report written into
    QString AppDir;      // the program folder with the plate files
    QString BinSizeText; // the "Bin size (min):" box
    ReportOptions Options;
    QString Date;        // the DATE line
    // Give up when no plate file can be read, instead of going on with the
    // plate as it stood (a script has no earlier plate to go on with).
    bool StopWithoutPlate = false;
};

enum class ReportStatus {
    Written,
    NoActivityFile, // "Activity file not Found": nothing written
    Unreadable,     // the activity file could not be read: nothing written
    NoPlateFile,    // no plate file, and the request said to stop: nothing written
    NothingToReport, // no bin holds a binned record (a run stopped before its first bin ended): nothing written
    NotWritten,     // neither report nor report_1 could be written
    Stopped,        // stopped by the operator: no report left behind
};

struct ReportResult {
    ReportStatus Status = ReportStatus::Written;
    QString Path;                        // the report file written
    std::optional<QString> ShownBinSize; // the bin-size box text after the bin-size rules
    SettingsReadResult Settings;
    qint64 Records = 0;                  // whole records of the activity file
    bool PartialRecord = false;          // the file ends in part of a record, which was left out
    ReportTables Tables;
};

// Generates the report of the request. Messages go to op. settings holds the
// plate geometry as it stood before (kept when no plate file can be read) and
// the experiment's settings afterwards.
ReportResult GenerateReport(const ReportRequest& request, ExperimentSettings& settings, Operator& op,
                            const ReportProgress& progress = {});

// The activity file's records 0..N-2 binned by the plan (the second pass).
// Tables is empty when stopped or when the file cannot be read to the end.
struct BinnedActivity {
    std::optional<ReportTables> Tables;
    bool Stopped = false;
};
BinnedActivity BinActivityFile(const QString& countsPath, const std::vector<qint64>& recordTimes,
                                            const BinPlan& plan, const ExperimentSettings& settings,
                                            const ReportProgress& progress, int fromPercent, int toPercent);

// Writes report.csv / report.txt into the folder (report_1 when "report"
// cannot be created, for instance while a spreadsheet holds it open). Shows
// a message when neither can be written, and writes nothing (with a message)
// when no bin holds a record. Path is set when written.
ReportStatus WriteReportFile(const QString& folder, const ReportTables& tables, const ExperimentSettings& settings,
                             const ReportOptions& options, const QString& date, Operator& op,
                             const ReportProgress& progress, QString& path);

} // namespace bandora
