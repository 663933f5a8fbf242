#pragma once

// calvalue.dat of the program folder: the beam receiver settings the
// auto-calibration found, a quoted header and one record per channel:
// channel, pin hole, gain (each 0 to 7).

#include "ProjectSetup.h"

#include <QString>

#include <array>

namespace bandora {

using ChannelSettingTable = std::array<qint16, kChannelTable>;

// The file in the program folder appDir.
QString CalibrationFilePath(const QString& appDir);

// Reads the records in file order into the tables (record k to channel k),
// each value held to 0..7; channels after the last record keep theirs.
// Throws RecordError when the file is missing or a record is damaged.
void ReadCalibrationValues(const QString& path, ChannelSettingTable& pinHole, ChannelSettingTable& gain);

// Writes the header and the records of channels 0..383. Throws RecordError
// when the file cannot be written (the previous one then stays).
void WriteCalibrationValues(const QString& path, const ChannelSettingTable& pinHole, const ChannelSettingTable& gain);

} // namespace bandora
