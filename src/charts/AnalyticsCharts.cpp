#include "AnalyticsCharts.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace bandora::charts {

namespace {

const QColor kDarkShade(0, 0, 0, 38);
const QColor kAxis(60, 60, 60);

// Round steps of 1, 2 or 5 times a power of ten, about `count` of them.
double NiceStep(double span, int count)
{
    if (!(span > 0.0))
        return 1.0;
    const double raw = span / std::max(1, count);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (raw <= m * power)
            return m * power;
    return 10.0 * power;
}

// Hours between the ticks of a time axis.
double HourStep(double spanHours)
{
    for (double h : {1.0, 3.0, 6.0, 12.0, 24.0, 48.0})
        if (spanHours / h <= 12.0)
            return h;
    return 24.0 * std::ceil(spanHours / 24.0 / 12.0);
}

struct Frame {
    QRectF plot; // inside the axes
    double x0, x1, y0, y1;
    double X(double x) const { return plot.left() + (x - x0) / (x1 - x0) * plot.width(); }
    double Y(double y) const { return plot.bottom() - (y - y0) / (y1 - y0) * plot.height(); }
};

Frame MakeFrame(QPainter& p, const QRectF& area, double x0, double x1, double y0, double y1)
{
    const QFontMetricsF fm(p.font());
    const double left = fm.horizontalAdvance(QStringLiteral("00000.0")) + 8;
    const double bottom = 2.4 * fm.height() + 4;
    const double top = fm.height() + 6;
    Frame f{area.adjusted(left, top, -12, -bottom), x0, x1 > x0 ? x1 : x0 + 1, y0, y1 > y0 ? y1 : y0 + 1};
    return f;
}

void DrawAxes(QPainter& p, const Frame& f, double xStep, double yStep, const QString& xTitle, const QString& yTitle)
{
    const QFontMetricsF fm(p.font());
    p.setPen(QPen(kAxis, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(f.plot);
    for (double x = std::ceil(f.x0 / xStep) * xStep; x <= f.x1 + 1e-9; x += xStep) {
        const double px = f.X(x);
        p.drawLine(QPointF(px, f.plot.bottom()), QPointF(px, f.plot.bottom() + 4));
        const QString t = QString::number(x, 'g', 6);
        p.drawText(QPointF(px - fm.horizontalAdvance(t) / 2, f.plot.bottom() + 4 + fm.ascent()), t);
    }
    for (double y = std::ceil(f.y0 / yStep) * yStep; y <= f.y1 + 1e-9 * std::abs(f.y1); y += yStep) {
        const double py = f.Y(y);
        p.drawLine(QPointF(f.plot.left() - 4, py), QPointF(f.plot.left(), py));
        const QString t = QString::number(y, 'g', 6);
        p.drawText(QPointF(f.plot.left() - 6 - fm.horizontalAdvance(t), py + fm.ascent() / 2 - 1), t);
    }
    p.drawText(QPointF(f.plot.center().x() - fm.horizontalAdvance(xTitle) / 2, f.plot.bottom() + 6 + 2 * fm.height()),
               xTitle);
    p.drawText(QPointF(f.plot.left(), f.plot.top() - 5), yTitle);
}

void DrawTitle(QPainter& p, const QRectF& area, const QString& title)
{
    const QFontMetricsF fm(p.font());
    p.setPen(Qt::black);
    p.drawText(QPointF(area.right() - 12 - fm.horizontalAdvance(title), area.top() + fm.ascent() + 1), title);
}

} // namespace

QColor GroupColour(int group)
{
    static const QColor palette[] = {QColor(31, 119, 180), QColor(214, 39, 40),  QColor(44, 160, 44),
                                     QColor(255, 127, 14), QColor(148, 103, 189), QColor(140, 86, 75),
                                     QColor(227, 119, 194), QColor(23, 190, 207)};
    return palette[((group % 8) + 8) % 8];
}

void DrawCurves(QPainter& p, const QRectF& area, const MinuteSeries& s, const AnalyticsResult& r,
                const std::vector<int>& wanted)
{
    p.fillRect(area, Qt::white);
    const ActivityCurves& c = r.Curves;
    std::vector<int> groups = wanted;
    if (groups.empty())
        for (int g = 0; g < s.Groups(); ++g)
            if (!r.GroupWells[size_t(g)].empty())
                groups.push_back(g);
    const double b = c.BinMinutes / 60.0;
    const double x0 = double(c.FirstBin) * b;
    const double x1 = x0 + double(c.Bins()) * b;
    double top = 0.0;
    for (int g : groups)
        for (size_t i = 0; i < c.Bins(); ++i)
            if (c.HasData[i])
                top = std::max(top, c.GroupAt(g, i).Mean + c.GroupAt(g, i).SEM);
    const double yStep = NiceStep(top, 5);
    const Frame f = MakeFrame(p, area, x0, x1, 0.0, std::max(yStep, std::ceil(top / yStep) * yStep));
    // One shaded stretch per night.
    for (size_t i = 0; i < c.Bins();) {
        size_t j = i;
        while (j < c.Bins() && c.Phase[j] == LightPhase::Dark)
            ++j;
        if (j > i)
            p.fillRect(QRectF(QPointF(f.X(x0 + double(i) * b), f.plot.top()),
                              QPointF(f.X(x0 + double(j) * b), f.plot.bottom())),
                       kDarkShade);
        i = std::max(i + 1, j);
    }
    for (int g : groups) {
        const QColor colour = GroupColour(g);
        // One polyline per run of bins with data: a missing bin breaks the
        // line. The band of +- SEM is a strip of four-cornered pieces, cheap
        // to fill however long the recording.
        QColor fill = colour;
        fill.setAlpha(60);
        std::vector<QPolygonF> lines(1);
        QPointF previousUpper, previousLower;
        bool open = false;
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        for (size_t i = 0; i < c.Bins(); ++i) {
            if (!c.HasData[i]) {
                if (open)
                    lines.emplace_back();
                open = false;
                continue;
            }
            const GroupBinStats& st = c.GroupAt(g, i);
            const double x = f.X(x0 + (double(i) + 0.5) * b);
            const QPointF upper(x, f.Y(st.Mean + st.SEM)), lower(x, f.Y(st.Mean - st.SEM));
            if (open) {
                const QPointF piece[] = {previousUpper, upper, lower, previousLower};
                p.drawConvexPolygon(piece, 4);
            }
            previousUpper = upper;
            previousLower = lower;
            lines.back() << QPointF(x, f.Y(st.Mean));
            open = true;
        }
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(colour, 1.0)); // the raster engine's fast smoothed line
        p.setBrush(Qt::NoBrush);
        for (const QPolygonF& l : lines)
            p.drawPolyline(l);
        p.setRenderHint(QPainter::Antialiasing, false);
    }
    DrawAxes(p, f, HourStep(x1 - x0), yStep, QStringLiteral("ZT (h)"),
             QStringLiteral("counts per %1 min, mean \u00b1 SEM").arg(c.BinMinutes));
    // Legend, top right inside the plot.
    const QFontMetricsF fm(p.font());
    double y = f.plot.top() + 4;
    for (int g : groups) {
        const QString label = QStringLiteral("%1 (n=%2)").arg(s.GroupLabel(g)).arg(r.GroupWells[size_t(g)].size());
        const double w = fm.horizontalAdvance(label);
        const QRectF box(f.plot.right() - w - 30, y, w + 26, fm.height());
        p.fillRect(box, QColor(255, 255, 255, 220));
        p.fillRect(QRectF(box.left() + 4, box.center().y() - 2, 14, 4), GroupColour(g));
        p.setPen(Qt::black);
        p.drawText(QPointF(box.left() + 22, box.top() + fm.ascent()), label);
        y += fm.height();
    }
}

void DrawActogram(QPainter& p, const QRectF& area, const Actogram& a)
{
    p.fillRect(area, Qt::white);
    const QFontMetricsF fm(p.font());
    const double periodHours = a.PeriodMinutes / 60.0;
    Frame f = MakeFrame(p, area, 0.0, 2.0 * periodHours, 0.0, std::max(1, a.Days));
    f.plot.setLeft(area.left() + fm.horizontalAdvance(QStringLiteral("day 00")) + 10);
    const int rows = std::max(1, a.Days);
    const double rowHeight = f.plot.height() / rows;
    const double binWidth = f.plot.width() / (2.0 * a.BinsPerDay);
    for (int row = 0; row < a.Days; ++row) {
        const double base = f.plot.top() + (row + 1) * rowHeight;
        for (int half = 0; half < 2; ++half) {
            const int day = row + half;
            if (day >= a.Days)
                continue;
            for (int bin = 0; bin < a.BinsPerDay; ++bin) {
                const double x = f.plot.left() + (half * a.BinsPerDay + bin) * binWidth;
                if (a.PhaseAt(day, bin) == LightPhase::Dark)
                    p.fillRect(QRectF(x, base - rowHeight, binWidth, rowHeight), kDarkShade);
                const double v = a.At(day, bin);
                if (std::isnan(v) || a.Max <= 0.0)
                    continue;
                const double h = v / a.Max * (rowHeight - 1);
                p.fillRect(QRectF(x, base - h, std::max(binWidth, 1.0), h), Qt::black);
            }
        }
        p.setPen(QPen(QColor(170, 170, 170), 0));
        p.drawLine(QPointF(f.plot.left(), base), QPointF(f.plot.right(), base));
        p.setPen(kAxis);
        const QString label = QStringLiteral("day %1").arg(row + 1);
        if (rowHeight >= fm.height() * 0.8 || row % int(std::ceil(fm.height() / rowHeight)) == 0)
            p.drawText(QPointF(f.plot.left() - 6 - fm.horizontalAdvance(label), base - rowHeight / 2 + fm.ascent() / 2 - 1),
                       label);
    }
    p.setPen(QPen(kAxis, 1));
    p.drawRect(f.plot);
    p.drawLine(QPointF(f.plot.center().x(), f.plot.top()), QPointF(f.plot.center().x(), f.plot.bottom()));
    const double step = HourStep(2.0 * periodHours);
    for (double x = 0; x <= 2.0 * periodHours + 1e-9; x += step) {
        const double px = f.X(x);
        p.drawLine(QPointF(px, f.plot.bottom()), QPointF(px, f.plot.bottom() + 4));
        const QString t = QString::number(x, 'g', 6);
        p.drawText(QPointF(px - fm.horizontalAdvance(t) / 2, f.plot.bottom() + 4 + fm.ascent()), t);
    }
    const QString xTitle = QStringLiteral("ZT (h), two days per row");
    p.drawText(QPointF(f.plot.center().x() - fm.horizontalAdvance(xTitle) / 2, f.plot.bottom() + 6 + 2 * fm.height()),
               xTitle);
    p.drawText(QPointF(f.plot.left(), f.plot.top() - 5),
               QStringLiteral("%1 min bins, full bar = %2").arg(a.BinMinutes).arg(a.Max, 0, 'g', 4));
    DrawTitle(p, area, a.Subject);
}

void DrawPeriodogram(QPainter& p, const QRectF& area, const std::vector<double>& periods,
                     const SubjectPeriodograms& sp, PeriodMethod method)
{
    p.fillRect(area, Qt::white);
    const Periodogram& pg = method == PeriodMethod::ChiSquare ? sp.Chi : sp.Lomb;
    const QString name = method == PeriodMethod::ChiSquare ? QStringLiteral("chi-square Qp")
                                                           : QStringLiteral("Lomb-Scargle power");
    const double x0 = periods.empty() ? 0.0 : periods.front();
    const double x1 = periods.empty() ? 1.0 : periods.back();
    if (!sp.Refusal.isEmpty() || pg.Power.empty()) {
        const Frame f = MakeFrame(p, area, x0, x1, 0.0, 1.0);
        DrawAxes(p, f, NiceStep(x1 - x0, 8), 0.2, QStringLiteral("period (h)"), name);
        p.setPen(Qt::black);
        p.drawText(f.plot, Qt::AlignCenter, sp.Subject + QStringLiteral(": ") +
                                                (sp.Refusal.isEmpty() ? QStringLiteral("no numbers") : sp.Refusal));
        return;
    }
    double top = 0.0;
    for (size_t i = 0; i < pg.Power.size(); ++i) {
        if (std::isfinite(pg.Power[i]))
            top = std::max(top, pg.Power[i]);
        if (std::isfinite(pg.Threshold[i]))
            top = std::max(top, pg.Threshold[i]);
    }
    const double yStep = NiceStep(top, 5);
    const Frame f = MakeFrame(p, area, x0, x1, 0.0, std::max(yStep, std::ceil(top * 1.05 / yStep) * yStep));
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath power, threshold;
    bool open = false;
    for (size_t i = 0; i < periods.size(); ++i) {
        if (!std::isfinite(pg.Power[i]))
            continue;
        const QPointF q(f.X(periods[i]), f.Y(pg.Power[i]));
        const QPointF t(f.X(periods[i]), f.Y(pg.Threshold[i]));
        open ? power.lineTo(q) : power.moveTo(q);
        open ? threshold.lineTo(t) : threshold.moveTo(t);
        open = true;
    }
    p.setPen(QPen(QColor(200, 30, 30), 1.2, Qt::DashLine));
    p.drawPath(threshold);
    p.setPen(QPen(QColor(31, 119, 180), 1.6));
    p.drawPath(power);
    QString peakText = QStringLiteral("no significant peak");
    if (pg.Peak >= 0) {
        const size_t k = size_t(pg.Peak);
        const QPointF q(f.X(periods[k]), f.Y(pg.Power[k]));
        p.setBrush(QColor(200, 30, 30));
        p.setPen(Qt::NoPen);
        p.drawEllipse(q, 4, 4);
        peakText = QStringLiteral("peak %1 h").arg(periods[k], 0, 'f', 1);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    DrawAxes(p, f, NiceStep(x1 - x0, 8), yStep, QStringLiteral("period (h)"), name);
    DrawTitle(p, area, sp.Subject + QStringLiteral(", ") + peakText);
}

QString SavePng(const QString& path, QSize size, const Painting& paint)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        paint(p, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    if (!image.save(path, "PNG"))
        return QStringLiteral("%1 can't be written").arg(path);
    return {};
}

QString SaveSvg(const QString& path, QSize size, const QString& title, const Painting& paint)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(title);
    {
        QPainter p;
        if (!p.begin(&svg))
            return QStringLiteral("%1 can't be written").arg(path);
        paint(p, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    if (!QFileInfo(path).isFile() || QFileInfo(path).size() == 0)
        return QStringLiteral("%1 can't be written").arg(path);
    return {};
}

} // namespace bandora::charts
