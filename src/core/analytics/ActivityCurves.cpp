#include "ActivityCurves.h"

#include <cmath>

namespace bandora {

ActivityCurves ComputeCurves(const MinuteSeries& s, int binMinutes, const std::vector<std::vector<int>>& groupWells)
{
    ActivityCurves c;
    c.BinMinutes = binMinutes;
    if (s.Samples == 0)
        return c;
    const qint64 b = binMinutes;
    c.FirstBin = s.ZtMinute(0) / b;
    const qint64 last = s.ZtMinute(s.SampleMinute(s.Samples - 1)) / b;
    const size_t bins = size_t(last - c.FirstBin + 1);
    for (size_t i = 0; i < bins; ++i) {
        const qint64 start = (c.FirstBin + qint64(i)) * b - s.StartZtMinutes;
        c.StartMinute.push_back(start);
        c.Phase.push_back(s.PhaseAt(start));
    }
    c.HasData.assign(bins, 0);
    std::vector<size_t> binOf(size_t(s.Samples));
    for (qint64 k = 0; k < s.Samples; ++k) {
        binOf[size_t(k)] = size_t(s.ZtMinute(s.SampleMinute(k)) / b - c.FirstBin);
        if (s.IsPresent(k))
            c.HasData[binOf[size_t(k)]] = 1;
    }
    c.WellSum.assign(size_t(s.Wells()) * bins, 0);
    for (int w = 0; w < s.Wells(); ++w) {
        const std::span<const qint32> v = s.Well(w);
        qint64* out = c.WellSum.data() + size_t(w) * bins;
        for (qint64 k = 0; k < s.Samples; ++k)
            out[binOf[size_t(k)]] += v[size_t(k)];
    }
    c.Group.assign(groupWells.size() * bins, {});
    for (size_t g = 0; g < groupWells.size(); ++g) {
        const std::vector<int>& wells = groupWells[g];
        const int n = int(wells.size());
        for (size_t i = 0; i < bins && n > 0; ++i) {
            GroupBinStats& st = c.Group[g * bins + i];
            st.N = n;
            double sum = 0.0;
            for (int w : wells)
                sum += double(c.Well(w, i));
            st.Mean = sum / n;
            if (n < 2)
                continue;
            double ss = 0.0;
            for (int w : wells)
                ss += (double(c.Well(w, i)) - st.Mean) * (double(c.Well(w, i)) - st.Mean);
            st.SD = std::sqrt(ss / (n - 1));
            st.SEM = st.SD / std::sqrt(double(n));
        }
    }
    return c;
}

} // namespace bandora
