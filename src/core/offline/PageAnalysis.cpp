#include "PageAnalysis.h"

#include "core/analysis/ChannelAnalyzer.h"
#include "core/storage/CountsFile.h"
#include "core/storage/RecordSyntax.h"

#include <QFileInfo>

#include <algorithm>

namespace bandora {

namespace {

constexpr double kLowestThreshold = 1.1;
constexpr double kHighestThreshold = 6.0;
constexpr double kDefaultThreshold = 1.8;

} // namespace

ThresholdChoice ThresholdOfBox(const QString& text)
{
    const double value = NumericValue(text);
    if (value < kLowestThreshold || value > kHighestThreshold)
        return {kDefaultThreshold, true};
    return {value, false};
}

PageAnalysisResult AnalyzePage(const RealTimeStore& store, const QString& experimentFolder, int page,
                               const QVector<WellBeam>& beams, double threshold, int method,
                               ChannelAnalyzer& analyzer)
{
    PageAnalysisResult result;
    result.SlotMinutes.fill(-1);
    const QString countsPath = CountsFilePath(experimentFolder);
    if (QFileInfo(countsPath).isFile()) {
        CountsFileReader counts(countsPath);
        for (int slot = 0; slot < kSlotsPerPage; ++slot)
            if (const auto rec = counts.Read(CountsRecordOfSlot(page, slot)))
                result.SlotMinutes[slot] = rec->ElapsedMinutes;
    }

    for (int slot = 0; slot < kSlotsPerPage; ++slot)
        if (store.RecordedSamples(slot) > 0)
            result.FileRecorded[slot / kSlotsPerFile] = true;

    std::array<qint16, kSlotColumns> buffer{};
    for (const WellBeam& beam : beams) {
        BeamAnalysis a;
        a.Beam = beam;
        a.Level.resize(kSlotsPerPage);
        for (int slot = 0; slot < kSlotsPerPage; ++slot) {
            // Only the recorded ticks: the zeros of a tick never recorded
            // would read as a beam cut for good.
            const int recorded = store.RecordedSamples(slot);
            if (recorded == 0)
                continue;
            const auto values = store.Slot(beam.Channel, slot);
            std::copy(values.begin(), values.end(), buffer.begin());
            const size_t length = recorded == kSlotSamples ? buffer.size() : size_t(recorded);
            const int count = analyzer.AnalyzeChannel(std::span<qint16>(buffer.data(), length), threshold, method);
            a.SlotCounts[slot] = count;
            a.FileTotals[slot / kSlotsPerFile] += count;
            std::copy_n(analyzer.AnalysisLevel.begin(), kSlotSamples, a.Level[slot].begin());
        }
        result.Beams.push_back(std::move(a));
    }
    return result;
}

} // namespace bandora
