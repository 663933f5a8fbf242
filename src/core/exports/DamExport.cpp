#include "DamExport.h"

#include "ExportStart.h"
#include "core/analytics/MinuteSeries.h"
#include "core/storage/CsvText.h"

#include <QDir>
#include <QSaveFile>

namespace bandora {

namespace {

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const QString kCrLf = QStringLiteral("\r\n");

// The first and last samples holding a record; first > last when none does.
std::pair<qint64, qint64> RecordedSpan(const MinuteSeries& s)
{
    qint64 first = 0, last = s.Samples - 1;
    while (first < s.Samples && !s.IsPresent(first))
        ++first;
    while (last >= first && !s.IsPresent(last))
        --last;
    return {first, last};
}

// The wall-clock time of a minute of the run: the start the folder name
// spells plus whole minutes, with no clock change in between (the readers
// want regular steps, and the records count run minutes).
QDateTime ClockAt(const MinuteSeries& s, qint64 minute) { return s.Start.addSecs(60 * minute); }

QString IsoSeconds(const QDateTime& t) { return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

} // namespace

QString DamDate(const QDate& date)
{
    return QStringLiteral("%1 %2 %3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(kMonths[date.month() - 1]))
        .arg(date.year() % 100, 2, 10, QLatin1Char('0'));
}

int DamFileCount(const MinuteSeries& series)
{
    return std::max(1, (series.Wells() + kDamWellsPerFile - 1) / kDamWellsPerFile);
}

QString DamFileName(const QString& experiment, int file)
{
    return QStringLiteral("%1_M%2.txt").arg(experiment).arg(file + 1, 2, 10, QLatin1Char('0'));
}

QByteArray DamMonitorText(const MinuteSeries& s, int file)
{
    const auto [first, last] = RecordedSpan(s);
    QByteArray out;
    out.reserve(int(std::max<qint64>(last - first + 1, 0)) * 120);
    qint64 index = 1;
    for (qint64 k = first; k <= last; ++k, ++index) {
        const QDateTime t = ClockAt(s, s.SampleMinute(k));
        const bool present = s.IsPresent(k);
        QByteArray line = QByteArray::number(index) + '\t' + DamDate(t.date()).toLatin1() + '\t' +
                          t.time().toString(QStringLiteral("HH:mm:ss")).toLatin1() + '\t' + (present ? "1" : "0") +
                          "\t0\t0\t0\tCt\t0\t0";
        for (int place = 0; place < kDamWellsPerFile; ++place) {
            const int w = file * kDamWellsPerFile + place;
            const qint32 v = present && w < s.Wells() && s.WellInfo[size_t(w)].HasBeam ? s.Well(w)[size_t(k)] : 0;
            line += '\t' + QByteArray::number(v);
        }
        out += line + "\r\n";
    }
    return out;
}

QByteArray DamMetadataText(const MinuteSeries& s, const QString& experiment, const QString& plate)
{
    const auto [first, last] = RecordedSpan(s);
    const QString start = IsoSeconds(ClockAt(s, -s.StartZtMinutes));
    const QString stop = IsoSeconds(ClockAt(s, s.SampleMinute(std::max(last, first))));
    QString text = QStringLiteral("file,start_datetime,stop_datetime,region_id,well,group,plate,experiment") + kCrLf;
    for (int w = 0; w < s.Wells(); ++w) {
        const SeriesWell& info = s.WellInfo[size_t(w)];
        if (!info.HasBeam)
            continue;
        text += CsvLine({DamFileName(experiment, w / kDamWellsPerFile), start, stop,
                         QString::number(w % kDamWellsPerFile + 1), info.Label,
                         info.Group >= 0 ? s.GroupLabel(info.Group) : QString(), plate, experiment}) +
                kCrLf;
    }
    return text.toUtf8();
}

DamResult WriteDamFiles(const MinuteSeries& series, const QString& experiment, const QString& plate,
                        const QString& dir)
{
    DamResult result;
    const auto [first, last] = RecordedSpan(series);
    if (first > last) {
        result.Error = QStringLiteral("The experiment holds no record to export.");
        return result;
    }
    if (!series.Start.isValid()) {
        result.Error = QStringLiteral("The start of the run is unknown (the folder name is not ddmmyyyy_hhmm): "
                                      "monitor files need the clock time of every minute.");
        return result;
    }
    if (!QDir().mkpath(dir)) {
        result.Error = QStringLiteral("The folder %1 cannot be created.").arg(QDir::toNativeSeparators(dir));
        return result;
    }
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QSaveFile file(QDir(dir).filePath(name));
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
            result.Files << file.fileName();
            return true;
        }
        result.Error = QStringLiteral("%1 cannot be written: %2")
                           .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
        return false;
    };
    for (int f = 0; f < DamFileCount(series); ++f)
        if (!write(DamFileName(experiment, f), DamMonitorText(series, f)))
            return result;
    if (!write(QStringLiteral("metadata.csv"), DamMetadataText(series, experiment, plate)))
        return result;
    result.Ok = true;
    return result;
}

DamResult ExportDam(const QString& folder, const QString& appDir, const QString& dir, Operator& op)
{
    const SeriesLoad load = LoadExportSeries(folder, appDir, op);
    DamResult result;
    if (load.Ok)
        result = WriteDamFiles(load.Series, ExperimentOfFolder(folder), PlateOfFolder(folder), dir);
    else
        result.Error = load.Error;
    result.UsedDefaults = load.Settings.UsedDefaults;
    return result;
}

} // namespace bandora
