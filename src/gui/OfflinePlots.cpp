#include "OfflinePlots.h"

#include "PlotFrame.h"
#include "core/common/Rounding.h"
#include "core/storage/RecordSyntax.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <functional>

namespace bandora {

namespace {

// The signal of a beam in full light sits near 2150: the scale shows it as
// 100% with a little room above.
constexpr double kFullBeam = 2150.0;
constexpr double kSignalTop = 2400.0;
const QColor kBlockLine(200, 200, 200);
const QColor kFileLine(150, 150, 150);
const QColor kMinorGrid(190, 190, 190);
const QColor kMajorGrid(128, 128, 128);
const QColor kWellColour(200, 0, 0);
const QColor kGroupColour(0, 0, 200);

// Draws n values as one line, keeping per pixel column only the lowest and
// highest value it crosses: the picture is the one every point would give,
// at a cost that follows the width of the plot rather than the samples.
void DrawTrace(QPainter& p, const PlotFrame& f, int n, const std::function<double(int)>& value,
               const std::function<double(int)>& position)
{
    if (n <= 0)
        return;
    int column = int(std::floor(f.Px(position(0))));
    double first = value(0);
    double low = first, high = first, last = first;
    auto flush = [&] {
        const double y0 = f.PyClamped(low), y1 = f.PyClamped(high);
        p.drawLine(QPointF(column + 0.5, y0), QPointF(column + 0.5, y1));
    };
    for (int i = 1; i < n; ++i) {
        const double v = value(i);
        const int c = int(std::floor(f.Px(position(i))));
        if (c != column) {
            flush();
            if (c > column + 1)
                p.drawLine(QPointF(column + 0.5, f.PyClamped(last)), QPointF(c + 0.5, f.PyClamped(v)));
            column = c;
            // The new column starts where the line left the last one.
            low = high = last;
        }
        low = std::min(low, v);
        high = std::max(high, v);
        last = v;
    }
    flush();
}

QColor Pale(const QColor& c)
{
    return QColor(255 - (255 - c.red()) * 35 / 100, 255 - (255 - c.green()) * 35 / 100,
                  255 - (255 - c.blue()) * 35 / 100);
}

QString Thousands(double samples) { return FormatNumber(samples / 1000.0) + QStringLiteral("k"); }

// The frame shared by the signal and the analysis plots: the page's samples
// across, the signal scale up, block and file lines.
PlotFrame SignalFrame(QPainter& p, const QImage& image, const SignalPlotInput& in)
{
    PlotFrame f = PlotFrame::Inside(image, 72, 44, 18, 50);
    f.X0 = 0;
    f.X1 = kPageSamples;
    f.Y0 = 0;
    f.Y1 = kSignalTop;
    p.setPen(QPen(kBlockLine, 1));
    for (int slot = 1; slot < kSlotsPerPage; ++slot) {
        const double x = std::round(f.Px(slot * kSlotSamples)) + 0.5;
        p.drawLine(QPointF(x, f.Box.top()), QPointF(x, f.Box.bottom()));
    }
    p.setPen(QPen(kFileLine, 1, Qt::DashLine));
    for (int file = 1; file < kFilesPerPage; ++file) {
        const double x = std::round(f.Px(file * kSlotsPerFile * kSlotSamples)) + 0.5;
        p.drawLine(QPointF(x, f.Box.top()), QPointF(x, f.Box.bottom()));
    }
    p.setPen(QPen(kMinorGrid, 1, Qt::DotLine));
    for (double y : {kFullBeam / 2, kFullBeam}) {
        const double py = std::round(f.Py(y)) + 0.5;
        p.drawLine(QPointF(f.Box.left(), py), QPointF(f.Box.right(), py));
    }
    DrawYLabel(p, f, kFullBeam, QStringLiteral("100%"));
    DrawYLabel(p, f, kFullBeam / 2, QStringLiteral("50%"));
    DrawYLabel(p, f, 0, QStringLiteral("  0%"));
    DrawYTitle(p, f, QStringLiteral("beam signal (100% = 2150)"));
    return f;
}

QVector<LegendEntry> BeamLegend(const SignalPlotInput& in, const QString& suffix)
{
    QVector<LegendEntry> legend;
    for (const WellBeam& b : in.Beams)
        legend.push_back({BeamColour(b.Beam, in.MaxBeam),
                          QStringLiteral("%1.%2 (ch %3)%4").arg(in.WellText).arg(b.Beam).arg(b.Channel).arg(suffix)});
    return legend;
}

// Draws value(position) over the recorded ticks of the page only: a buffer
// cycle never recorded is a gap in the line, not a beam at 0%.
void DrawRecordedTrace(QPainter& p, const PlotFrame& f, const RealTimeStore& store,
                       const std::function<double(int slot, int tick)>& value)
{
    for (const auto& [first, end] : store.RecordedRuns())
        DrawTrace(
            p, f, end - first,
            [&](int i) { return value((first + i) / kSlotSamples, (first + i) % kSlotSamples); },
            [&](int i) { return double(first + i); });
}

void DrawSignalTrace(QPainter& p, const PlotFrame& f, const RealTimeStore& store, int channel)
{
    DrawRecordedTrace(p, f, store, [&](int slot, int tick) { return double(store.Value(channel, slot, tick)); });
}

} // namespace

QColor BeamColour(int beam, int maxBeam)
{
    switch (beam) {
    case 0:
        return QColor(255, 0, 0);
    case 1:
        return QColor(0, 0, 255);
    case 2:
        return QColor(0, 255, 0);
    case 3:
        return QColor(200, 128, 0);
    default:
        break;
    }
    const double share = maxBeam > 0 ? double(beam) / maxBeam : 1.0;
    return QColor(int(RoundHalfEven(255 * share)), int(RoundHalfEven(255 - 255 * share)), 0);
}

void DrawChannelSignals(QImage& image, const SignalPlotInput& in)
{
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const PlotFrame f = SignalFrame(p, image, in);
    const double start = double(kPageSamples) * (in.Page - 1);
    for (int file = 0; file <= kFilesPerPage; ++file) {
        const double x = file * kSlotsPerFile * kSlotSamples;
        DrawXLabel(p, f, x, Thousands(start + x));
    }
    DrawXTitle(p, f, QStringLiteral("[sample]"));
    for (const WellBeam& b : in.Beams) {
        p.setPen(QPen(BeamColour(b.Beam, in.MaxBeam), 1));
        DrawSignalTrace(p, f, *in.Store, b.Channel);
    }
    DrawBox(p, f);
    DrawTitle(p, f,
              QStringLiteral("Well %1: raw beam signals, page %2/%3 (real-time files %4-%5)")
                  .arg(in.WellText)
                  .arg(in.Page)
                  .arg(in.PageCount)
                  .arg(kFilesPerPage * (in.Page - 1))
                  .arg(kFilesPerPage * in.Page - 1));
    DrawLegend(p, f, BeamLegend(in, QString()));
}

void DrawAnalysis(QImage& image, const AnalysisPlotInput& in)
{
    image.fill(Qt::white);
    QPainter p(&image);
    const SignalPlotInput& s = in.Signals;
    const PlotFrame f = SignalFrame(p, image, s);
    const PageAnalysisResult& a = *in.Analysis;

    // The time of the first buffer cycle of each file, and of the last one
    // recorded on the page.
    for (int file = 0; file < kFilesPerPage; ++file) {
        const int slot = file * kSlotsPerFile;
        if (a.SlotMinutes[slot] >= 0)
            DrawXLabel(p, f, slot * kSlotSamples, QString::number(a.SlotMinutes[slot]));
    }
    DrawXTitle(p, f, QStringLiteral("Time(min)"));

    for (const BeamAnalysis& beam : a.Beams) {
        p.setPen(QPen(Pale(BeamColour(beam.Beam.Beam, s.MaxBeam)), 1));
        DrawSignalTrace(p, f, *s.Store, beam.Beam.Channel);
    }
    for (const BeamAnalysis& beam : a.Beams) {
        p.setPen(QPen(BeamColour(beam.Beam.Beam, s.MaxBeam), 2));
        DrawRecordedTrace(p, f, *s.Store,
                          [&](int slot, int tick) { return double(beam.Level[size_t(slot)][size_t(tick)]); });
    }

    // The events counted in each real-time file, beam by beam, at the top of
    // the file's part of the plot.
    p.setFont(PlotFont(12, true));
    const int line = 15;
    for (int file = 0; file < kFilesPerPage; ++file) {
        if (!a.FileRecorded[size_t(file)])
            continue; // no such real-time file: nothing was counted, not 0 events
        const int left = int(f.Px(file * kSlotsPerFile * kSlotSamples)) + 4;
        int y = f.Box.top() + 3;
        for (const BeamAnalysis& beam : a.Beams) {
            if (y + line > f.Box.bottom())
                break;
            const QString text = QStringLiteral("%1.%2: %3").arg(s.WellText).arg(beam.Beam.Beam).arg(beam.FileTotals[size_t(file)]);
            const QRect r(left, y, int(f.Px(kSlotsPerFile * kSlotSamples) - f.Px(0)) - 8, line);
            p.fillRect(QRect(left - 2, y, QFontMetrics(p.font()).horizontalAdvance(text) + 4, line), Qt::white);
            p.setPen(BeamColour(beam.Beam.Beam, s.MaxBeam).darker(130));
            p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
            y += line;
        }
    }
    DrawBox(p, f);
    DrawTitle(p, f,
              QStringLiteral("Well %1: activity analysis, Mode:%2, threshold %3, page %4/%5 "
                             "(events per real-time file; pale: signal, bold: level)")
                  .arg(s.WellText)
                  .arg(in.Method)
                  .arg(FormatNumber(in.Threshold))
                  .arg(s.Page)
                  .arg(s.PageCount));
    DrawLegend(p, f, BeamLegend(s, QString()));
}

void DrawGroupActivity(QImage& image, const ActivityPlotInput& in)
{
    image.fill(Qt::white);
    QPainter p(&image);
    const GroupActivity& a = *in.Activity;
    const int bins = int(a.Well.size());
    // Smooth lines for recordings of days; weeks of half-hours are dense
    // enough without, and smoothing a jagged wide line costs most of the plot.
    p.setRenderHint(QPainter::Antialiasing, bins <= 200);

    PlotFrame f = PlotFrame::Inside(image, 72, 44, 18, 50);
    f.X0 = 0;
    f.X1 = std::max(kActivityBinMinutes, (bins - 1) * kActivityBinMinutes);
    qint64 top = 1;
    for (int k = 1; k < bins; ++k)
        top = std::max({top, a.Well[k], a.Group[k]});
    const double yStep = NiceStep(double(top), 5);
    f.Y0 = 0;
    f.Y1 = std::ceil(double(top) * 1.05 / yStep) * yStep;

    // Minute ticks on whole half-hours, hours or days.
    double xStep = NiceStep(f.X1, 10);
    for (double candidate : {30.0, 60.0, 120.0, 180.0, 360.0, 720.0, 1440.0, 2880.0, 10080.0})
        if (candidate >= xStep) {
            xStep = candidate;
            break;
        }
    for (double x = 0; x <= f.X1 + 0.5; x += xStep) {
        const bool day = std::fmod(x, 1440.0) == 0.0 && x > 0;
        p.setPen(QPen(day ? kMajorGrid : kMinorGrid, 1));
        const double px = std::round(f.Px(x)) + 0.5;
        p.drawLine(QPointF(px, f.Box.top()), QPointF(px, f.Box.bottom()));
        DrawXLabel(p, f, x, FormatNumber(x));
    }
    for (double y = 0; y <= f.Y1 + 0.5; y += yStep) {
        p.setPen(QPen(y == 0 ? kMajorGrid : kMinorGrid, 1));
        const double py = std::round(f.Py(y)) + 0.5;
        p.drawLine(QPointF(f.Box.left(), py), QPointF(f.Box.right(), py));
        DrawYLabel(p, f, y, FormatNumber(y));
    }
    DrawXTitle(p, f, QStringLiteral("Time[min]"));
    DrawYTitle(p, f, QStringLiteral("events per 30 min"));

    // Bins that hold no record (a pause between joined parts, the end of the
    // recording) were not recorded: the line breaks there rather than
    // dropping to zero.
    auto series = [&](const QVector<qint64>& values, const QColor& colour) {
        p.setPen(QPen(colour, 2));
        QPolygonF run;
        auto flush = [&] {
            if (run.size() > 1)
                p.drawPolyline(run);
            run.clear();
        };
        for (int k = 1; k < bins; ++k) {
            if (a.BinRecords[k] == 0)
                flush();
            else
                run << QPointF(f.Px(k * kActivityBinMinutes), f.Py(double(values[k])));
        }
        flush();
        if (bins <= 200) {
            p.setBrush(colour);
            for (int k = 1; k < bins; ++k)
                if (a.BinRecords[k] > 0)
                    p.drawEllipse(QPointF(f.Px(k * kActivityBinMinutes), f.Py(double(values[k]))), 2.5, 2.5);
        }
    };
    series(a.Group, kGroupColour);
    series(a.Well, kWellColour);

    DrawBox(p, f);
    DrawTitle(p, f, QStringLiteral("Recorded activity in 30-minute bins: well %1 and its group").arg(in.WellText));
    DrawLegend(p, f,
               {{kWellColour, QStringLiteral("Well %1 [%2 events in all]").arg(in.WellText).arg(a.WellTotal)},
                {kGroupColour, QStringLiteral("Group %1 (mean of %2 wells)").arg(in.GroupEntry).arg(a.GroupWells)}});
}

} // namespace bandora
