#include "RunJournal.h"

#include "RunState.h"

#include "core/common/Clock.h"
#include "core/setup/ProjectState.h"
#include "core/storage/PlateFormat.h"

#include <algorithm>

namespace bandora {

std::vector<ManifestGroup> ManifestGroups(const ProjectSetup& project, const PlateFormat& plate)
{
    std::vector<ManifestGroup> groups;
    std::vector<int> slot(kChannelTable, -1);
    for (int w = 0; w <= plate.MaxWell; ++w) {
        const int ch = plate.WellBeamChannel(w, 0);
        if (ch < 0 || plate.ChannelWell[size_t(ch)] != w)
            continue;
        const int g = project.ChannelGroup[size_t(ch)];
        if (g < 0 || g >= kChannelTable)
            continue;
        if (slot[size_t(g)] < 0) {
            slot[size_t(g)] = int(groups.size());
            ManifestGroup group{g, project.GroupName[size_t(g)], {}, {}};
            const auto values = project.GroupColumnValues.find(g);
            if (values != project.GroupColumnValues.end())
                for (int c = 0; c < project.GroupColumnNames.size() && c < values->second.size(); ++c)
                    group.Columns.insert(project.GroupColumnNames[c], values->second[c]);
            groups.push_back(group);
        }
        groups[size_t(slot[size_t(g)])].Wells << WellLabel(w, plate.Rows);
    }
    std::sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) { return a.Number < b.Number; });
    return groups;
}

RunManifest ManifestAtRunStart(const ProjectState& project, const RunState& run, const Clock& clock)
{
    const ProjectSetup& p = project.setup;
    RunManifest m;
    m.ProgramVersion = QStringLiteral(BANDORA_VERSION_TEXT);
    m.ExperimentName = run.ExperimentName;
    m.ExperimentFolder = run.ExperimentFolderName;
    m.ProjectNumber = p.Num_proj;
    m.ProjectName = p.Name;
    m.Plate = p.Plate_format;
    m.Groups = ManifestGroups(p, project.plate);
    m.DetectionMethod = p.DSP_Method;
    m.DetectionIntervalTicks = p.DSP_Interval;
    m.BlankTicks = p.Threshold_Counter;
    m.BinaryAcquisition = p.Binary_Acq != 0;
    m.AutoCalibrate = run.AutoCalibrate;
    m.AutoZero = run.AutoZero;
    m.Snr = run.SnrThreshold;
    m.Thresholds.assign(p.ChannelThreshold.begin(), p.ChannelThreshold.begin() + kChannels);
    m.RtBufferTicks = p.RT_Buffer;
    m.SampleRate = p.Sample_Rate;
    m.LapseMinutes = p.Aq_lapse;
    const auto light = p.Light();
    m.LightEnabled = p.Menu2 != 0 && light.Enabled() != 0;
    m.LightOnHour = light.OnHour();
    m.LightOffHour = light.OffHour();
    m.LightPulses = light.Pulses();
    m.PulseOnTenths = light.PulseOnTenths();
    m.PulseOffTenths = light.PulseOffTenths();
    m.TemperatureEnabled = p.Menu3 != 0 && p.Temperature().Enabled() != 0;
    m.TemperatureSetpoint = p.Temperature().Setpointx10() / 10.0;
    m.Port = project.config.Serial_COM;
    m.Start = clock.now();
    return m;
}

void RunJournal::Begin(const QString& experimentFolder, RunManifest manifest)
{
    folder_ = experimentFolder;
    manifest_ = std::move(manifest);
    manifest_.Complete = false;
    Write();
}

void RunJournal::Update()
{
    if (Open())
        Write();
}

void RunJournal::End(RunStopReason reason, const QDateTime& end)
{
    if (!Open())
        return;
    manifest_.Complete = true;
    manifest_.StopReason = reason;
    manifest_.End = end;
    Write();
    folder_.clear();
}

void RunJournal::Write()
{
    // A manifest that cannot be written must not stop a run: the records are
    // what matters, and the recording notice already tells of a failing disk.
    problem_.clear();
    WriteRunManifest(folder_, manifest_, &problem_);
}

} // namespace bandora
