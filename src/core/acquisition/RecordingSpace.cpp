#include "RecordingSpace.h"

#include "core/storage/CountsFile.h"
#include "core/storage/RealTimeFile.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

#include <cmath>

namespace bandora {

namespace {

constexpr double kMegabyte = 1024.0 * 1024.0;

QString Megabytes(qint64 bytes) { return QString::number(std::ceil(double(bytes) / kMegabyte), 'f', 0); }

} // namespace

qint64 BufferCycleBytes(int rtBuffer, bool saveReal)
{
    return kCountsRecordBytes + (saveReal ? RealTimeRecordBytes(rtBuffer) : 0);
}

qint64 RecordingBytes(double minutes, int rtBuffer, bool saveReal)
{
    const double cycleMs = std::max(rtBuffer, 1) * kFastestTickMs;
    const auto cycles = qint64(std::ceil(minutes * 60000.0 / cycleMs));
    return cycles * BufferCycleBytes(rtBuffer, saveReal);
}

qint64 FreeDiskBytes(const QString& path)
{
    const QStorageInfo info(path);
    return info.isValid() ? info.bytesAvailable() : -1;
}

QString LapseSpaceWarning(int lapseMinutes, int rtBuffer, bool saveReal, qint64 freeBytes, const QString& folder)
{
    const qint64 needed = RecordingBytes(lapseMinutes, rtBuffer, saveReal);
    if (freeBytes < 0 || needed <= freeBytes)
        return {};
    return QStringLiteral("The programmed lapse of %1 minutes can record up to %2 MB in %3, but only %4 MB are free "
                          "there: recording stops when the disk is full.")
        .arg(lapseMinutes)
        .arg(Megabytes(needed), QDir::toNativeSeparators(folder), Megabytes(freeBytes));
}

QString LowSpaceNotice(int rtBuffer, bool saveReal, qint64 freeBytes, const QString& folder)
{
    if (freeBytes < 0 || freeBytes >= RecordingBytes(60, rtBuffer, saveReal))
        return {};
    return QStringLiteral("less than an hour of records left in %1 (%2 MB free)")
        .arg(QDir::toNativeSeparators(folder), Megabytes(freeBytes));
}

} // namespace bandora
