#include "ReportBinning.h"

#include "core/common/Rounding.h"
#include "core/storage/RecordSyntax.h"

#include <algorithm>
#include <cmath>

namespace bandora {

namespace {

// Temperatures outside 1.0 to 50.0 degrees are no readings (0 = no sensor).
constexpr qint16 kLowestTemperature = 10;
constexpr qint16 kHighestTemperature = 500;

// A bin-size text too large for any recording is held at a size that still
// leaves room for the arithmetic of the bin ends.
constexpr double kLargestBinText = 1.0e12;

} // namespace

BinPlan PlanBins(const QString& binSizeText, qint64 endTime)
{
    BinPlan plan;
    const double typed = std::clamp(NumericValue(binSizeText), -kLargestBinText, kLargestBinText);
    qint64 b = RoundHalfEven(typed);
    if (b < 2) {
        b = 2;
        plan.ShownBinSize = QStringLiteral("2");
    }
    const qint64 e = std::max<qint64>(endTime, 0);
    if (b > e + 1) {
        if (e > 30) {
            b = 15 * ((e + 1) / 15);
            plan.ShownBinSize = QString::number(b);
        } else {
            b = e + 1;
        }
    }
    plan.BinSize = b;
    plan.BinCount = std::max<qint64>(RoundedQuotient(e, b), 1);
    return plan;
}

std::vector<size_t> ReportTables::ShownBins() const
{
    std::vector<size_t> shown;
    for (size_t i = 0; i < Bins.size(); ++i)
        if (Bins[i] >= 1 && Bins[i] <= BinCount)
            shown.push_back(i);
    return shown;
}

qint64 ReportTables::WellBinTotal(int well, qint64 bin) const
{
    if (well < 0 || well >= Wells)
        return 0;
    const auto at = std::lower_bound(Bins.begin(), Bins.end(), bin);
    if (at == Bins.end() || *at != bin)
        return 0;
    return Well(size_t(at - Bins.begin()), well);
}

ReportBinner::ReportBinner(const BinPlan& plan, const ExperimentSettings& settings)
    : settings_(settings), binEnd_(plan.BinSize)
{
    tables_.BinSize = plan.BinSize;
    tables_.BinCount = plan.BinCount;
    tables_.Wells = settings.Plate.MaxWell + 1;
    tables_.Groups = settings.LargestGroup() + 1;
    wellChannels_.resize(size_t(tables_.Wells));
    for (int w = 0; w < tables_.Wells; ++w)
        wellChannels_[size_t(w)] = settings.Plate.WellChannels(w);
}

void ReportBinner::OpenBin(qint64 bin)
{
    tables_.Bins.push_back(bin);
    tables_.RecordCount.push_back(0);
    temperatureSum_.push_back(0);
    temperatureReadings_.push_back(0);
    tables_.ChannelTotal.resize(tables_.ChannelTotal.size() + kChannels, 0);
    tables_.WellTotal.resize(tables_.WellTotal.size() + size_t(tables_.Wells), 0);
}

void ReportBinner::Add(qint64 time, std::span<const qint16> values)
{
    Q_ASSERT(values.size() >= size_t(kChannelTable));
    const qint64 b = tables_.BinSize;
    if (time > binEnd_)
        binEnd_ += b * ((time - binEnd_ + b - 1) / b);
    const qint64 bin = binEnd_ / b;
    if (tables_.Bins.empty() || tables_.Bins.back() != bin)
        OpenBin(bin);
    const size_t i = tables_.Bins.size() - 1;

    qint64* channels = tables_.ChannelTotal.data() + i * kChannels;
    for (int c = 0; c < kChannels; ++c)
        channels[c] += values[c];
    ++tables_.RecordCount[i];

    const qint16 temperature = values[kChannels];
    if (temperature >= kLowestTemperature && temperature <= kHighestTemperature) {
        temperatureSum_[i] += temperature;
        ++temperatureReadings_[i];
    }

    // A well with several beams counts the mean of its beams, rounded, in
    // every record, so that wells of one and of two beams compare.
    qint64* wells = tables_.WellTotal.data() + i * size_t(tables_.Wells);
    for (int w = 0; w < tables_.Wells; ++w) {
        const QVector<qint16>& beams = wellChannels_[size_t(w)];
        if (beams.size() == 1) {
            wells[w] += values[beams[0]];
        } else if (!beams.isEmpty()) {
            qint64 sum = 0;
            for (qint16 ch : beams)
                sum += values[ch];
            wells[w] += RoundedQuotient(sum, beams.size());
        }
    }
}

ReportTables ReportBinner::Finish()
{
    ReportTables& t = tables_;
    const size_t bins = t.Bins.size();

    // The mean of the readings the bin holds: records without a sensor
    // reading (0) or with an impossible one do not pull the mean down.
    t.Temperature.assign(bins, 0);
    for (size_t i = 0; i < bins; ++i)
        if (temperatureReadings_[i] > 0)
            t.Temperature[i] = RoundedQuotient(temperatureSum_[i], temperatureReadings_[i]);

    // A group's wells are the wells whose beam-0 channel is in the group; a
    // well whose first beam is free belongs to no group.
    std::vector<std::vector<int>> groupWells(size_t(t.Groups));
    for (int w = 0; w < t.Wells; ++w) {
        const qint16 ch = settings_.Plate.WellChannel(w, 0);
        if (ch < 0)
            continue;
        const int g = settings_.ChannelGroup[ch];
        if (g >= 0 && g < t.Groups)
            groupWells[size_t(g)].push_back(w);
    }

    t.GroupWellCount.assign(size_t(t.Groups), 0);
    t.GroupMean.assign(bins * size_t(t.Groups), 0);
    t.GroupSD.assign(bins * size_t(t.Groups), 0);
    for (int g = 0; g < t.Groups; ++g) {
        const std::vector<int>& wells = groupWells[size_t(g)];
        const qint64 m = qint64(wells.size());
        if (m == 0)
            continue;
        t.GroupWellCount[size_t(g)] = m;
        for (size_t i = 0; i < bins; ++i) {
            qint64 sum = 0;
            for (int w : wells)
                sum += t.Well(i, w);
            const qint64 mean = RoundedQuotient(sum, m);
            t.GroupMean[i * size_t(t.Groups) + g] = mean;
            if (m < 2)
                continue;
            // The sum of squares is kept as a whole number after every well.
            double running = 0.0;
            for (int w : wells) {
                const double d = double(t.Well(i, w) - mean);
                running = double(RoundHalfEven(d * d + running));
            }
            t.GroupSD[i * size_t(t.Groups) + g] = RoundHalfEven(std::sqrt(running / double(m - 1)));
        }
    }
    return std::move(tables_);
}

} // namespace bandora
