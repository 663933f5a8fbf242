#include "SignalExport.h"

#include "core/storage/RecordSyntax.h"

#include <QDir>
#include <QSaveFile>

namespace bandora {

namespace {

const char kLineEnd[] = "\r\n";

// The project name and the experiment folder in quotes, an empty line, the
// line that says what follows, an empty line.
QByteArray ExportHead(const QString& projectName, const QString& folder, const QString& what)
{
    QByteArray text;
    text += '"' + projectName.toUtf8() + '"' + kLineEnd;
    text += '"' + QDir::toNativeSeparators(folder).toUtf8() + '"' + kLineEnd;
    text += kLineEnd;
    text += what.toUtf8() + kLineEnd;
    text += kLineEnd;
    return text;
}

void WriteExportText(const QString& path, const QByteArray& text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw RecordError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString()).toStdString());
}

} // namespace

QString PageSpanText(int page)
{
    const double thousands = kPageSamples / 1000.0;
    return FormatNumber(thousands * (page - 1)) + QStringLiteral("k-") + FormatNumber(thousands * page) +
           QStringLiteral("k");
}

QByteArray SignalExportText(const SignalExportRequest& r, const RealTimeStore& store)
{
    QByteArray text = ExportHead(r.ProjectName, r.ExperimentFolder,
                                 QStringLiteral("Well: %1 Page[%2] [#%3]").arg(r.WellText, r.PageText, PageSpanText(r.Page)));
    // Values are at most six characters and a blank each.
    text.reserve(qsizetype(kPageSamples) * (r.Beams.size() * 7 + 2) + 1024);
    for (const WellBeam& b : r.Beams)
        text += r.WellText.toUtf8() + '.' + QByteArray::number(b.Beam) + ' ';
    text += kLineEnd;
    for (int slot = 0; slot < kSlotsPerPage; ++slot) {
        // The recorded ticks of the buffer cycle, every value once (tick 500
        // of a slot only repeats tick 499 for drawing); a buffer cycle never
        // recorded has no lines, rather than lines of made-up zeros.
        for (int s = 0; s < store.RecordedSamples(slot); ++s) {
            for (const WellBeam& b : r.Beams) {
                text += QByteArray::number(store.Value(b.Channel, slot, s));
                text += ' ';
            }
            text += kLineEnd;
        }
    }
    return text;
}

void WriteSignalExport(const QString& path, const SignalExportRequest& request, const RealTimeStore& store)
{
    WriteExportText(path, SignalExportText(request, store));
}

QByteArray ActivityExportText(const ActivityExportRequest& r, const GroupActivity& activity)
{
    QByteArray text = ExportHead(r.ProjectName, r.ExperimentFolder,
                                 QStringLiteral("Well: %1 Group: %2 [events per %3 min]")
                                     .arg(r.WellText, r.GroupEntry)
                                     .arg(kActivityBinMinutes));
    text += QStringLiteral("Time[min] %1 %2 ").arg(r.WellText, r.GroupEntry).toUtf8() + kLineEnd;
    for (int k = 1; k < activity.Well.size(); ++k) {
        if (activity.BinRecords[k] == 0)
            continue; // a gap in the plot: nothing was recorded
        text += QByteArray::number(qint64(k) * kActivityBinMinutes) + ' ' + QByteArray::number(activity.Well[k]) +
                ' ' + QByteArray::number(activity.Group[k]) + ' ' + kLineEnd;
    }
    return text;
}

void WriteActivityExport(const QString& path, const ActivityExportRequest& request, const GroupActivity& activity)
{
    WriteExportText(path, ActivityExportText(request, activity));
}

} // namespace bandora
