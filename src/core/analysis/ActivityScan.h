#pragma once

// The first pass over an experiment's activity file (counts.bin): how many
// records it holds, their times corrected for the wraps of the elapsed-minute
// field at midnight, and the end time that decides the size of the report's
// time bins.

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <limits>
#include <vector>

namespace bandora {

// The elapsed-minute field of a record falls back by a day's worth when the
// run passes midnight (1430 is followed by 5). Each fall of more than 1000
// minutes starts a new day; the corrected time is 1440 x day + field. A
// smaller fall is taken as it stands.
class DayWrap {
public:
    qint64 Next(qint32 timeField)
    {
        qint64 t = 1440 * day_ + timeField;
        if (started_ && previous_ - t > 1000) {
            ++day_;
            t = 1440 * day_ + timeField;
        }
        started_ = true;
        previous_ = t;
        return t;
    }

private:
    qint64 day_ = 0;
    qint64 previous_ = 0;
    bool started_ = false;
};

// Empty half hours a time series of an activity file (the per-well export,
// the group activity) may hold beside one half hour per record: a year of
// them covers any outage of the instrument or the gap between the parts of a
// joined experiment. Record times beyond that come from a damaged file; their
// empty steps would cost work and memory without bound (one record stamped
// minute 1,000,000,000 asks for 33 million of them).
constexpr qint64 kMostEmptyHalfHours = 366 * 48;

struct ActivityScan {
    bool Opened = false;
    QString Error;               // why the file could not be read
    qint64 Records = 0;          // whole records taken, in file order from the first
    bool PartialRecord = false;  // the file ends in part of a record (left by a crash)
    qint64 LargestTimeField = 0; // of the records taken; 0 when none is larger
    std::vector<qint32> TimeField;  // the stored elapsed minutes of the records taken
    std::vector<qint64> RecordTime; // their corrected times

    // Keeps only the first records (a re-analysis stops where the raw data ends).
    void KeepFirst(qint64 records);

    // E: the larger of the largest time field and the last corrected time.
    qint64 EndTime() const
    {
        return RecordTime.empty() ? LargestTimeField : std::max(LargestTimeField, RecordTime.back());
    }
};

// Reads the records of the file from the first on while their time field is
// below timeFieldLimit (a re-analysis of the first hours of a run stops at the
// first record at or past its limit).
ActivityScan ScanActivityFile(const QString& path,
                              qint64 timeFieldLimit = std::numeric_limits<qint64>::max());

} // namespace bandora
