#include "RawReanalysis.h"

#include "ActivityScan.h"
#include "RecordRecounter.h"
#include "core/common/Operator.h"
#include "core/common/Rounding.h"
#include "core/storage/CountsFile.h"
#include "core/storage/RealTimeFile.h"
#include "core/storage/RecordSyntax.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <limits>

namespace bandora {

namespace {

constexpr qint64 kCountsBlock = 256;
// Records counted at once on the cores: they meet once per batch. STOP still
// takes effect after the record it falls in.
constexpr qint64 kRecountBatch = 4;
constexpr qint64 kShortestLapse = 5;     // minutes
constexpr qint64 kDefaultLapse = 60;     // minutes, shown as one hour
constexpr double kLowestThreshold = 1.1;
constexpr double kHighestThreshold = 6.0;

// Raw record r of the experiment: record r mod 11 of file r / 11.
class RawRecords {
public:
    RawRecords(const QString& folder, int rtBuffer)
        : folder_(folder), bytes_(RealTimeRecordBytes(std::max(rtBuffer, 1)))
    {
    }

    // Reads record r whole into bytes; false when it cannot.
    bool Read(qint64 r, QByteArray& bytes)
    {
        const int number = int(r / kRecordsPerRealTimeFile);
        if (number != fileNumber_) {
            file_.close();
            file_.setFileName(RealTimeFilePath(folder_, number));
            fileNumber_ = number;
            if (!file_.open(QIODevice::ReadOnly))
                return false;
        }
        bytes.resize(bytes_);
        return file_.isOpen() && file_.seek((r % kRecordsPerRealTimeFile) * bytes_) &&
               file_.read(bytes.data(), bytes_) == bytes_;
    }

private:
    QString folder_;
    qint64 bytes_;
    QFile file_;
    int fileNumber_ = -1;
};

// Copies the bytes of the source from offset on to the end into out.
bool CopyTail(const QString& source, qint64 offset, QSaveFile& out)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly) || !in.seek(offset))
        return false;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size())
            return false;
    }
    return true;
}

