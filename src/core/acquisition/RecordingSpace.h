#pragma once

// How much disk a recording needs. Every buffer cycle adds one counts record
// and, with Save_real, one real-time record; a buffer cycle lasts at least
// RT_Buffer ticks of the line's fastest pace, so the most a lapse can write is
// known before the run starts, and the time left is known while it runs.

#include <QString>

namespace bandora {

// The quickest tick the line allows: four block replies of 197 bytes at
// 115200 baud take 68.4 ms, whatever the timer's 30 ms.
constexpr double kFastestTickMs = 68.0;

// Bytes one buffer cycle adds to the experiment folder.
qint64 BufferCycleBytes(int rtBuffer, bool saveReal);

// The most bytes `minutes` of recording can add.
qint64 RecordingBytes(double minutes, int rtBuffer, bool saveReal);

// Bytes free for this program on the volume of `path`; -1 when unknown.
qint64 FreeDiskBytes(const QString& path);

// The warning before a start whose lapse may need more than the free space;
// empty when it fits or the free space cannot be told.
QString LapseSpaceWarning(int lapseMinutes, int rtBuffer, bool saveReal, qint64 freeBytes, const QString& folder);

// The notice during a run with less than an hour of records left; empty
// while there is more.
QString LowSpaceNotice(int rtBuffer, bool saveReal, qint64 freeBytes, const QString& folder);

} // namespace bandora
