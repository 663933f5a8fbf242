#include "WellStatus.h"

#include <algorithm>

namespace bandora {

namespace {

constexpr qint64 kWindowMinutes = 1440;
constexpr qint64 kWindowStep = 60;
constexpr double kStillShare = 0.01;

// The first window in which the well moved in at most 1 % of the recorded
// minutes; -1 when there is none. Windows slide by an hour over prefix sums.
qint64 FirstStillWindow(const MinuteSeries& s, std::span<const qint32> values)
{
    const qint64 n = s.Samples;
    std::vector<qint64> recorded(size_t(n) + 1, 0), moved(size_t(n) + 1, 0);
    for (qint64 k = 0; k < n; ++k) {
        recorded[size_t(k) + 1] = recorded[size_t(k)] + (s.IsPresent(k) ? 1 : 0);
        moved[size_t(k) + 1] = moved[size_t(k)] + (s.IsPresent(k) && values[size_t(k)] > 0 ? 1 : 0);
    }
    const qint64 length = n * s.Resolution;
    const qint64 window = std::min(kWindowMinutes, length);
    for (qint64 start = 0; start + window <= length; start += kWindowStep) {
        const size_t a = size_t(start / s.Resolution);
        const size_t b = size_t(std::min<qint64>(n, (start + window) / s.Resolution));
        const qint64 minutes = recorded[b] - recorded[a];
        if (minutes > 0 && double(moved[b] - moved[a]) <= kStillShare * double(minutes))
            return start;
    }
    return -1;
}

} // namespace

QString WellStateName(WellState state)
{
    switch (state) {
    case WellState::Ok: return QStringLiteral("ok");
    case WellState::Inactive: return QStringLiteral("inactive");
    case WellState::Noisy: return QStringLiteral("noisy");
    case WellState::NoBeam: return QStringLiteral("no_beam");
    }
    return {};
}

std::vector<WellStatus> AssessWells(const MinuteSeries& s)
{
    std::vector<WellStatus> out(size_t(s.Wells()));
    for (int w = 0; w < s.Wells(); ++w) {
        const SeriesWell& info = s.WellInfo[size_t(w)];
        WellStatus& st = out[size_t(w)];
        if (!info.HasBeam) {
            st.State = WellState::NoBeam;
            st.Reason = QStringLiteral("the plate gives this well no beam");
        } else if (info.BeamUnusable) {
            st.State = WellState::Noisy;
            st.Reason = QStringLiteral("a beam of the well is disabled in status.dat");
        } else if (s.Records > 0 && info.CapRecords * 2 >= s.Records) {
            st.State = WellState::Noisy;
            st.Reason = QStringLiteral("counts at the cap of %1 in %2 of %3 records")
                            .arg(s.CountCap)
                            .arg(info.CapRecords)
                            .arg(s.Records);
        } else if (const qint64 since = FirstStillWindow(s, s.Well(w)); since >= 0) {
            st.State = WellState::Inactive;
            st.SinceMinute = since;
            const qint64 window = std::min(kWindowMinutes, s.Samples * s.Resolution);
            st.Reason = QStringLiteral("moved in at most 1 % of the recorded minutes of the %1 h from minute %2")
                            .arg(double(window) / 60.0, 0, 'g', 3)
                            .arg(since);
        }
    }
    return out;
}

} // namespace bandora
