#include "ExperimentRecorder.h"

#include "CountsFile.h"
#include "RealTimeFile.h"

#include <array>

namespace bandora {

void ExperimentRecorder::Start(const QString& experimentFolder)
{
    folder_ = experimentFolder;
    recordInFile_ = 0;
    realTimeFileNumber_ = 0;
    recordsWritten_ = 0;
    failures_.clear();
    failing_ = false;
}

void ExperimentRecorder::NoteOutcome(const AppendResult& result, const QDateTime& at)
{
    if (result) {
        ++recordsWritten_;
        failing_ = false;
        return;
    }
    if (!failing_)
        failures_.push_back({at, at, 0, result.Error});
    failing_ = true;
    failures_.back().To = at;
    ++failures_.back().BuffersLost;
}

AppendResult ExperimentRecorder::AppendRealTimeRecord(const SampleTable& Sample)
{
    const qint64 bytes = RealTimeRecordBytes(Sample.BufferLength());
    if (realTimeBytes_.size() != bytes)
        realTimeBytes_.resize(bytes);
    EncodeRealTimeRecord(Sample, std::span<char>(realTimeBytes_.data(), size_t(bytes)));
    return AppendRecord(RealTimeFilePath(folder_, realTimeFileNumber_),
                        std::span<const char>(realTimeBytes_.constData(), size_t(bytes)));
}

AppendResult ExperimentRecorder::AppendCountsRecord(qint32 ElapsedMinutes,
                                                    std::span<const qint16, kChannelTable> IntervalCount)
{
    std::array<char, kCountsRecordBytes> record;
    EncodeCountsRecord(ElapsedMinutes, IntervalCount, record);
    return AppendRecord(CountsFilePath(folder_), record);
}

void ExperimentRecorder::AdvanceRecord()
{
    if (recordInFile_ < kRecordsPerRealTimeFile - 1) {
        ++recordInFile_;
    } else {
        recordInFile_ = 0;
        ++realTimeFileNumber_;
    }
}

AppendResult ExperimentRecorder::RecordBufferCycle(bool saveReal, const SampleTable& Sample,
                                                   qint32 ElapsedMinutes,
                                                   std::span<const qint16, kChannelTable> IntervalCount)
{
    AppendResult realTime;
    if (saveReal) {
        realTime = AppendRealTimeRecord(Sample);
        if (!realTime)
            return realTime;
    }
    AppendResult counts = AppendCountsRecord(ElapsedMinutes, IntervalCount);
    if (!counts) {
        if (saveReal)
            TruncateRecords(RealTimeFilePath(folder_, realTimeFileNumber_), realTime.Offset);
        return counts;
    }
    AdvanceRecord();
    return counts;
}

} // namespace bandora
