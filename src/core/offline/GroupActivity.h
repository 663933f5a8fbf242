#pragma once

// The recorded activity of one well and of its group over a whole experiment,
// in bins of 30 minutes, from the activity file. It needs no real-time file.

#include "OfflineExperiment.h"

#include <QString>
#include <QVector>

#include <optional>
#include <span>

namespace bandora {

constexpr int kActivityBinMinutes = 30;

struct GroupActivity {
    // Bin k (from 1) holds the records whose time lies above 30(k-1) and up to
    // 30k minutes (bin 1 also the times of 0 and below); bin 0 stays empty.
    QVector<qint64> Well;
    QVector<qint64> Group;
    QVector<int> BinRecords; // records in each bin: a bin without any was not recorded
    qint32 EndMinutes = 0;  // the largest time of the file
    qint64 Records = 0;
    int GroupWells = 0;     // wells of the group
    qint64 WellTotal = 0;   // every event of the well over the recording
};

// The well's value in one record: its beam-0 count on a plate of one beam per
// well, else the mean of its beams' counts, rounded (ties to even).
qint64 WellRecordValue(const PlateFormat& plate, std::span<const qint16, kChannelTable> counts,
                       const QVector<WellBeam>& beams);

// Reads counts.bin of the folder and bins the well of `channel` and the group
// of that channel (its wells are those whose beam-0 channel is in it).
// Nothing when the file is missing or cannot be read, or a record's time lies
// more than a year of empty half hours beyond the records (a damaged file).
std::optional<GroupActivity> ComputeGroupActivity(const QString& experimentFolder, const OfflineExperiment& experiment,
                                                  int channel);

} // namespace bandora
