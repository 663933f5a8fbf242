#pragma once

// The experiment as the monitor files of the activity-monitor tools of the
// field (damr and the rethomics packages, ShinyR-DAM, VANESSA-DAM): 32 wells
// per file in well order (A1, B1, ... as the plate numbers them), 96 wells
// give 3 files and 384 give 12, named <experiment>_M01.txt, _M02.txt, ...
//
// One line per minute of the minute series, from the first to the last
// recorded minute, 42 fields separated by a TAB, CR LF line ends:
//
//   1  index 1, 2, ...           2  date "07 Dec 26" (English month)
//   3  time "HH:MM:SS"           4  status: 1, or 0 for a minute without record
//   5-7 "0"   8 "Ct"   9-10 "0"  11-42 the minute values of the file's wells
//                                 (0 beyond the plate's last well)
//
// The readers keep status 1 lines only, so a minute without a record is
// dropped rather than read as rest. Every file of a plate has the same lines
// of index, date and time. With buffer cycles longer than a minute the
// series steps by its resolution, and so do the lines.
//
// metadata.csv beside them, one line per well, loads with damr's
// link_dam_metadata:
//   file,start_datetime,stop_datetime,region_id,well,group,plate,experiment
// start_datetime is ZT0 and stop_datetime the last recorded minute, both
// "YYYY-MM-DD HH:MM:SS"; region_id is the well's place 1..32 in its file.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace bandora {

struct MinuteSeries;
class Operator;

constexpr int kDamWellsPerFile = 32;

// "07 Dec 26": the date as the monitor files write it, whatever the locale.
QString DamDate(const QDate& date);

// The number of monitor files for the wells of the series.
int DamFileCount(const MinuteSeries& series);
QString DamFileName(const QString& experiment, int file); // file from 0: <experiment>_M01.txt

// The text of monitor file `file` (from 0) and of metadata.csv.
QByteArray DamMonitorText(const MinuteSeries& series, int file);
QByteArray DamMetadataText(const MinuteSeries& series, const QString& experiment, const QString& plate);

struct DamResult {
    bool Ok = false;
    QStringList Files; // written, metadata.csv last
    QString Error;
    bool UsedDefaults = false; // a project file of the experiment was damaged: defaults were taken
};

// Writes every monitor file and metadata.csv into dir (created when missing).
DamResult WriteDamFiles(const MinuteSeries& series, const QString& experiment, const QString& plate,
                        const QString& dir);

// The whole export of an experiment folder into dir: its minute series, the
// experiment named by the folder, the plate of its setup.dat.
DamResult ExportDam(const QString& folder, const QString& appDir, const QString& dir, Operator& op);

} // namespace bandora
