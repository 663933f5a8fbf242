#include "WellActivity.h"

#include <algorithm>

namespace bandora {

namespace {

// The longest window kept; older cycles are dropped.
constexpr qint64 kHourMs = 60LL * 60 * 1000;
constexpr qint64 kTenMinutesMs = 10LL * 60 * 1000;

} // namespace

void WellActivity::Prepare(const ProjectSetup& project, const PlateFormat& plate)
{
    rows_ = std::max<int>(plate.Rows, 1);
    columns_ = std::max<int>(plate.Columns, 1);
    const int wells = rows_ * columns_;
    beams_.assign(size_t(wells), 0);
    channelWell_.fill(-1);
    for (int ch = 0; ch < kChannels; ++ch) {
        const int well = plate.ChannelWell[size_t(ch)];
        if (well < 0 || well >= wells || !project.ChannelEnabled[size_t(ch)])
            continue;
        channelWell_[size_t(ch)] = qint16(well);
        ++beams_[size_t(well)];
    }
    live_.assign(size_t(wells), 0.0f);
    liveFraction_ = 0;
    history_.clear();
    lastMove_.assign(size_t(wells), QDateTime());
    started_ = false;
}

void WellActivity::StartRun(const QDateTime& now)
{
    std::fill(live_.begin(), live_.end(), 0.0f);
    liveFraction_ = 0;
    history_.clear();
    std::fill(lastMove_.begin(), lastMove_.end(), now);
    started_ = true;
}

void WellActivity::SumWells(const Counts& counts, std::vector<float>& sums) const
{
    sums.assign(beams_.size(), 0.0f);
    for (int ch = 0; ch < kChannels; ++ch) {
        const int well = channelWell_[size_t(ch)];
        if (well >= 0)
            sums[size_t(well)] += float(std::max<qint16>(counts[size_t(ch)], 0));
    }
}

void WellActivity::TakeLive(const Counts& counts, double cycleFraction, const QDateTime& now)
{
    std::vector<float> sums;
    SumWells(counts, sums);
    for (size_t w = 0; w < sums.size(); ++w) {
        // A count that grew is a movement now; a count that fell is a new
        // buffer cycle, in which any count at all is new.
        const bool fresh = sums[w] < live_[w] ? sums[w] > 0 : sums[w] > live_[w];
        if (fresh && started_)
            lastMove_[w] = now;
    }
    live_ = std::move(sums);
    liveFraction_ = std::clamp(cycleFraction, 0.0, 1.0);
}

void WellActivity::EndCycle(const Counts& counts, const QDateTime& now)
{
    Cycle cycle{now, {}};
    SumWells(counts, cycle.sums);
    if (started_)
        for (size_t w = 0; w < cycle.sums.size(); ++w)
            if (cycle.sums[w] > live_[w])
                lastMove_[w] = now;
    history_.push_back(std::move(cycle));
    while (history_.size() > 1 && history_.front().end.msecsTo(now) > kHourMs)
        history_.pop_front();
    // The next cycle starts from nothing.
    std::fill(live_.begin(), live_.end(), 0.0f);
    liveFraction_ = 0;
}

std::vector<double> WellActivity::Values(ActivityWindow window, const QDateTime& now) const
{
    std::vector<double> values(live_.begin(), live_.end());
    if (window == ActivityWindow::LastCycle) {
        if (!history_.empty()) {
            const double rest = 1.0 - liveFraction_;
            const std::vector<float>& previous = history_.back().sums;
            for (size_t w = 0; w < values.size(); ++w)
                values[w] += previous[w] * rest;
        }
    } else {
        const qint64 span = window == ActivityWindow::Last10Min ? kTenMinutesMs : kHourMs;
        for (const Cycle& cycle : history_) {
            if (cycle.end.msecsTo(now) >= span)
                continue;
            for (size_t w = 0; w < values.size(); ++w)
                values[w] += cycle.sums[w];
        }
    }
    for (size_t w = 0; w < values.size(); ++w)
        values[w] = beams_[w] > 0 ? values[w] / beams_[w] : 0.0;
    return values;
}

QDateTime WellActivity::LastMovement(int well) const
{
    return started_ && well >= 0 && well < Wells() ? lastMove_[size_t(well)] : QDateTime();
}

std::vector<InactiveWell> WellActivity::InactiveWells(const QDateTime& now, int minutes) const
{
    std::vector<InactiveWell> found;
    if (!started_ || minutes <= 0)
        return found;
    const qint64 limit = qint64(minutes) * 60 * 1000;
    for (int w = 0; w < Wells(); ++w)
        if (Used(w) && lastMove_[size_t(w)].msecsTo(now) >= limit)
            found.push_back({w, WellLabel(w, rows_), lastMove_[size_t(w)]});
    return found;
}

} // namespace bandora
