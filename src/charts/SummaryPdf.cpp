#include "AnalyticsCharts.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace bandora::charts {

namespace {

// Page layout in device units at 100 dpi: A4 is about 827 x 1169.
constexpr int kDpi = 100;
constexpr double kMargin = 40.0;

class Pages {
public:
    Pages(QPdfWriter& writer, QPainter& p) : writer_(writer), p_(p) {}

    double Width() const { return p_.viewport().width() - 2 * kMargin; }
    double Bottom() const { return p_.viewport().height() - kMargin; }

    // Room for h more units on this page, or a new page.
    double Take(double h)
    {
        if (y_ + h > Bottom() && y_ > kMargin) {
            writer_.newPage();
            y_ = kMargin;
        }
        const double at = y_;
        y_ += h;
        return at;
    }

    void Line(const QString& text, bool bold = false)
    {
        QFont f = p_.font();
        f.setBold(bold);
        p_.setFont(f);
        const QFontMetricsF fm(f);
        const double at = Take(fm.height() * 1.15);
        p_.setPen(Qt::black);
        p_.drawText(QPointF(kMargin, at + fm.ascent()), text);
        f.setBold(false);
        p_.setFont(f);
    }

    void Picture(double h, const Painting& paint)
    {
        const double at = Take(h + 8);
        paint(p_, QRectF(kMargin, at, Width(), h));
    }

    void Gap(double h) { y_ += h; }

private:
    QPdfWriter& writer_;
    QPainter& p_;
    double y_ = kMargin;
};

} // namespace

QString SaveSummaryPdf(const QString& path, const MinuteSeries& s, const AnalyticsResult& r)
{
    QPdfWriter writer(path);
    writer.setResolution(kDpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(QStringLiteral("Analytics of %1").arg(QFileInfo(s.Folder).fileName()));
    QPainter p;
    if (!p.begin(&writer))
        return QStringLiteral("%1 can't be written").arg(QDir::toNativeSeparators(path));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(7.5);
    p.setFont(font);
    Pages pages(writer, p);
    const AnalyticsOptions& o = r.Options;

    pages.Line(QStringLiteral("Experiment %1").arg(QDir::toNativeSeparators(s.Folder)), true);
    pages.Line(QStringLiteral("Start %1; %2 records; resolution %3 min; %4 h recorded")
                   .arg(s.Start.isValid() ? s.Start.toString(QStringLiteral("dd/MM/yyyy hh:mm")) : QStringLiteral("unknown"))
                   .arg(s.Records)
                   .arg(s.Resolution)
                   .arg(double(s.Samples * s.Resolution) / 60.0, 0, 'f', 1));
    pages.Line(s.Light.On ? QStringLiteral("Light %1:00 to %2:00; ZT0 is %3 min before the start")
                                .arg(s.Light.OnHour)
                                .arg(s.Light.OffHour)
                                .arg(s.StartZtMinutes)
                          : QStringLiteral("No light schedule: ZT0 is the start"));
    pages.Line(QStringLiteral("Bins %1 min; rest bouts of at least %2 min; periods %3 to %4 h by %5 h; alpha %6; "
                              "inactive and noisy wells %7 the group statistics")
                   .arg(o.BinMinutes)
                   .arg(o.RestMinutes)
                   .arg(o.PeriodMinHours)
                   .arg(o.PeriodMaxHours)
                   .arg(o.PeriodStepHours)
                   .arg(o.Alpha)
                   .arg(o.ExcludeInactive ? QStringLiteral("left out of") : QStringLiteral("kept in")));
    pages.Gap(8);
    pages.Line(QStringLiteral("Activity curves"), true);
    pages.Picture(330, [&](QPainter& q, const QRectF& a) { DrawCurves(q, a, s, r); });

    pages.Line(QStringLiteral("Periodograms of the group means"), true);
    for (int g = 0; g < s.Groups(); ++g) {
        if (r.GroupWells[size_t(g)].empty())
            continue;
        pages.Picture(170, [&](QPainter& q, const QRectF& a) {
            const QRectF left(a.left(), a.top(), a.width() / 2 - 4, a.height());
            const QRectF right(a.center().x() + 4, a.top(), a.width() / 2 - 4, a.height());
            DrawPeriodogram(q, left, r.Periods, r.GroupPeriodograms[size_t(g)], PeriodMethod::ChiSquare);
            DrawPeriodogram(q, right, r.Periods, r.GroupPeriodograms[size_t(g)], PeriodMethod::LombScargle);
        });
    }

    pages.Line(QStringLiteral("Actograms of the group means"), true);
    for (int g = 0; g < s.Groups(); ++g) {
        if (r.GroupWells[size_t(g)].empty())
            continue;
        const Actogram a = GroupActogram(s, r, g);
        pages.Picture(std::clamp(40.0 + 22.0 * a.Days, 140.0, 600.0),
                      [&](QPainter& q, const QRectF& area) { DrawActogram(q, area, a); });
    }

    pages.Gap(8);
    pages.Line(QStringLiteral("Well status"), true);
    int fine = 0;
    for (int w = 0; w < s.Wells(); ++w) {
        const WellStatus& st = r.Status[size_t(w)];
        if (st.State == WellState::Ok) {
            ++fine;
            continue;
        }
        pages.Line(QStringLiteral("%1  %2  %3: %4")
                       .arg(s.WellInfo[size_t(w)].Label, s.GroupLabel(s.WellInfo[size_t(w)].Group), WellStateName(st.State),
                            st.Reason));
    }
    pages.Line(QStringLiteral("%1 wells ok").arg(fine));
    pages.Gap(6);
    if (r.Excluded.empty())
        pages.Line(QStringLiteral("No well is left out of the group statistics."));
    for (const GroupExclusion& e : r.Excluded)
        pages.Line(QStringLiteral("Left out of %1: %2 (%3)")
                       .arg(s.GroupLabel(e.Group), s.WellInfo[size_t(e.Well)].Label, WellStateName(e.State)));
    for (int g = 0; g < s.Groups(); ++g)
        if (const SubjectPeriodograms& sp = r.GroupPeriodograms[size_t(g)];
            !r.GroupWells[size_t(g)].empty() && !sp.Refusal.isEmpty())
            pages.Line(QStringLiteral("No periodogram for %1: %2").arg(sp.Subject, sp.Refusal));
    if (!p.end())
        return QStringLiteral("%1 can't be written").arg(QDir::toNativeSeparators(path));
    return {};
}

} // namespace bandora::charts
