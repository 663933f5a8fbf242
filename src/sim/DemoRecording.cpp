#include "DemoRecording.h"

#include "core/analysis/PerWellExport.h"
#include "core/storage/ExperimentRecorder.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RecordSyntax.h"
#include "core/storage/SubprojectFile.h"
#include "core/storage/SampleTable.h"

#include <QDir>

#include <array>
#include <cmath>
#include <numbers>
#include <random>

namespace bandora {

namespace {

constexpr int kTicks = 500;

// Interruptions per beam and buffer cycle at the peak of a wave, by group:
// free wells are nearly still, each group a little livelier than the last.
double PeakRate(int group)
{
    if (group < 0)
        return 0.4;
    return 2.0 + 1.5 * (group % 4);
}

// Activity rises and falls over three hours.
double Wave(double minutes, int well)
{
    return 0.55 + 0.45 * std::sin(2 * std::numbers::pi * (minutes + 7.0 * well) / 180.0);
}

// Activity by the light: full while the schedule has the light on.
double DayNightFactor(const DemoRecording& demo, const ProjectSetup& project, const QDateTime& start, double minutes)
{
    const auto& light = project.MenuParam[2];
    if (!demo.DayNight || !start.isValid() || light[0] != 1)
        return 1.0;
    const int on = light[1], off = light[2];
    const int hour = int(std::fmod(start.time().hour() + (start.time().minute() + minutes) / 60.0, 24.0));
    const bool lit = off > on ? (on <= hour && hour < off) : off < on ? !(off <= hour && hour < on) : false;
    return lit ? 1.0 : 0.15;
}

} // namespace

std::vector<StoppingWell> DemoStoppingWells(int count, int wells)
{
    std::vector<StoppingWell> out;
    for (int i = 0; i < count && wells > 0; ++i)
        out.push_back({(5 + 37 * i) % wells, 1440.0 + 180.0 * (i + 1)});
    return out;
}

AppendResult RecordDemoExperiment(const DemoRecording& demo, const ProjectSetup& project, const PlateFormat& plate)
{
    const QString folder = QDir(demo.ProjectFolder).filePath(demo.FolderName);
    if (!QDir().mkpath(folder))
        return AppendResult::Failed(folder, QStringLiteral("the folder cannot be created"));
    try {
        SaveProject(project, folder);
        WriteSubprojectFile(folder, demo.Name, demo.Description);
    } catch (const RecordError& e) {
        return AppendResult::Failed(folder, QString::fromUtf8(e.what()));
    }

    std::mt19937 rng(demo.Seed);
    std::uniform_int_distribution<int> level(1900, 2100);
    std::uniform_int_distribution<int> noise(-12, 12);
    std::uniform_int_distribution<int> start(0, kTicks - 1);
    std::uniform_int_distribution<int> length(6, 20);
    std::uniform_real_distribution<double> depth(0.35, 0.6);
    std::array<int, kChannelTable> base{};
    for (int ch = 0; ch < kChannels; ++ch)
        base[ch] = plate.ChannelWell[ch] >= 0 ? level(rng) : 0;

    const QDateTime runStart = ExperimentStartTime(demo.FolderName);
    std::vector<double> stopsAt(size_t(kChannelTable), -1.0);
    for (const StoppingWell& w : DemoStoppingWells(demo.StoppingWells, plate.MaxWell + 1))
        stopsAt[size_t(w.Well)] = w.Minute;

    ExperimentRecorder recorder;
    recorder.Start(folder);
    SampleTable sample(kTicks);
    std::array<qint16, kChannelTable> counts{};
    for (int r = 0; r < demo.BufferCycles; ++r) {
        const double minutes = r * demo.SecondsPerCycle / 60.0;
        const double daylight = DayNightFactor(demo, project, runStart, minutes);
        counts.fill(0);
        for (int ch = 0; ch < kChannels; ++ch) {
            const int well = plate.ChannelWell[ch];
            if (well < 0)
                continue;
            const bool stopped = stopsAt[size_t(well)] >= 0 && minutes >= stopsAt[size_t(well)];
            const double rate = stopped ? 0.0 : PeakRate(project.ChannelGroup[ch]) * Wave(minutes, well) * daylight;
            const int events = std::poisson_distribution<int>(rate)(rng);
            counts[ch] = qint16(events);
            if (!demo.SaveReal)
                continue;
            auto row = sample.Row(ch);
            for (int s = 0; s < kTicks; ++s)
                row[s] = qint16(base[ch] + noise(rng));
            for (int e = 0; e < events; ++e) {
                // A passing organism: the beam darkens, stays dark, recovers.
                const int at = start(rng);
                const int len = length(rng);
                const double d = depth(rng);
                for (int s = at; s < std::min(kTicks, at + len); ++s) {
                    const double edge = std::min({1.0, (s - at + 1) / 3.0, (at + len - s) / 3.0});
                    row[s] = qint16(row[s] - base[ch] * d * edge);
                }
            }
        }
        counts[kChannels] = qint16(250 + (r / 40) % 3);
        const AppendResult stored =
            recorder.RecordBufferCycle(demo.SaveReal, sample, qint32(minutes), counts);
        if (!stored)
            return stored;
    }
    return {};
}

} // namespace bandora
