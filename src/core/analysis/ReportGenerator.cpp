#include "ReportGenerator.h"

#include "ActivityScan.h"
#include "core/common/Operator.h"
#include "core/storage/CountsFile.h"
#include "core/storage/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace bandora {

namespace {

constexpr qint64 kBlockRecords = 2048;
constexpr int kBinnedPercent = 90;

bool Report(const ReportProgress& progress, int percent) { return !progress || progress(percent); }

} // namespace

BinnedActivity BinActivityFile(const QString& countsPath, const std::vector<qint64>& recordTimes, const BinPlan& plan,
                               const ExperimentSettings& settings, const ReportProgress& progress, int fromPercent,
                               int toPercent)
{
    BinnedActivity out;
    ReportBinner binner(plan, settings);
    // The last record is left out: the buffer cycle it closes may be cut short.
    const qint64 binned = qint64(recordTimes.size()) - 1;
    CountsFileReader reader(countsPath);
    std::vector<CountsRecord> block;
    for (qint64 first = 0; first < binned; first += kBlockRecords) {
        const qint64 want = std::min(kBlockRecords, binned - first);
        if (reader.ReadBlock(first, want, block) != want)
            return out;
        for (qint64 k = 0; k < want; ++k)
            binner.Add(recordTimes[size_t(first + k)], block[size_t(k)].IntervalCount);
        const int percent = fromPercent + int((toPercent - fromPercent) * (first + want) / std::max<qint64>(binned, 1));
        if (!Report(progress, percent)) {
            out.Stopped = true;
            return out;
        }
    }
    out.Tables = binner.Finish();
    return out;
}

ReportStatus WriteReportFile(const QString& folder, const ReportTables& tables, const ExperimentSettings& settings,
                             const ReportOptions& options, const QString& date, Operator& op,
                             const ReportProgress& progress, QString& path)
{
    // A report without a single time column would say nothing and look like
    // one that did.
    if (tables.ShownBins().empty()) {
        op.inform(QStringLiteral("Nothing to report: no time bin holds a recorded buffer cycle (the recording "
                                 "ended within its first one; its last record is never binned). No report was "
                                 "written."));
        return ReportStatus::NothingToReport;
    }
    const QDir dir(folder);
    const QString extension = ReportExtension(options.FileType);
    QFile file(dir.filePath(QStringLiteral("report") + extension));
    if (!OpenReplacing(file)) {
        file.setFileName(dir.filePath(QStringLiteral("report_1") + extension));
        if (!OpenReplacing(file)) {
            op.inform(QStringLiteral("Report file can't be written: %1: %2")
                          .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
            return ReportStatus::NotWritten;
        }
    }
    const WriteOutcome outcome = WriteReportText(file, tables, settings, options, ReportHead{date, folder},
                                                 [&progress] { return Report(progress, 95); });
    if (outcome == WriteOutcome::Written) {
        file.close();
        if (file.error() == QFileDevice::NoError) {
            path = file.fileName();
            return ReportStatus::Written;
        }
    }
    const QString reason = file.errorString();
    file.close();
    if (outcome == WriteOutcome::Stopped) {
        // Half a report is worse than none when the operator stopped it.
        file.remove();
        return ReportStatus::Stopped;
    }
    op.inform(QStringLiteral("Report file can't be written: %1: %2")
                  .arg(QDir::toNativeSeparators(file.fileName()), reason));
    return ReportStatus::NotWritten;
}

ReportResult GenerateReport(const ReportRequest& request, ExperimentSettings& settings, Operator& op,
                            const ReportProgress& progress)
{
    ReportResult result;
    const QString countsPath = CountsFilePath(request.Folder);
    // An empty folder box names no experiment (not the working directory).
    if (request.Folder.trimmed().isEmpty() || !QFileInfo(countsPath).isFile()) {
        op.inform(QStringLiteral("Activity file not Found"));
        result.Status = ReportStatus::NoActivityFile;
        return result;
    }

    result.Settings = ReadExperimentSettings(request.Folder, request.AppDir, op, settings);
    if (!result.Settings.PlateFound && request.StopWithoutPlate) {
        result.Status = ReportStatus::NoPlateFile;
        return result;
    }

    const ActivityScan scan = ScanActivityFile(countsPath);
    result.Records = scan.Records;
    result.PartialRecord = scan.PartialRecord;
    if (!scan.Opened || !scan.Error.isEmpty()) {
        op.inform(QStringLiteral("Activity file can't be read: %1").arg(scan.Error));
        result.Status = ReportStatus::Unreadable;
        return result;
    }

    const BinPlan plan = PlanBins(request.BinSizeText, scan.EndTime());
    result.ShownBinSize = plan.ShownBinSize;
    if (!Report(progress, 0)) {
        result.Status = ReportStatus::Stopped;
        return result;
    }
    BinnedActivity binned = BinActivityFile(countsPath, scan.RecordTime, plan, settings, progress, 0, kBinnedPercent);
    if (!binned.Tables) {
        // Stopped, or the file shrank under us between the two passes.
        if (!binned.Stopped)
            op.inform(QStringLiteral("Activity file can't be read: %1").arg(QDir::toNativeSeparators(countsPath)));
        result.Status = binned.Stopped ? ReportStatus::Stopped : ReportStatus::Unreadable;
        return result;
    }
    result.Tables = std::move(*binned.Tables);
    result.Status = WriteReportFile(request.Folder, result.Tables, settings, request.Options, request.Date, op,
                                    progress, result.Path);
    Report(progress, 100);
    return result;
}

} // namespace bandora
