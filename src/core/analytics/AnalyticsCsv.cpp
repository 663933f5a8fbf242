#include "AnalyticsCsv.h"

#include <QDir>
#include <QSaveFile>

#include <cmath>

namespace bandora {

namespace {

QString Num(double v)
{
    if (!std::isfinite(v))
        return {};
    return QString::number(v, 'g', 10);
}

QString Field(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString LightField(LightPhase p)
{
    return p == LightPhase::Light ? QStringLiteral("1") : p == LightPhase::Dark ? QStringLiteral("0") : QString();
}

class Table {
public:
    explicit Table(const char* header) { text_ = QByteArray(header) + '\n'; }
    void Row(const QStringList& fields)
    {
        QStringList quoted;
        for (const QString& f : fields)
            quoted << Field(f);
        text_ += quoted.join(QLatin1Char(',')).toUtf8() + '\n';
    }
    QByteArray Take() { return std::move(text_); }

private:
    QByteArray text_;
};

void PeriodRows(Table& all, Table& peaks, const SubjectPeriodograms& sp, const std::vector<double>& periods)
{
    for (const Periodogram* p : {&sp.Chi, &sp.Lomb}) {
        const QString method = PeriodMethodName(p->Method);
        if (!sp.Refusal.isEmpty()) {
            peaks.Row({sp.Subject, method, sp.Refusal, {}, {}, {}, QStringLiteral("no")});
            continue;
        }
        int best = p->Peak;
        for (size_t i = 0; i < p->Power.size(); ++i) {
            all.Row({sp.Subject, method, Num(periods[i]), Num(p->Power[i]), Num(p->Threshold[i]), Num(p->PValue[i])});
            if (p->Peak < 0 && std::isfinite(p->Power[i]) && (best < 0 || p->Power[i] > p->Power[size_t(best)]))
                best = int(i);
        }
        if (best < 0) {
            peaks.Row({sp.Subject, method, QStringLiteral("none"), {}, {}, {}, QStringLiteral("no")});
            continue;
        }
        const size_t b = size_t(best);
        peaks.Row({sp.Subject, method, p->Peak >= 0 ? Num(periods[b]) : QStringLiteral("none"), Num(p->Power[b]),
                   Num(p->Threshold[b]), Num(p->PValue[b]), p->Peak >= 0 ? QStringLiteral("yes") : QStringLiteral("no")});
    }
}

} // namespace

std::vector<CsvTables> AnalyticsTables(const MinuteSeries& s, const AnalyticsResult& r)
{
    const ActivityCurves& c = r.Curves;
    auto zt = [&](qint64 minute) { return Num(s.ZtHours(minute)); };

    Table groups("group,bin_start_min,zt_h,light,n,mean,sd,sem");
    for (int g = 0; g < s.Groups(); ++g)
        for (size_t b = 0; b < c.Bins(); ++b) {
            const GroupBinStats& st = c.GroupAt(g, b);
            if (!c.HasData[b] || st.N == 0)
                continue;
            groups.Row({s.GroupLabel(g), QString::number(c.StartMinute[b]), zt(c.StartMinute[b]), LightField(c.Phase[b]),
                        QString::number(st.N), Num(st.Mean), Num(st.SD), Num(st.SEM)});
        }

    Table wells("well,group,bin_start_min,zt_h,light,value");
    Table rest("well,group,day,phase,rest_min,bouts,mean_bout_min,latency_min");
    Table bouts("well,group,start_min,length_min");
    Table qc("well,group,status,since_min,reason");
    for (int w = 0; w < s.Wells(); ++w) {
        const SeriesWell& info = s.WellInfo[size_t(w)];
        const QString group = s.GroupLabel(info.Group);
        const WellStatus& st = r.Status[size_t(w)];
        qc.Row({info.Label, group, WellStateName(st.State),
                st.SinceMinute >= 0 ? QString::number(st.SinceMinute) : QString(), st.Reason});
        if (!info.HasBeam)
            continue;
        for (size_t b = 0; b < c.Bins(); ++b)
            if (c.HasData[b])
                wells.Row({info.Label, group, QString::number(c.StartMinute[b]), zt(c.StartMinute[b]),
                           LightField(c.Phase[b]), QString::number(c.Well(w, b))});
        const WellRest& wr = r.Rest[size_t(w)];
        for (const RestPhase& p : wr.Phases)
            rest.Row({info.Label, group, QString::number(p.Day), PhaseName(p.Phase), QString::number(p.RestMinutes),
                      QString::number(p.Bouts), Num(p.MeanBoutMinutes()),
                      p.LatencyMinutes >= 0 ? QString::number(p.LatencyMinutes) : QString()});
        for (const RestBout& bout : wr.Bouts)
            bouts.Row({info.Label, group, QString::number(bout.StartMinute), QString::number(bout.Minutes)});
    }

    Table periodogram("subject,method,period_h,power,threshold,p_value");
    Table periods("subject,method,peak_period_h,power,threshold,p_value,significant");
    for (int w = 0; w < s.Wells(); ++w)
        if (s.WellInfo[size_t(w)].HasBeam)
            PeriodRows(periodogram, periods, r.WellPeriodograms[size_t(w)], r.Periods);
    for (const SubjectPeriodograms& sp : r.GroupPeriodograms)
        PeriodRows(periodogram, periods, sp, r.Periods);

    return {{QStringLiteral("groups.csv"), groups.Take()},         {QStringLiteral("wells.csv"), wells.Take()},
            {QStringLiteral("rest.csv"), rest.Take()},             {QStringLiteral("bouts.csv"), bouts.Take()},
            {QStringLiteral("periodogram.csv"), periodogram.Take()}, {QStringLiteral("periods.csv"), periods.Take()},
            {QStringLiteral("qc.csv"), qc.Take()}};
}

CsvWriteResult WriteAnalyticsTables(const QString& folder, const MinuteSeries& s, const AnalyticsResult& r)
{
    CsvWriteResult out;
    const QDir dir(folder);
    for (const CsvTables& t : AnalyticsTables(s, r)) {
        QSaveFile file(dir.filePath(t.Name));
        if (!file.open(QIODevice::WriteOnly) || file.write(t.Text) != t.Text.size() || !file.commit()) {
            out.Error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
            return out;
        }
        out.Files << file.fileName();
    }
    return out;
}

} // namespace bandora
