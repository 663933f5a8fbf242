#include "RestBouts.h"

#include <algorithm>

namespace bandora {

namespace {

constexpr qint64 kDay = 1440;

// The phases of the recording, which every well shares: the phase row of
// each sample (-1 for a missing one) and the empty rows.
struct PhasePlan {
    std::vector<int> RowOf;
    std::vector<RestPhase> Rows;
};

PhasePlan PlanPhases(const MinuteSeries& s)
{
    // ZT0 is the light-on hour, so each ZT day starts with its light phase.
    qint64 lightLength = 0;
    if (s.Light.On)
        lightLength = 60 * (((s.Light.OffHour - s.Light.OnHour) % 24 + 24) % 24);
    PhasePlan plan;
    plan.RowOf.assign(size_t(s.Samples), -1);
    qint64 lastKey = -1;
    for (qint64 k = 0; k < s.Samples; ++k) {
        if (!s.IsPresent(k))
            continue;
        const qint64 zt = s.ZtMinute(s.SampleMinute(k));
        const qint64 day = zt / kDay;
        const bool dark = s.Light.On && zt - day * kDay >= lightLength;
        const qint64 key = 2 * day + (dark ? 1 : 0);
        if (key != lastKey) {
            RestPhase row;
            row.Day = int(day + 1);
            row.Phase = !s.Light.On ? LightPhase::None : dark ? LightPhase::Dark : LightPhase::Light;
            const qint64 phaseStartZt = day * kDay + (dark ? lightLength : 0);
            row.StartMinute = std::max<qint64>(0, phaseStartZt - s.StartZtMinutes);
            plan.Rows.push_back(row);
            lastKey = key;
        }
        plan.RowOf[size_t(k)] = int(plan.Rows.size()) - 1;
    }
    return plan;
}

} // namespace

QString PhaseName(LightPhase phase)
{
    switch (phase) {
    case LightPhase::Light: return QStringLiteral("light");
    case LightPhase::Dark: return QStringLiteral("dark");
    case LightPhase::None: return QStringLiteral("all");
    }
    return {};
}

std::vector<WellRest> ComputeRest(const MinuteSeries& s, int restMinutes)
{
    const PhasePlan plan = PlanPhases(s);
    const qint64 r = s.Resolution;
    std::vector<WellRest> out(size_t(s.Wells()));
    for (int w = 0; w < s.Wells(); ++w) {
        if (!s.WellInfo[size_t(w)].HasBeam)
            continue;
        WellRest& rest = out[size_t(w)];
        rest.Phases = plan.Rows;
        const std::span<const qint32> v = s.Well(w);
        qint64 k = 0;
        while (k < s.Samples) {
            if (!s.IsPresent(k) || v[size_t(k)] != 0) {
                ++k;
                continue;
            }
            const qint64 first = k;
            while (k < s.Samples && s.IsPresent(k) && v[size_t(k)] == 0)
                ++k;
            const qint64 minutes = (k - first) * r;
            if (minutes < restMinutes)
                continue;
            const RestBout bout{s.SampleMinute(first), minutes};
            rest.Bouts.push_back(bout);
            RestPhase& at = rest.Phases[size_t(plan.RowOf[size_t(first)])];
            if (at.Bouts++ == 0)
                at.LatencyMinutes = bout.StartMinute - at.StartMinute;
            at.BoutMinutes += minutes;
            for (qint64 i = first; i < k; ++i)
                rest.Phases[size_t(plan.RowOf[size_t(i)])].RestMinutes += r;
        }
    }
    return out;
}

} // namespace bandora
