#include "PerWellExport.h"

#include "ActivityScan.h"
#include "core/common/Operator.h"
#include "core/common/Rounding.h"
#include "core/storage/CountsFile.h"
#include "core/storage/ExperimentFolderName.h"
#include "core/storage/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace bandora {

namespace {

constexpr qint64 kStepMinutes = 30;

// Calendar arithmetic on the wall-clock time, as the recorded minutes are.
QDateTime WallClock(const QDate& date, const QTime& time) { return QDateTime(date, time, Qt::UTC); }

QString TwoDigits(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

QString Stamp(const QDateTime& t, const PerWellRequest& r)
{
    const QDate d = t.date();
    const QTime c = t.time();
    return TwoDigits(d.day()) + r.DateSeparator + TwoDigits(d.month()) + r.DateSeparator +
           QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0')) + QLatin1Char(' ') + TwoDigits(c.hour()) +
           r.TimeSeparator + TwoDigits(c.minute());
}

QString FolderName(const QString& folder)
{
    return QFileInfo(QDir::cleanPath(QDir::fromNativeSeparators(folder))).fileName();
}

} // namespace

QDateTime ExperimentStartTime(const QString& folderName)
{
    const QString name = ExperimentFolderStem(folderName);
    if (name.isEmpty())
        return {};
    const QDate date(name.mid(4, 4).toInt(), name.mid(2, 2).toInt(), name.mid(0, 2).toInt());
    const QTime time(name.mid(9, 2).toInt(), name.mid(11, 2).toInt());
    if (!date.isValid() || !time.isValid())
        return {};
    return WallClock(date, time);
}

PerWellResult ExportPerWell(const PerWellRequest& request, ExperimentSettings& settings, Operator& op,
                            const ReportProgress& progress)
{
    PerWellResult result;
    const QString countsPath = CountsFilePath(request.Folder);
    // An empty folder box names no experiment (not the working directory).
    if (request.Folder.trimmed().isEmpty() || !QFileInfo(countsPath).isFile()) {
        op.inform(QStringLiteral("Activity file not Found"));
        result.Status = PerWellStatus::NoActivityFile;
        return result;
    }
    result.Settings = ReadExperimentSettings(request.Folder, request.AppDir, op, settings);
    if (!result.Settings.PlateFound && request.StopWithoutPlate) {
        result.Status = PerWellStatus::NoPlateFile;
        return result;
    }
    const ActivityScan scan = ScanActivityFile(countsPath);
    if (!scan.Opened || !scan.Error.isEmpty()) {
        op.inform(QStringLiteral("Activity file can't be read: %1").arg(scan.Error));
        result.Status = PerWellStatus::Unreadable;
        return result;
    }

    // The bins are the 30-minute steps themselves, whatever the report's bin
    // size: a line stamped with the end of a step holds that step's activity.
    const BinPlan plan = PlanBins(QString::number(kStepMinutes), scan.EndTime());
    BinnedActivity binned = BinActivityFile(countsPath, scan.RecordTime, plan, settings, progress, 0, 80);
    if (!binned.Tables) {
        if (!binned.Stopped)
            op.inform(QStringLiteral("Activity file can't be read: %1").arg(QDir::toNativeSeparators(countsPath)));
        result.Status = binned.Stopped ? PerWellStatus::Stopped : PerWellStatus::Unreadable;
        return result;
    }
    const ReportTables& tables = *binned.Tables;

    QDateTime start = ExperimentStartTime(FolderName(request.Folder));
    if (!start.isValid())
        start = ExperimentStartTime(request.SelectedExperimentName);
    if (!start.isValid())
        start = WallClock(request.Now.date(), QTime(request.Now.time().hour(), request.Now.time().minute()));
    result.Start = start;

    const qint64 steps = RoundedQuotient(scan.EndTime(), kStepMinutes);
    result.Lines = std::max<qint64>(0, std::min({steps, tables.BinCount + 1, tables.LastBinWithData()}));
    if (result.Lines > scan.Records + kMostEmptyHalfHours) {
        op.inform(QStringLiteral("Activity file damaged: %1: its %2 records are stamped up to minute %3, more "
                                 "than a year beyond them. Nothing was exported.")
                      .arg(QDir::toNativeSeparators(countsPath))
                      .arg(scan.Records)
                      .arg(scan.EndTime()));
        result.Lines = 0;
        result.Status = PerWellStatus::Unreadable;
        return result;
    }
    if (result.Lines == 0) {
        op.inform(QStringLiteral("Nothing to export: the recording ends before its first 30-minute step. "
                                 "No file was written."));
        result.Status = PerWellStatus::NothingToExport;
        return result;
    }

    QStringList stamps;
    for (qint64 i = 1; i <= result.Lines; ++i)
        stamps << Stamp(start.addSecs(60 * kStepMinutes * i), request);

    const QDir dir(request.Folder);
    const ReportGeometry& plate = settings.Plate;
    for (int w = 0; w <= plate.MaxWell; ++w) {
        if (plate.WellChannel(w, 0) < 0)
            continue;
        const QString name =
            QStringLiteral("%1_%2.txt").arg(w, 3, 10, QLatin1Char('0')).arg(plate.WellLabel(w));
        QFile file(dir.filePath(name));
        QByteArray text;
        for (qint64 i = 1; i <= result.Lines; ++i)
            text += stamps[int(i - 1)].toLatin1() + ' ' + QByteArray::number(tables.WellBinTotal(w, i)) + "\r\n";
        if (!OpenReplacing(file) || file.write(text) != text.size() ||
            !file.flush()) {
            op.inform(QStringLiteral("Export file can't be written: %1: %2")
                          .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
            result.Status = PerWellStatus::NotWritten;
            return result;
        }
        file.close();
        result.Files << file.fileName();
        if (progress && !progress(80 + 20 * (w + 1) / (plate.MaxWell + 1))) {
            result.Status = PerWellStatus::Stopped;
            return result;
        }
    }
    return result;
}

} // namespace bandora
