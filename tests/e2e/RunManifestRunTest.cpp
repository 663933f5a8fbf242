// The manifest of runs against the virtual instrument: written at the start,
// completed with the reason of the stop.

#include "RunRig.h"

#include "core/setup/GroupRules.h"
#include "core/storage/RunManifest.h"
#include "support/Files.h"

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(RunManifestRun, StartWritesItIncompleteAndTheStopCompletesIt)
{
    RunRig r;
    r.state.project.Aq_lapse = 1;
    r.state.project.RT_Buffer = 100;
    ClearGroups(r.state.project);
    for (int b = 0; b < 4; ++b)
        r.state.project.ChannelGroup[size_t(r.state.plate.WellBeamChannel(b, 0))] = 2;
    r.state.project.GroupName[2] = QStringLiteral("wt");
    r.Start(QStringLiteral("larvae"));

    ManifestReading m = ReadRunManifest(r.Experiment());
    ASSERT_EQ(m.State, ManifestState::Incomplete);
    EXPECT_EQ(m.Manifest.ExperimentName, QStringLiteral("larvae"));
    ASSERT_EQ(m.Manifest.Groups.size(), 1u);
    EXPECT_EQ(m.Manifest.Groups[0].Wells, (QStringList{"A1", "B1", "C1", "D1"}));
    EXPECT_EQ(m.Manifest.RtBufferTicks, 100);
    EXPECT_EQ(m.Manifest.Start, r.state.RunStart);

    // The stop reason written is the run's (the window's close gives its own
    // reason through the same stop: ProgramEnd tests).
    r.Ticks(100000); // until the lapse ends the run, with its message and the report
    EXPECT_FALSE(r.window.timerOn);
    EXPECT_EQ(r.reports, 1);
    EXPECT_EQ(r.inst.op.texts().last(), QStringLiteral("Acquisition finished"));
    m = ReadRunManifest(r.Experiment());
    ASSERT_EQ(m.State, ManifestState::Complete);
    EXPECT_EQ(m.Manifest.StopReason, RunStopReason::LapseEnd);
    EXPECT_EQ(m.Manifest.RecordsWritten, r.Size("counts.bin") / 774);
    EXPECT_GT(m.Manifest.RecordsWritten, 0);
    // The test clock's 30 ms per tick, and the pauses of the buffer cycles' first reads.
    EXPECT_GT(m.Manifest.TickRate, 30.0);
    EXPECT_LT(m.Manifest.TickRate, 1000.0 / 30);
    EXPECT_TRUE(m.Manifest.Failures.empty());

    // A stop without a run (the button pressed again) leaves it as it is.
    const QByteArray before = ReadAll(RunManifestPath(r.Experiment()));
    r.run.StopRun();
    EXPECT_EQ(ReadAll(RunManifestPath(r.Experiment())), before);
}
