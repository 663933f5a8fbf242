#include "SignalExport.h"

#include "core/storage/RecordSyntax.h"

#include <QDir>
#include <QSaveFile>

namespace bandora {

namespace {

const char kLineEnd[] = "\r\n";

} // namespace

QString PageSpanText(int page)
{
    const double thousands = kPageSamples / 1000.0;
    return FormatNumber(thousands * (page - 1)) + QStringLiteral("k-") + FormatNumber(thousands * page) +
           QStringLiteral("k");
}

QByteArray SignalExportText(const SignalExportRequest& r, const RealTimeStore& store)
{
    QByteArray text;
    // Values are at most six characters and a blank each.
    text.reserve(qsizetype(kPageSamples) * (r.Beams.size() * 7 + 2) + 1024);
    text += '"' + r.ProjectName.toUtf8() + '"' + kLineEnd;
    text += '"' + QDir::toNativeSeparators(r.ExperimentFolder).toUtf8() + '"' + kLineEnd;
    text += kLineEnd;
    text += QStringLiteral("Well: %1 Page[%2] [#%3]").arg(r.WellText, r.PageText, PageSpanText(r.Page)).toUtf8() +
            kLineEnd;
    text += kLineEnd;
    for (const WellBeam& b : r.Beams)
        text += r.WellText.toUtf8() + '.' + QByteArray::number(b.Beam) + ' ';
    text += kLineEnd;
    for (int slot = 0; slot < kSlotsPerPage; ++slot) {
        // Ticks 0..499 of the buffer cycle: every recorded value once (tick
        // 500 of a slot only repeats tick 499 for drawing).
        for (int s = 0; s < kSlotSamples; ++s) {
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
    const QByteArray text = SignalExportText(request, store);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw RecordError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString()).toStdString());
}

} // namespace bandora
