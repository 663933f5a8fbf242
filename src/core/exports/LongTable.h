#pragma once

// The experiment as one long table for pandas, R and spreadsheets: UTF-8
// CSV, one row per well and time bin, in well order and then bin order:
//
//   experiment,well,row,column,group,bin_start,bin_start_min,zt_h,light,
//   temperature_c,value
//
// Bins are the report's bin size, counted from the run start: bin j holds
// minutes [j x B, (j+1) x B) of the minute series. bin_start is the local
// date-time (ISO 8601) of the bin's first minute, zt_h its Zeitgeber time in
// hours, light "light", "dark" or empty without a light schedule,
// temperature_c the mean of the bin's temperature readings (empty without
// one) and value the sum of the well's minute values. A bin without any
// recorded minute has an empty value, never 0.

#include <QByteArray>
#include <QString>

#include <vector>

namespace bandora {

struct MinuteSeries;
class Operator;

// Per bin: the mean temperature in degrees, or a negative value without a
// reading in 1.0 .. 50.0 degrees (the readings the report averages).
using BinTemperatures = std::vector<double>;

QByteArray LongTableText(const MinuteSeries& series, const QString& experiment, qint64 binMinutes,
                         const BinTemperatures& temperatures);

struct LongTableResult {
    bool Ok = false;
    QString Error;
    qint64 BinMinutes = 0;
    qint64 Rows = 0;
    bool UsedDefaults = false; // a project file of the experiment was damaged: defaults were taken
};

// Reads the experiment folder and writes its long table to path. The bin
// size follows the report's rules for the bin box's text.
LongTableResult WriteLongTable(const QString& folder, const QString& appDir, const QString& binSizeText,
                               const QString& path, Operator& op);

} // namespace bandora
