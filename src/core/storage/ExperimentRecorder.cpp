#include "ExperimentRecorder.h"

#include "CountsFile.h"
#include "RealTimeFile.h"
#include "RecordSyntax.h"

#include <QDir>
#include <QFileInfo>

#include <array>

namespace bandora {

void ExperimentRecorder::Start(const QString& experimentFolder, ProjectFilesWriter writeProjectFiles)
{
    folder_ = experimentFolder;
    recordInFile_ = 0;
    realTimeFileNumber_ = 0;
    recordsWritten_ = 0;
    failures_.clear();
    failing_ = false;
    recordsProblem_.clear();
    projectFilesProblem_.clear();
    pendingProjectFiles_ = std::move(writeProjectFiles);
    TryProjectFiles();
    Report();
}

void ExperimentRecorder::TryProjectFiles()
{
    if (!pendingProjectFiles_)
        return;
    projectFilesProblem_ = pendingProjectFiles_();
    if (projectFilesProblem_.isEmpty())
        pendingProjectFiles_ = nullptr;
}

void ExperimentRecorder::Report()
{
    const QString& now = recordsProblem_.isEmpty() ? projectFilesProblem_ : recordsProblem_;
    if (now == problem_)
        return;
    problem_ = now;
    if (onProblem)
        onProblem(problem_);
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
    TryProjectFiles();
    const AppendResult result = AppendBothRecords(saveReal, Sample, ElapsedMinutes, IntervalCount);
    recordsProblem_ = result.Ok ? QString() : result.Error;
    Report();
    return result;
}

AppendResult ExperimentRecorder::AppendBothRecords(bool saveReal, const SampleTable& Sample, qint32 ElapsedMinutes,
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

namespace {

// RT_Buffer of setup.dat (line 4, field 4); 0 when it cannot be read.
qint16 StoredRealTimeBuffer(const QString& folder)
{
    try {
        RecordReader reader = RecordReader::FromFile(QDir(folder).filePath(QStringLiteral("setup.dat")));
        for (int line = 0; line < 3; ++line)
            reader.SkipLine();
        const QVector<RecordField> fields = reader.ReadRecord();
        return fields.size() >= 4 ? RecordReader::Int16Of(fields[3]) : qint16(0);
    } catch (const RecordError&) {
        return 0;
    }
}

bool CutToWholeRecords(const QString& path, qint64 recordBytes)
{
    const qint64 size = QFileInfo(path).size();
    if (recordBytes <= 0 || size % recordBytes == 0)
        return false;
    return bool(TruncateRecords(path, size - size % recordBytes));
}

} // namespace

QStringList CutTornRecords(const QString& experimentFolder)
{
    QStringList cut;
    if (CutToWholeRecords(CountsFilePath(experimentFolder), kCountsRecordBytes))
        cut << CountsFilePath(experimentFolder);
    const qint16 rtBuffer = StoredRealTimeBuffer(experimentFolder);
    if (rtBuffer <= 0)
        return cut;
    for (int n = 0;; ++n) {
        const QString path = RealTimeFilePath(experimentFolder, n);
        if (!QFileInfo(path).isFile())
            break;
        if (CutToWholeRecords(path, RealTimeRecordBytes(rtBuffer)))
            cut << path;
    }
    return cut;
}

} // namespace bandora
