#include "ExportStart.h"

#include "core/analysis/PerWellExport.h"
#include "core/storage/RecordSyntax.h"
#include "core/storage/SubprojectFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace bandora {

namespace {

// The earliest part named by a joined experiment's subproj.dat; invalid for
// any other experiment.
QDateTime JoinedStart(const QString& folder)
{
    QDateTime earliest;
    try {
        const QString line = ReadSubprojectFile(folder).Name;
        if (!line.startsWith(QLatin1String("Data Block:")))
            return {};
        static const QRegularExpression name(QStringLiteral("\\b[0-9]{8}_[0-9]{4}\\b"));
        for (const QRegularExpressionMatch& m : name.globalMatch(line)) {
            const QDateTime t = ExperimentStartTime(m.captured());
            if (t.isValid() && (!earliest.isValid() || t < earliest))
                earliest = t;
        }
    } catch (const RecordError&) {
    }
    return earliest;
}

} // namespace

QString ExperimentOfFolder(const QString& folder)
{
    return QFileInfo(QDir::cleanPath(QDir::fromNativeSeparators(folder))).fileName();
}

QString PlateOfFolder(const QString& folder)
{
    try {
        RecordReader reader = RecordReader::FromFile(QDir(folder).filePath(QStringLiteral("setup.dat")));
        reader.SkipLine();
        const QVector<RecordField> line = reader.ReadRecord();
        return line.size() >= 4 ? line[3].text : QString();
    } catch (const RecordError&) {
        return {};
    }
}

SeriesLoad LoadExportSeries(const QString& folder, const QString& appDir, Operator& op)
{
    SeriesLoad load = LoadMinuteSeries(folder, appDir, op);
    const QDateTime joined = load.Ok ? JoinedStart(folder) : QDateTime();
    if (joined.isValid()) {
        MinuteSeries& s = load.Series;
        s.Start = joined;
        s.StartClockMinute = joined.time().hour() * 60 + joined.time().minute();
        s.StartZtMinutes =
            s.Light.On ? ((s.StartClockMinute - s.Light.OnHour * 60) % 1440 + 1440) % 1440 : 0;
    }
    return load;
}

} // namespace bandora
