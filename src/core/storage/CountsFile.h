#pragma once

// counts.bin, the activity file of an experiment: one record per buffer cycle
// with the events counted on every channel. Little-endian two's complement,
// no header, no separator; record k starts at byte 774 x k.
//
// | Offset | Size    | Type         | Content                                                 |
// |--------|---------|--------------|---------------------------------------------------------|
// | 0      | 4       | i32          | ElapsedMinutes: whole minutes from the run start to the |
// |        |         |              | last time keeping (every 25 ticks, so it may lag 24)    |
// | 4      | 2 x 384 | i16 [0..383] | IntervalCount of channels 0..383: the events counted in |
// |        |         |              | this buffer cycle (0 for unused channels in zero mode)  |
// | 772    | 2       | i16          | IntervalCount[384]: the temperature at the end of the   |
// |        |         |              | buffer cycle in tenths of a degree, nearest(T x 10)     |
//
// The acquisition appends the records (ExperimentRecorder); the report window,
// the offline window and the join read them with CountsFileReader.

#include "BinaryRecordFile.h"
#include "ProjectSetup.h"

#include <QFile>
#include <QString>

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace bandora {

constexpr qint64 kCountsRecordBytes = 4 + 2 * kChannelTable; // 774
inline constexpr char kCountsFileName[] = "counts.bin";

struct CountsRecord {
    qint32 ElapsedMinutes = 0;
    // Channels 0..383 and, at 384, the temperature in tenths of a degree.
    std::array<qint16, kChannelTable> IntervalCount{};

    qint16 TemperatureTenths() const { return IntervalCount[kChannels]; }
    bool operator==(const CountsRecord&) const = default;
};

// The stored form of a temperature: 24.96 degrees is kept as 250.
qint16 TemperatureTenths(double celsius);

// The experiment folder's activity file.
QString CountsFilePath(const QString& experimentFolder);

void EncodeCountsRecord(qint32 elapsedMinutes, std::span<const qint16, kChannelTable> counts,
                        std::span<char, kCountsRecordBytes> out);
CountsRecord DecodeCountsRecord(std::span<const char, kCountsRecordBytes> bytes);

// Reads the records of one counts.bin within one operation. A partial record
// at the end (left by a crash) is not a record: it is reported and skipped.
class CountsFileReader {
public:
    explicit CountsFileReader(const QString& path);

    bool IsOpen() const { return file_.isOpen(); }
    QString ErrorText() const { return error_; }

    qint64 RecordCount() const { return records_; }
    bool HasPartialRecord() const { return partialBytes_ > 0; }

    // Record k, or nothing when k is beyond the whole records or the read fails.
    std::optional<CountsRecord> Read(qint64 k);
    // Every whole record in file order (empty when the file cannot be read).
    std::vector<CountsRecord> ReadAll();
    // Up to count whole records from record first on, read in one go, into
    // out (replacing its content); returns the number read. The report reads
    // a long file this way, block by block, without holding all of it.
    qint64 ReadBlock(qint64 first, qint64 count, std::vector<CountsRecord>& out);

private:
    QFile file_;
    QString error_;
    qint64 records_ = 0;
    qint64 partialBytes_ = 0;
    QByteArray block_;
};

} // namespace bandora
