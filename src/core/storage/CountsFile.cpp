#include "CountsFile.h"

#include "core/common/Rounding.h"

#include <QDir>
#include <QtEndian>

#include <algorithm>

namespace bandora {

qint16 TemperatureTenths(double celsius)
{
    return NearestInt16(celsius * 10.0);
}

QString CountsFilePath(const QString& experimentFolder)
{
    return QDir(experimentFolder).filePath(QString::fromLatin1(kCountsFileName));
}

void EncodeCountsRecord(qint32 elapsedMinutes, std::span<const qint16, kChannelTable> counts,
                        std::span<char, kCountsRecordBytes> out)
{
    qToLittleEndian<qint32>(elapsedMinutes, out.data());
    for (int c = 0; c < kChannelTable; ++c)
        qToLittleEndian<qint16>(counts[c], out.data() + 4 + 2 * c);
}

CountsRecord DecodeCountsRecord(std::span<const char, kCountsRecordBytes> bytes)
{
    CountsRecord record;
    record.ElapsedMinutes = qFromLittleEndian<qint32>(bytes.data());
    for (int c = 0; c < kChannelTable; ++c)
        record.IntervalCount[c] = qFromLittleEndian<qint16>(bytes.data() + 4 + 2 * c);
    return record;
}

CountsFileReader::CountsFileReader(const QString& path) : file_(path)
{
    if (!file_.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file_.errorString());
        return;
    }
    const qint64 size = file_.size();
    records_ = size / kCountsRecordBytes;
    partialBytes_ = size % kCountsRecordBytes;
}

std::optional<CountsRecord> CountsFileReader::Read(qint64 k)
{
    if (!IsOpen() || k < 0 || k >= records_ || !file_.seek(k * kCountsRecordBytes))
        return std::nullopt;
    std::array<char, kCountsRecordBytes> bytes;
    if (file_.read(bytes.data(), kCountsRecordBytes) != kCountsRecordBytes)
        return std::nullopt;
    return DecodeCountsRecord(bytes);
}

std::vector<CountsRecord> CountsFileReader::ReadAll()
{
    std::vector<CountsRecord> records;
    if (!IsOpen() || !file_.seek(0))
        return records;
    records.reserve(size_t(records_));
    std::array<char, kCountsRecordBytes> bytes;
    for (qint64 k = 0; k < records_; ++k) {
        if (file_.read(bytes.data(), kCountsRecordBytes) != kCountsRecordBytes)
            break;
        records.push_back(DecodeCountsRecord(bytes));
    }
    return records;
}

qint64 CountsFileReader::ReadBlock(qint64 first, qint64 count, std::vector<CountsRecord>& out)
{
    out.clear();
    if (!IsOpen() || first < 0 || first >= records_ || count <= 0 || !file_.seek(first * kCountsRecordBytes))
        return 0;
    count = std::min(count, records_ - first);
    block_.resize(count * kCountsRecordBytes);
    const qint64 got = file_.read(block_.data(), block_.size());
    const qint64 whole = std::max<qint64>(got, 0) / kCountsRecordBytes;
    out.resize(size_t(whole));
    for (qint64 k = 0; k < whole; ++k)
        out[size_t(k)] = DecodeCountsRecord(
            std::span<const char, kCountsRecordBytes>(block_.constData() + k * kCountsRecordBytes, kCountsRecordBytes));
    return whole;
}

} // namespace bandora
