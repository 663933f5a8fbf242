#pragma once

// Keeps run.json of a recording run: written as soon as the experiment
// folder exists (so a run that dies in its calibration is on record), written
// again once the run is under way, and completed when it stops. The stop is
// the only place that marks it complete; a manifest left incomplete is a run
// that never reached its stop.

#include "core/storage/RunManifest.h"

namespace bandora {

class Clock;
struct PlateFormat;
struct ProjectSetup;
struct ProjectState;
struct RunState;

// The groups of the plate with their wells (a well is in the group of its
// beam-0 channel, as the reports count it) and their layout columns.
std::vector<ManifestGroup> ManifestGroups(const ProjectSetup& project, const PlateFormat& plate);

// The manifest of a run starting now in the experiment folder named
// run.ExperimentFolderName.
RunManifest ManifestAtRunStart(const ProjectState& project, const RunState& run, const Clock& clock);

class RunJournal {
public:
    void Begin(const QString& experimentFolder, RunManifest manifest);
    bool Open() const { return !folder_.isEmpty(); }
    RunManifest& Manifest() { return manifest_; }
    // Rewrites the open manifest (still incomplete).
    void Update();
    // Completes and closes it.
    void End(RunStopReason reason, const QDateTime& end);
    // Why the last write failed; empty when it worked.
    const QString& Problem() const { return problem_; }

private:
    void Write();

    QString folder_;
    RunManifest manifest_;
    QString problem_;
};

} // namespace bandora