qint32 StoredTime(qint64 minutes)
{
    return qint32(std::clamp<qint64>(minutes, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

} // namespace

LapseLimit LapseLimitFromHours(const QString& hoursText)
{
    LapseLimit limit;
    limit.Minutes = RoundHalfEven(std::clamp(NumericValue(hoursText) * 60.0, -1.0e12, 1.0e12));
    if (limit.Minutes < kShortestLapse) {
        limit.Minutes = kDefaultLapse;
        limit.ShownHours = QString::number(kDefaultLapse / 60);
    }
    return limit;
}

bool ThresholdInRange(double value) { return value >= kLowestThreshold && value <= kHighestThreshold; }

qint64 CountRealTimeRecords(const QString& folder, int rtBuffer)
{
    const qint64 bytes = RealTimeRecordBytes(std::max(rtBuffer, 1));
    qint64 records = 0;
    for (int number = 0;; ++number) {
        const QFileInfo file(RealTimeFilePath(folder, number));
        if (!file.isFile())
            return records;
        const qint64 whole = std::min<qint64>(file.size() / bytes, kRecordsPerRealTimeFile);
        records += whole;
        if (whole < kRecordsPerRealTimeFile)
            return records;
    }
}

std::optional<QString> CheckRealTimeFiles(const QString& folder, int rtBuffer)
{
    if (rtBuffer < 1)
        return QStringLiteral("RT_Buffer %1 of setup.dat is no buffer length").arg(rtBuffer);
    const qint64 bytes = RealTimeRecordBytes(rtBuffer);
    const qint64 fullFile = bytes * kRecordsPerRealTimeFile;
    for (int number = 0;; ++number) {
        const QFileInfo file(RealTimeFilePath(folder, number));
        if (!file.exists())
            return std::nullopt;
        const QString name = QDir::toNativeSeparators(file.filePath());
        if (!file.isFile())
            return QStringLiteral("%1 is not a regular file").arg(name);
        const qint64 size = file.size();
        const bool last = !QFileInfo(RealTimeFilePath(folder, number + 1)).exists();
        // Every file but the last holds eleven records; the last one at most
        // eleven. A file that is no whole number of records was written with
        // another buffer length than setup.dat now gives.
        if (size % bytes != 0 || size > fullFile || (!last && size != fullFile))
            return QStringLiteral("%1 holds %2 bytes, which is not %3 of records of %4 bytes (RT_Buffer %5 of "
                                  "setup.dat)")
                .arg(name)
                .arg(size)
                .arg(last ? QStringLiteral("a whole number up to %1").arg(kRecordsPerRealTimeFile)
                          : QString::number(kRecordsPerRealTimeFile))
                .arg(bytes)
                .arg(rtBuffer);
    }
}

ReanalysisResult ReanalyzeRawData(const ReanalysisRequest& request, ExperimentSettings& settings, Operator& op,
                                  const ReanalysisObserver& observer)
{
    ReanalysisResult result;
    const auto step = [&observer](qint64 done, qint64 total, bool saving) {
        return !observer || observer(ReanalysisStep{done, total, saving});
    };
    const QString countsPath = CountsFilePath(request.Folder);
    // An empty folder box names no experiment (not the working directory).
    if (request.Folder.trimmed().isEmpty() || !QFileInfo(countsPath).isFile()) {
        op.inform(QStringLiteral("Activity file not Found"));
        result.Status = ReanalysisStatus::NoActivityFile;
        return result;
    }
    if (!QFileInfo(RealTimeFilePath(request.Folder, 0)).isFile()) {
        op.inform(QStringLiteral("Real Time Data Not Found"));
        result.Status = ReanalysisStatus::NoRealTimeData;
        return result;
    }
    result.Settings = ReadExperimentSettings(request.Folder, request.AppDir, op, settings);
    if (!result.Settings.PlateFound && request.StopWithoutPlate) {
        result.Status = ReanalysisStatus::NoPlateFile;
        return result;
    }

    // The raw records are cut from the files by the length setup.dat gives; a
    // damaged setup.dat would have every record read askew and counted as
    // nonsense, and with "Replace" those counts would overwrite the good ones.
    if (const auto mismatch = CheckRealTimeFiles(request.Folder, settings.RT_Buffer)) {
        op.inform(QStringLiteral("Real time data do not match the experiment's setup: %1. Nothing was analysed.")
                      .arg(*mismatch));
        result.Status = ReanalysisStatus::Unreadable;
        return result;
    }

    ActivityScan scan = ScanActivityFile(countsPath, request.TimeLimit);
    if (!scan.Opened || !scan.Error.isEmpty()) {
        op.inform(QStringLiteral("Activity file can't be read: %1").arg(scan.Error));
        result.Status = ReanalysisStatus::Unreadable;
        return result;
    }
    result.RecordsInTime = scan.Records;
    // Records beyond the raw data (a run that saved no more of them, or a
    // real-time file cut short by a crash) are left out, not counted from
    // nothing.
    const qint64 rawRecords = CountRealTimeRecords(request.Folder, settings.RT_Buffer);
    if (rawRecords == 0 && scan.Records > 0) {
        op.inform(QStringLiteral("Real Time Data Not Found"));
        result.Status = ReanalysisStatus::NoRealTimeData;
        return result;
    }
    scan.KeepFirst(rawRecords);
    const qint64 n = scan.Records;
    result.Records = n;
    if (!step(0, n, false)) {
        result.Status = ReanalysisStatus::Stopped;
        return result;
    }

    const BinPlan plan = PlanBins(request.BinSizeText, scan.EndTime());
    result.ShownBinSize = plan.ShownBinSize;
    ReportBinner binner(plan, settings);
    RecordRecounter recounter(settings.Plate, settings.RT_Buffer, request.Method, request.Threshold,
                              request.Threads);
    RawRecords raw(request.Folder, settings.RT_Buffer);
    CountsFileReader counts(countsPath);

    // Records 0..N-2 are rewritten; the last one analysed and everything
    // after it stay as they are.
    const qint64 rewritten = request.Replace ? std::max<qint64>(n - 1, 0) : 0;
    const qint64 sizeAtStart = QFileInfo(countsPath).size();
    QSaveFile replacement(countsPath);
    bool replacing = rewritten > 0;
    if (replacing && !replacement.open(QIODevice::WriteOnly)) {
        op.inform(QStringLiteral("Activity file can't be replaced: %1: %2")
                      .arg(QDir::toNativeSeparators(countsPath), replacement.errorString()));
        replacing = false;
        result.Status = ReanalysisStatus::NotReplaced;
    }

    std::vector<CountsRecord> block;
    std::vector<QByteArray> rawBytes(kRecountBatch);
    std::vector<std::span<const char>> batch;
    std::vector<RecordRecounter::Counts> recounted(kRecountBatch);
    std::array<qint16, kChannelTable> values{};
    std::array<char, kCountsRecordBytes> stored{};
    for (qint64 first = 0; first < n; first += kRecountBatch) {
        batch.clear();
        for (qint64 r = first; r < std::min(first + kRecountBatch, n); ++r) {
            QByteArray& bytes = rawBytes[size_t(r - first)];
            if (!raw.Read(r, bytes)) {
                op.inform(QStringLiteral("Real time data can't be read: %1")
                              .arg(QDir::toNativeSeparators(
                                  RealTimeFilePath(request.Folder, int(r / kRecordsPerRealTimeFile)))));
                result.Status = ReanalysisStatus::Unreadable;
                return result;
            }
            batch.emplace_back(bytes.constData(), size_t(bytes.size()));
        }
        recounter.Recount(batch, recounted);

        for (qint64 r = first; r < first + qint64(batch.size()); ++r) {
            if (r % kCountsBlock == 0 &&
                counts.ReadBlock(r, std::min(kCountsBlock, n - r), block) != std::min(kCountsBlock, n - r)) {
                op.inform(
                    QStringLiteral("Activity file can't be read: %1").arg(QDir::toNativeSeparators(countsPath)));
                result.Status = ReanalysisStatus::Unreadable;
                return result;
            }
            const CountsRecord& record = block[size_t(r % kCountsBlock)];
            std::copy(recounted[size_t(r - first)].begin(), recounted[size_t(r - first)].end(), values.begin());
            values[kChannels] = record.TemperatureTenths();
            if (r < n - 1)
                binner.Add(scan.RecordTime[size_t(r)], values);
            if (replacing && r < rewritten) {
                // The corrected time goes back in, so a file that passed
                // midnight reads in increasing times from now on.
                EncodeCountsRecord(StoredTime(scan.RecordTime[size_t(r)]), values, stored);
                if (replacement.write(stored.data(), kCountsRecordBytes) != kCountsRecordBytes)
                    replacing = false; // the error is told at the commit
            }
            if (!step(r + 1, n, false)) {
                replacement.cancelWriting();
                result.Status = ReanalysisStatus::Stopped;
                return result;
            }
        }
    }

    if (rewritten > 0 && result.Status != ReanalysisStatus::NotReplaced) {
        if (!step(n, n, true)) {
            replacement.cancelWriting();
            result.Status = ReanalysisStatus::Stopped;
            return result;
        }
        QString failure;
        if (!replacing || !CopyTail(countsPath, rewritten * kCountsRecordBytes, replacement))
            failure = replacement.errorString();
        else if (QFileInfo(countsPath).size() != sizeAtStart)
            failure = QStringLiteral("the file grew while it was re-analysed (is a run recording into it?)");
        if (failure.isEmpty() && replacement.commit()) {
            result.Replaced = true;
        } else {
            if (failure.isEmpty())
                failure = replacement.errorString();
            replacement.cancelWriting();
            op.inform(QStringLiteral("Activity file can't be replaced: %1: %2")
                          .arg(QDir::toNativeSeparators(countsPath), failure));
            result.Status = ReanalysisStatus::NotReplaced;
        }
        step(n, n, false);
    }

    result.Tables = binner.Finish();
    const ReportStatus written = WriteReportFile(request.Folder, result.Tables, settings, request.Options,
                                                 request.Date, op, {}, result.ReportPath);
    if (written == ReportStatus::Stopped)
        result.Status = ReanalysisStatus::Stopped;
    else if (written != ReportStatus::Written)
        result.Status = ReanalysisStatus::NotWritten;
    return result;
}

} // namespace bandora
