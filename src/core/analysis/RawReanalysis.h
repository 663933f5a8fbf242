#pragma once

// The re-analysis of a recorded experiment from its raw beam signals: every
// buffer cycle of the real-time files is counted again with the method and
// sensitivity the operator chooses, and a report is made from the new counts.
// With "Replace old data" the new counts also replace those of counts.bin.
//
// The activity file is never left half rewritten: the new counts.bin is
// written beside the old one and takes its place in one rename once every
// record is done, so a STOP, a failed write or a crash leaves the old file
// whole (at worst with a stray temporary file beside it).

#include "ExperimentSettings.h"
#include "ReportGenerator.h"

#include <QString>

#include <functional>
#include <optional>

namespace bandora {

class Operator;

// The largest elapsed minute re-analysed when the old data are replaced:
// the whole of any run.
constexpr qint64 kReplaceTimeLimit = 32000;

// The lapse box: hours of recording to analyse, as a limit on the records'
// elapsed minutes. Less than 5 minutes means the first hour, and the box then
// shows "1".
struct LapseLimit {
    qint64 Minutes = 60;
    std::optional<QString> ShownHours; // the box text when the value was replaced
};
LapseLimit LapseLimitFromHours(const QString& hoursText);

// The threshold box: a sensitivity from 1.1 to 6.0; anything else becomes 1.8.
constexpr double kDefaultThreshold = 1.8;
bool ThresholdInRange(double value);

struct ReanalysisRequest {
    QString Folder;
    QString AppDir;
    int Method = 0;            // 0, 1 or 2, as the analysis methods
    double Threshold = kDefaultThreshold;
    bool Replace = false;      // "Replace old data"
    qint64 TimeLimit = 60;     // records whose time field is below this are analysed
    QString BinSizeText;
    ReportOptions Options;
    QString Date;
    int Threads = 0;           // cores to use; 0 = all
    bool StopWithoutPlate = false; // as for a report
};

// How far the run got: "Block done/total" while counting, then saving.
struct ReanalysisStep {
    qint64 Done = 0;
    qint64 Total = 0;
    bool Saving = false;
};
// Told of each step; answers false to stop the run after the current record.
using ReanalysisObserver = std::function<bool(const ReanalysisStep&)>;

enum class ReanalysisStatus {
    Written,        // the report of the new counts is written (and counts.bin replaced when asked)
    NoActivityFile, // "Activity file not Found"
    NoRealTimeData, // "Real Time Data Not Found"
    Unreadable,
    NoPlateFile,    // no plate file, and the request said to stop
    Stopped,        // no report; counts.bin as it was
    NotReplaced,    // the report is written, but counts.bin could not be replaced and is as it was
    NotWritten,     // the report could not be written
};

struct ReanalysisResult {
    ReanalysisStatus Status = ReanalysisStatus::Written;
    qint64 Records = 0;          // records re-analysed (N)
    qint64 RecordsInTime = 0;    // records within the time limit; more than N when raw data end early
    bool Replaced = false;       // counts.bin now holds the new counts
    QString ReportPath;
    std::optional<QString> ShownBinSize;
    SettingsReadResult Settings;
    ReportTables Tables;
};

// The number of whole raw records the real-time files 0.bin, 1.bin, ... hold
// from the first on, 11 to a file.
qint64 CountRealTimeRecords(const QString& folder, int rtBuffer);

// Why the real-time files 0.bin, 1.bin, ... of the folder cannot hold records
// of rtBuffer ticks (a buffer length below 1, a file that is no whole number
// of such records, a file before the last with other than eleven); nothing
// when they agree.
std::optional<QString> CheckRealTimeFiles(const QString& folder, int rtBuffer);

ReanalysisResult ReanalyzeRawData(const ReanalysisRequest& request, ExperimentSettings& settings, Operator& op,
                                  const ReanalysisObserver& observer = {});

} // namespace bandora
