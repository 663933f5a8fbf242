#include "GroupActivity.h"

#include "core/analysis/ActivityScan.h"
#include "core/common/Rounding.h"
#include "core/storage/CountsFile.h"

#include <QFileInfo>

namespace bandora {

qint64 WellRecordValue(const PlateFormat& plate, std::span<const qint16, kChannelTable> counts,
                       const QVector<WellBeam>& beams)
{
    if (beams.isEmpty())
        return 0;
    if (plate.MaxBeam == 0)
        return beams.front().Beam == 0 ? counts[beams.front().Channel] : 0;
    qint64 sum = 0;
    for (const WellBeam& b : beams)
        sum += counts[b.Channel];
    return RoundHalfEven(double(sum) / double(beams.size()));
}

std::optional<GroupActivity> ComputeGroupActivity(const QString& experimentFolder, const OfflineExperiment& experiment,
                                                  int channel)
{
    const QString path = CountsFilePath(experimentFolder);
    if (!QFileInfo(path).isFile() || channel < 0 || channel >= kChannels)
        return std::nullopt;
    CountsFileReader reader(path);
    if (!reader.IsOpen())
        return std::nullopt;

    const PlateFormat& plate = experiment.Plate;
    const int well = plate.ChannelWell[channel];
    const QVector<WellBeam> wellBeams = well >= 0 ? WellBeams(plate, well) : QVector<WellBeam>();
    QVector<QVector<WellBeam>> groupBeams;
    for (int w : WellsOfGroup(plate, experiment.Project, experiment.Project.ChannelGroup[channel]))
        groupBeams.push_back(WellBeams(plate, w));

    GroupActivity result;
    result.Records = reader.RecordCount();
    result.GroupWells = int(groupBeams.size());

    // One pass, block by block, so that a recording of weeks is neither read
    // twice nor held whole. A record belongs to the bin its time falls in,
    // so the records of a joined file that are out of time order still land
    // where they were recorded.
    constexpr qint64 kBlock = 4096;
    std::vector<CountsRecord> block;
    qint32 end = 0;
    for (qint64 first = 0; first < result.Records; first += kBlock) {
        if (reader.ReadBlock(first, kBlock, block) == 0)
            break;
        for (const CountsRecord& rec : block) {
            const std::span<const qint16, kChannelTable> counts(rec.IntervalCount);
            end = qMax(end, rec.ElapsedMinutes);
            const qint64 t = rec.ElapsedMinutes;
            const qint64 bin = qMax<qint64>(1, (t + kActivityBinMinutes - 1) / kActivityBinMinutes);
            if (bin > result.Records + kMostEmptyHalfHours)
                return std::nullopt; // a damaged time: the bins would have no bound
            const int k = int(bin);
            if (k >= result.Well.size()) {
                result.Well.resize(k + 1);
                result.Group.resize(k + 1);
                result.BinRecords.resize(k + 1);
            }
            ++result.BinRecords[k];
            const qint64 own = WellRecordValue(plate, counts, wellBeams);
            result.Well[k] += own;
            result.WellTotal += own;
            if (!groupBeams.isEmpty()) {
                qint64 sum = 0;
                for (const auto& beams : groupBeams)
                    sum += WellRecordValue(plate, counts, beams);
                result.Group[k] += RoundHalfEven(double(sum) / double(groupBeams.size()));
            }
        }
    }
    // Room for every 30 minutes up to the end, and one more bin.
    result.EndMinutes = end;
    const int bins = int(RoundHalfEven(double(end) / kActivityBinMinutes)) + 2;
    result.Well.resize(qMax<qsizetype>(bins, result.Well.size()));
    result.Group.resize(result.Well.size());
    result.BinRecords.resize(result.Well.size());
    return result;
}

} // namespace bandora
