#pragma once

// The activity of a recorded experiment as one time series per well, the one
// definition every analysis of the analytics view, bandora-analyze and the
// exports build on.
//
// A well's value in a record is the report's: the count of its beam-0 channel
// on single-beam plates, the mean of its beams (rounded, ties to even) on
// plates with several beams per well. Sample k of a well is the sum of its
// values over the records whose corrected time (elapsed minutes, day wraps
// undone as the report does) lies in minutes [k x Resolution, (k+1) x
// Resolution). A sample without any record is missing, never zero: the run
// was paused or the computer was busy.
//
// The resolution is 1 minute while a buffer cycle takes less than a minute.
// With longer buffer cycles some minutes hold no record although the run went
// on; the resolution then becomes the smallest whole number of minutes with a
// record in every sample, the rare pauses aside.
//
// Zeitgeber time: ZT0 is the hour the light schedule of the experiment's own
// setup.dat switches the light on, on the day of the start (the last light-on
// at or before the start); without a schedule, or without a start time, ZT0
// is the start. Light pulse trains are ignored: the phases are the hours.

#include "core/analysis/ExperimentSettings.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <span>
#include <vector>

namespace bandora {

class Operator;

enum class LightPhase { Light, Dark, None }; // None: the experiment ran without a light schedule

// The daily light schedule (hours of the clock). Equal hours keep the light
// off all day, as the acquisition cycle's hourly rule does.
struct LightSchedule {
    bool On = false;
    int OnHour = 9;
    int OffHour = 21;

    LightPhase PhaseAtClockMinute(int minuteOfDay) const;
};

// One well of the plate.
struct SeriesWell {
    int Well = 0;
    QString Label;            // as the plate names it: A1, B12
    int Group = -1;           // the group of its beam-0 channel; -1 none
    bool HasBeam = false;     // the plate gives it at least one beam
    bool BeamUnusable = false; // one of its beams is disabled in the experiment's status.dat
    qint64 CapRecords = 0;    // records in which its value reached the counting cap
};

struct MinuteSeries {
    QString Folder;
    QDateTime Start;          // from the folder name ddmmyyyy_hhmm; invalid when the name is not one
    int Resolution = 1;       // minutes per sample
    qint64 Samples = 0;       // sample k covers minutes k x Resolution .. (k+1) x Resolution - 1
    qint64 Records = 0;       // records taken from counts.bin
    qint64 SkippedRecords = 0; // records with a negative time, left out
    int CountCap = 0;         // counts one beam can reach in one buffer cycle (0: unknown)

    std::vector<SeriesWell> WellInfo; // wells 0..Wells()-1
    std::vector<QString> GroupNames;  // groups 0..Groups()-1 (the largest group used + 1)
    std::vector<quint8> Present;      // per sample: 1 when a record fell in it
    std::vector<qint32> Values;       // [well x Samples + sample]; 0 where missing

    LightSchedule Light;
    int StartZtMinutes = 0;   // minutes from ZT0 to the start, 0..1439
    int StartClockMinute = 0; // minute of the day of the start

    int Wells() const { return int(WellInfo.size()); }
    int Groups() const { return int(GroupNames.size()); }
    bool IsPresent(qint64 k) const { return Present[size_t(k)] != 0; }
    std::span<const qint32> Well(int w) const
    {
        return {Values.data() + size_t(w) * size_t(Samples), size_t(Samples)};
    }
    std::span<qint32> Well(int w) { return {Values.data() + size_t(w) * size_t(Samples), size_t(Samples)}; }

    // Sizes the tables for wells x samples, every sample missing.
    void Resize(int wells, qint64 samples);

    // Minutes since the start of sample k, and its ZT time in minutes and hours.
    qint64 SampleMinute(qint64 k) const { return k * Resolution; }
    qint64 ZtMinute(qint64 minute) const { return minute + StartZtMinutes; }
    double ZtHours(qint64 minute) const { return double(ZtMinute(minute)) / 60.0; }
    LightPhase PhaseAt(qint64 minute) const;

    // "003_Name" for group 3, "999_Free" for no group.
    QString GroupLabel(int group) const;
};

struct SeriesLoad {
    bool Ok = false;
    QString Error; // why there is no series
    MinuteSeries Series;
    SettingsReadResult Settings;
};

// The smallest resolution with a record in every sample: no sample lies
// wholly between two consecutive records, but for at most 1 % of the steps
// from one record to the next (pauses). At most 60 minutes. Times in
// minutes, in file order.
int SeriesResolution(std::span<const qint64> times);

// Reads the experiment folder: counts.bin, its own project files and the
// plate file of that name from the program folder (messages as for a report).
SeriesLoad LoadMinuteSeries(const QString& folder, const QString& appDir, Operator& op);

} // namespace bandora
