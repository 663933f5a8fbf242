#include "RealTimeFile.h"

#include <QDir>
#include <QtEndian>

#include <algorithm>

namespace bandora {

QString RealTimeFileName(int fileNumber)
{
    return QString::number(fileNumber) + QStringLiteral(".bin");
}

QString RealTimeFilePath(const QString& experimentFolder, int fileNumber)
{
    return QDir(experimentFolder).filePath(RealTimeFileName(fileNumber));
}

void EncodeRealTimeRecord(const SampleTable& samples, std::span<char> out)
{
    const int columns = samples.Columns();
    Q_ASSERT(qint64(out.size()) >= RealTimeRecordBytes(samples.BufferLength()));
    for (int c = 0; c < kChannelTable; ++c) {
        const auto row = samples.Row(c);
        char* at = out.data() + 2 * c;
        for (int s = 0; s < columns; ++s, at += 2 * kChannelTable)
            qToLittleEndian<qint16>(row[s], at);
    }
}

void DecodeRealTimeRecord(std::span<const char> bytes, SampleTable& samples)
{
    samples.Fill(0);
    const qint64 values = std::min<qint64>(qint64(bytes.size()) / 2,
                                           qint64(kChannelTable) * samples.Columns());
    for (qint64 v = 0; v < values; ++v)
        samples(int(v % kChannelTable), int(v / kChannelTable)) =
            qFromLittleEndian<qint16>(bytes.data() + 2 * v);
}

RealTimeFileReader::RealTimeFileReader(const QString& path, int rtBuffer)
    : file_(path), rtBuffer_(std::max(rtBuffer, 1)), recordBytes_(RealTimeRecordBytes(rtBuffer_))
{
    if (!file_.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file_.errorString());
        return;
    }
    const qint64 size = file_.size();
    records_ = size / recordBytes_;
    partialBytes_ = size % recordBytes_;
}

qint64 RealTimeFileReader::Read(qint64 k, SampleTable& samples)
{
    if (samples.BufferLength() != rtBuffer_ || samples.Columns() == 0)
        samples.Resize(rtBuffer_);
    if (!IsOpen() || k < 0 || k * recordBytes_ >= file_.size() || !file_.seek(k * recordBytes_)) {
        samples.Fill(0);
        return 0;
    }
    buffer_.resize(recordBytes_);
    const qint64 got = file_.read(buffer_.data(), recordBytes_);
    DecodeRealTimeRecord(std::span<const char>(buffer_.constData(), size_t(std::max<qint64>(got, 0))),
                         samples);
    return std::max<qint64>(got, 0);
}

} // namespace bandora
