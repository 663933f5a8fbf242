#pragma once

// The real-time files 0.bin, 1.bin, ... of an experiment: the raw value of
// every beam at every tick, one record per buffer cycle, 11 records per file
// (the 12th record of a run opens the next file as its record 0). The file
// number is plain decimal. Little-endian two's complement, no header; a
// record is the whole sample table of the buffer cycle, column by column:
//
// | Bytes of record k                   | Content                                  |
// |-------------------------------------|------------------------------------------|
// | R x k + 2 x (385 x s + c), 2 bytes  | i16 value of channel c (0..384) at       |
// |                                     | column s (0..RT_Buffer): the channel     |
// |                                     | varies fastest                           |
// | columns 0..RT_Buffer-1              | tick s of the buffer cycle (in zero mode |
// |                                     | after the spike removal and clipping)    |
// | column RT_Buffer, channel 384       | never filled by the cycle: zero          |
//
// R = 385 x (RT_Buffer + 1) x 2 bytes: 385,770 for RT_Buffer = 500.
//
// The acquisition appends the records (ExperimentRecorder); the offline window
// and the report re-analysis read them with RealTimeFileReader.

#include "BinaryRecordFile.h"
#include "SampleTable.h"

#include <QFile>
#include <QString>

#include <span>

namespace bandora {

constexpr int kRecordsPerRealTimeFile = 11;

// Bytes of one real-time record for buffer cycles of rtBuffer ticks.
constexpr qint64 RealTimeRecordBytes(int rtBuffer)
{
    return qint64(kChannelTable) * (qint64(rtBuffer) + 1) * 2;
}

// "0.bin", "1.bin", ...
QString RealTimeFileName(int fileNumber);
QString RealTimeFilePath(const QString& experimentFolder, int fileNumber);

// The stored form of a whole sample table; out holds RealTimeRecordBytes of
// the table's buffer length.
void EncodeRealTimeRecord(const SampleTable& samples, std::span<char> out);

// Fills the table (dimensioned for the file's buffer length) from the bytes of
// one record; a short record fills as far as it goes and leaves the rest zero.
void DecodeRealTimeRecord(std::span<const char> bytes, SampleTable& samples);

// Reads the records of one real-time file within one operation.
class RealTimeFileReader {
public:
    RealTimeFileReader(const QString& path, int rtBuffer);

    bool IsOpen() const { return file_.isOpen(); }
    QString ErrorText() const { return error_; }

    qint64 RecordCount() const { return records_; } // whole records
    bool HasPartialRecord() const { return partialBytes_ > 0; }

    // Reads record k into samples (redimensioned to the file's buffer length
    // when needed). A partial last record is read as far as it goes, the rest
    // of the table left zero. Returns the bytes read: 0 when k is past the end.
    qint64 Read(qint64 k, SampleTable& samples);

private:
    QFile file_;
    QString error_;
    int rtBuffer_ = 0;
    qint64 recordBytes_ = 0;
    qint64 records_ = 0;
    qint64 partialBytes_ = 0;
    QByteArray buffer_;
};

} // namespace bandora
