#include "MinuteSeries.h"

#include "core/analysis/ActivityScan.h"
#include "core/analysis/PerWellExport.h"
#include "core/common/Operator.h"
#include "core/common/Rounding.h"
#include "core/storage/ChannelTableFiles.h"
#include "core/storage/CountsFile.h"
#include "core/storage/ProjectFiles.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace bandora {

namespace {

constexpr qint64 kBlockRecords = 2048;
// The coarsest resolution; and the share of the steps from one record to the
// next that may skip a whole sample at the chosen resolution: pauses, not
// slow buffer cycles.
constexpr qint64 kLongestCycleMinutes = 60;
constexpr double kPauseShare = 0.01;

// The settings have been read once with their messages; the second reading
// of setup.dat and status.dat for the light schedule and the beams' flags
// stays quiet.
class QuietOperator final : public Operator {
public:
    Answer ask(const QString&, Buttons buttons) override
    {
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
    QString prompt(const QString&, const QString& answer) override { return answer; }
};

// The counts one beam can reach in a buffer cycle: the window detector
// counts once per window of DSP_Interval + 1 ticks, the others need a tick
// below the level and one above it between two counts.
int CountCapOf(const ProjectSetup& p)
{
    if (p.RT_Buffer <= 0)
        return 0;
    if (p.DSP_Method == 0)
        return p.DSP_Interval >= 0 ? p.RT_Buffer / (p.DSP_Interval + 1) : 0;
    return (p.RT_Buffer + 1) / 2;
}

LightSchedule ScheduleOf(const ProjectSetup& p)
{
    const auto light = p.Light();
    LightSchedule s;
    s.On = light.Enabled() == 1;
    s.OnHour = light.OnHour();
    s.OffHour = light.OffHour();
    // The main window turns stored hours 0 and 0 into 9 and 21 before a run.
    if (s.OnHour == 0 && s.OffHour == 0) {
        s.OnHour = 9;
        s.OffHour = 21;
    }
    if (s.OnHour < 0 || s.OnHour > 23 || s.OffHour < 0 || s.OffHour > 23)
        s.On = false;
    return s;
}

QString FolderName(const QString& folder)
{
    return QFileInfo(QDir::cleanPath(QDir::fromNativeSeparators(folder))).fileName();
}

} // namespace

LightPhase LightSchedule::PhaseAtClockMinute(int minuteOfDay) const
{
    if (!On)
        return LightPhase::None;
    const int h = minuteOfDay / 60;
    bool light = false;
    if (OffHour > OnHour)
        light = OnHour <= h && h < OffHour;
    else if (OffHour < OnHour)
        light = !(OffHour <= h && h < OnHour);
    return light ? LightPhase::Light : LightPhase::Dark;
}

void MinuteSeries::Resize(int wells, qint64 samples)
{
    Samples = samples;
    WellInfo.resize(size_t(wells));
    Present.assign(size_t(samples), 0);
    Values.assign(size_t(wells) * size_t(samples), 0);
}

LightPhase MinuteSeries::PhaseAt(qint64 minute) const
{
    const qint64 m = ((StartClockMinute + minute) % 1440 + 1440) % 1440;
    return Light.PhaseAtClockMinute(int(m));
}

QString MinuteSeries::GroupLabel(int group) const
{
    if (group < 0 || group >= Groups())
        return QStringLiteral("999_Free");
    return QStringLiteral("%1_%2").arg(group, 3, 10, QLatin1Char('0')).arg(GroupNames[size_t(group)]);
}

int SeriesResolution(std::span<const qint64> times)
{
    for (int r = 1; r < kLongestCycleMinutes; ++r) {
        qint64 steps = 0, skips = 0;
        for (size_t i = 1; i < times.size(); ++i) {
            const qint64 a = times[i - 1], b = times[i];
            if (b <= a)
                continue;
            ++steps;
            if (b / r - a / r > 1)
                ++skips;
        }
        if (double(skips) <= kPauseShare * double(steps))
            return r;
    }
    return int(kLongestCycleMinutes);
}

SeriesLoad LoadMinuteSeries(const QString& folder, const QString& appDir, Operator& op)
{
    SeriesLoad load;
    MinuteSeries& s = load.Series;
    s.Folder = folder;
    const QString countsPath = CountsFilePath(folder);
    if (folder.trimmed().isEmpty() || !QFileInfo(countsPath).isFile()) {
        load.Error = QStringLiteral("Activity file not Found");
        return load;
    }
    ExperimentSettings settings;
    load.Settings = ReadExperimentSettings(folder, appDir, op, settings);
    if (!load.Settings.PlateFound) {
        load.Error = QStringLiteral("Multiwell Configuration File %1.dat or .bak not found").arg(settings.PlateName);
        return load;
    }

    // The schedule, the detector and the beams' flags of the run.
    ProjectSetup project;
    project.Num_proj = settings.ProjectNumber;
    QuietOperator quiet;
    const ProjectContext ctx{appDir, folder, &quiet, {}, false};
    LoadSetupFile(project, ctx);
    LoadChannelEnabled(project, ctx);
    s.CountCap = CountCapOf(project);

    s.Start = ExperimentStartTime(FolderName(folder));
    if (s.Start.isValid()) {
        s.Light = ScheduleOf(project);
        s.StartClockMinute = s.Start.time().hour() * 60 + s.Start.time().minute();
        if (s.Light.On)
            s.StartZtMinutes = ((s.StartClockMinute - s.Light.OnHour * 60) % 1440 + 1440) % 1440;
    }

    const ActivityScan scan = ScanActivityFile(countsPath);
    if (!scan.Opened || !scan.Error.isEmpty()) {
        load.Error = QStringLiteral("Activity file can't be read: %1").arg(scan.Error);
        return load;
    }
    std::vector<qint64> times;
    times.reserve(scan.RecordTime.size());
    for (qint64 t : scan.RecordTime)
        if (t >= 0)
            times.push_back(t);
    s.Records = qint64(times.size());
    s.SkippedRecords = scan.Records - s.Records;
    if (times.empty()) {
        load.Error = QStringLiteral("The activity file holds no record");
        return load;
    }
    s.Resolution = SeriesResolution(times);

    const ReportGeometry& plate = settings.Plate;
    const int wells = plate.MaxWell + 1;
    s.Resize(wells, *std::max_element(times.begin(), times.end()) / s.Resolution + 1);
    std::vector<QVector<qint16>> beams(static_cast<size_t>(wells));
    for (int w = 0; w < wells; ++w) {
        SeriesWell& info = s.WellInfo[size_t(w)];
        beams[size_t(w)] = plate.WellChannels(w);
        info.Well = w;
        info.Label = plate.WellLabel(w);
        info.HasBeam = !beams[size_t(w)].isEmpty();
        const qint16 first = plate.WellChannel(w, 0);
        info.Group = first >= 0 ? settings.ChannelGroup[first] : -1;
        for (qint16 ch : beams[size_t(w)])
            info.BeamUnusable = info.BeamUnusable || !project.ChannelEnabled[ch];
    }
    const int groups = settings.LargestGroup() + 1;
    for (int g = 0; g < groups; ++g)
        s.GroupNames.push_back(settings.GroupName[size_t(g)]);

    CountsFileReader reader(countsPath);
    std::vector<CountsRecord> block;
    qint64 r = 0;
    for (qint64 first = 0; first < scan.Records; first += kBlockRecords) {
        const qint64 got = reader.ReadBlock(first, std::min(kBlockRecords, scan.Records - first), block);
        if (got <= 0) {
            load.Error = QStringLiteral("Activity file can't be read: %1").arg(QDir::toNativeSeparators(countsPath));
            return load;
        }
        for (qint64 i = 0; i < got; ++i) {
            const qint64 t = scan.RecordTime[size_t(first + i)];
            if (t < 0)
                continue;
            ++r;
            const qint64 k = t / s.Resolution;
            s.Present[size_t(k)] = 1;
            const auto& counts = block[size_t(i)].IntervalCount;
            for (int w = 0; w < wells; ++w) {
                const QVector<qint16>& b = beams[size_t(w)];
                if (b.isEmpty())
                    continue;
                qint64 value = counts[b[0]];
                if (b.size() > 1) {
                    qint64 sum = 0;
                    for (qint16 ch : b)
                        sum += counts[ch];
                    value = RoundedQuotient(sum, b.size());
                }
                s.Values[size_t(w) * size_t(s.Samples) + size_t(k)] += qint32(value);
                if (s.CountCap > 0 && value >= s.CountCap)
                    ++s.WellInfo[size_t(w)].CapRecords;
            }
        }
    }
    load.Ok = true;
    return load;
}

} // namespace bandora
