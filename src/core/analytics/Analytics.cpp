#include "Analytics.h"

namespace bandora {

std::vector<double> WellSamples(const MinuteSeries& s, int well)
{
    const std::span<const qint32> v = s.Well(well);
    return std::vector<double>(v.begin(), v.end());
}

std::vector<double> MeanSamples(const MinuteSeries& s, const std::vector<int>& wells)
{
    std::vector<double> mean(size_t(s.Samples), 0.0);
    if (wells.empty())
        return mean;
    for (int w : wells) {
        const std::span<const qint32> v = s.Well(w);
        for (qint64 k = 0; k < s.Samples; ++k)
            mean[size_t(k)] += v[size_t(k)];
    }
    for (double& m : mean)
        m /= double(wells.size());
    return mean;
}

Actogram WellActogram(const MinuteSeries& s, const AnalyticsOptions& o, int well)
{
    return ComputeActogram(s, s.WellInfo[size_t(well)].Label, WellSamples(s, well), o.BinMinutes,
                           o.ActogramPeriodHours);
}

Actogram GroupActogram(const MinuteSeries& s, const AnalyticsResult& r, int group)
{
    return ComputeActogram(s, s.GroupLabel(group), MeanSamples(s, r.GroupWells[size_t(group)]),
                           r.Options.BinMinutes, r.Options.ActogramPeriodHours);
}

AnalyticsResult RunAnalytics(const MinuteSeries& s, const AnalyticsOptions& o)
{
    AnalyticsResult r;
    r.Options = o;
    r.Status = AssessWells(s);

    // A group's wells are those whose beam-0 channel is in it, as in a report.
    r.GroupWells.resize(size_t(s.Groups()));
    for (int w = 0; w < s.Wells(); ++w) {
        const SeriesWell& info = s.WellInfo[size_t(w)];
        if (info.Group < 0 || info.Group >= s.Groups() || !info.HasBeam)
            continue;
        const WellStatus& st = r.Status[size_t(w)];
        if (o.ExcludeInactive && (st.State == WellState::Inactive || st.State == WellState::Noisy)) {
            r.Excluded.push_back({w, info.Group, st.State, st.Reason});
            continue;
        }
        r.GroupWells[size_t(info.Group)].push_back(w);
    }

    r.Curves = ComputeCurves(s, o.BinMinutes, r.GroupWells);
    r.Rest = ComputeRest(s, o.RestMinutes);

    r.Periods = PeriodsTested(o);
    // Every subject shares the recorded minutes, so the 15-minute grid is one.
    std::vector<double> quarter = QuarterHourSamples(s, std::vector<double>(size_t(s.Samples), 0.0));
    const PeriodogramEngine engine(r.Periods, o.Alpha, int(quarter.size()));
    r.WellPeriodograms.resize(size_t(s.Wells()));
    for (int w = 0; w < s.Wells(); ++w) {
        const SeriesWell& info = s.WellInfo[size_t(w)];
        if (!info.HasBeam) {
            r.WellPeriodograms[size_t(w)].Subject = info.Label;
            r.WellPeriodograms[size_t(w)].Refusal = QStringLiteral("no beam");
            continue;
        }
        quarter = QuarterHourSamples(s, WellSamples(s, w));
        r.WellPeriodograms[size_t(w)] = engine.Analyse(info.Label, quarter);
    }
    for (int g = 0; g < s.Groups(); ++g) {
        if (r.GroupWells[size_t(g)].empty()) {
            SubjectPeriodograms none;
            none.Subject = s.GroupLabel(g);
            none.Refusal = QStringLiteral("no wells");
            r.GroupPeriodograms.push_back(none);
            continue;
        }
        quarter = QuarterHourSamples(s, MeanSamples(s, r.GroupWells[size_t(g)]));
        r.GroupPeriodograms.push_back(engine.Analyse(s.GroupLabel(g), quarter));
    }
    return r;
}

} // namespace bandora
