#include "LongTable.h"

#include "ExportStart.h"
#include "core/analysis/ActivityScan.h"
#include "core/analysis/ReportBinning.h"
#include "core/analytics/MinuteSeries.h"
#include "core/storage/CountsFile.h"
#include "core/storage/CsvText.h"
#include "core/storage/RecordSyntax.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace bandora {

namespace {

// The temperatures the report averages: tenths of a degree in 10..500.
constexpr int kLowestReading = 10;
constexpr int kHighestReading = 500;
constexpr qint64 kBlockRecords = 2048;

// Plain decimal text, rounded to the given places, without trailing zeros.
QString Decimal(double v, int places)
{
    const double scale = std::pow(10.0, places);
    return FormatNumber(std::round(v * scale) / scale);
}

QString PhaseText(LightPhase phase)
{
    switch (phase) {
    case LightPhase::Light:
        return QStringLiteral("light");
    case LightPhase::Dark:
        return QStringLiteral("dark");
    case LightPhase::None:
        break;
    }
    return {};
}

BinTemperatures ReadBinTemperatures(const QString& countsPath, const ActivityScan& scan, qint64 binMinutes,
                                    qint64 bins)
{
    std::vector<qint64> sum(size_t(bins), 0), readings(size_t(bins), 0);
    CountsFileReader reader(countsPath);
    std::vector<CountsRecord> block;
    const qint64 records = qint64(scan.RecordTime.size());
    for (qint64 first = 0; first < records; first += kBlockRecords) {
        const qint64 got = reader.ReadBlock(first, std::min(kBlockRecords, records - first), block);
        for (qint64 k = 0; k < got; ++k) {
            const qint64 t = scan.RecordTime[size_t(first + k)];
            const int v = block[size_t(k)].IntervalCount[kChannels];
            if (t < 0 || t / binMinutes >= bins || v < kLowestReading || v > kHighestReading)
                continue;
            sum[size_t(t / binMinutes)] += v;
            ++readings[size_t(t / binMinutes)];
        }
    }
    BinTemperatures out(size_t(bins), -1.0);
    for (size_t j = 0; j < out.size(); ++j)
        if (readings[j] > 0)
            out[j] = double(sum[j]) / double(readings[j]) / 10.0;
    return out;
}

} // namespace

QByteArray LongTableText(const MinuteSeries& s, const QString& experiment, qint64 binMinutes,
                         const BinTemperatures& temperatures)
{
    const qint64 bins = s.Samples > 0 ? (s.SampleMinute(s.Samples - 1) / binMinutes + 1) : 0;
    // What every well shares per bin: the start, ZT, light, temperature and
    // whether any minute of it was recorded.
    std::vector<QString> common(static_cast<size_t>(bins));
    std::vector<bool> recorded(size_t(bins), false);
    for (qint64 k = 0; k < s.Samples; ++k)
        if (s.IsPresent(k))
            recorded[size_t(s.SampleMinute(k) / binMinutes)] = true;
    for (qint64 j = 0; j < bins; ++j) {
        const qint64 minute = j * binMinutes;
        const double temperature = size_t(j) < temperatures.size() ? temperatures[size_t(j)] : -1.0;
        common[size_t(j)] =
            CsvLine({s.Start.isValid() ? s.Start.addSecs(60 * minute).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))
                                       : QString(),
                     QString::number(minute), Decimal(s.ZtHours(minute), 4), PhaseText(s.PhaseAt(minute)),
                     temperature >= 0 ? Decimal(temperature, 2) : QString()});
    }

    QString text = QStringLiteral("experiment,well,row,column,group,bin_start,bin_start_min,zt_h,light,"
                                  "temperature_c,value\r\n");
    std::vector<qint64> value(static_cast<size_t>(bins));
    for (int w = 0; w < s.Wells(); ++w) {
        const SeriesWell& info = s.WellInfo[size_t(w)];
        if (!info.HasBeam)
            continue;
        std::fill(value.begin(), value.end(), 0);
        const auto series = s.Well(w);
        for (qint64 k = 0; k < s.Samples; ++k)
            if (s.IsPresent(k))
                value[size_t(s.SampleMinute(k) / binMinutes)] += series[size_t(k)];
        const QString head = CsvLine({experiment, info.Label, info.Label.left(1), info.Label.mid(1),
                                      info.Group >= 0 ? s.GroupLabel(info.Group) : QString()});
        for (qint64 j = 0; j < bins; ++j)
            text += head + QLatin1Char(',') + common[size_t(j)] + QLatin1Char(',') +
                    (recorded[size_t(j)] ? QString::number(value[size_t(j)]) : QString()) + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

LongTableResult WriteLongTable(const QString& folder, const QString& appDir, const QString& binSizeText,
                               const QString& path, Operator& op)
{
    LongTableResult result;
    SeriesLoad load = LoadExportSeries(folder, appDir, op);
    result.UsedDefaults = load.Settings.UsedDefaults;
    if (!load.Ok) {
        result.Error = load.Error;
        return result;
    }
    const MinuteSeries& s = load.Series;
    const QString countsPath = CountsFilePath(folder);
    const ActivityScan scan = ScanActivityFile(countsPath);
    result.BinMinutes = PlanBins(binSizeText, scan.EndTime()).BinSize;
    const qint64 bins = s.Samples > 0 ? s.SampleMinute(s.Samples - 1) / result.BinMinutes + 1 : 0;
    const QByteArray bytes =
        LongTableText(s, ExperimentOfFolder(folder), result.BinMinutes,
                      ReadBinTemperatures(countsPath, scan, result.BinMinutes, bins));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        result.Error = QStringLiteral("%1 cannot be written: %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    result.Rows = bins * std::count_if(s.WellInfo.begin(), s.WellInfo.end(), [](const SeriesWell& w) {
                      return w.HasBeam;
                  });
    result.Ok = true;
    return result;
}

} // namespace bandora
