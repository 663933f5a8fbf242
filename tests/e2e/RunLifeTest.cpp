// The life of a run against the virtual instrument: a folder of its own for
// every run, run time on the monotonic clock, a full disk and the disk space
// warnings.

#include "RunRig.h"

#include "core/acquisition/RecordingSpace.h"
#include "core/acquisition/RunControl.h"
#include "core/analysis/PerWellExport.h"
#include "core/offline/ExperimentBrowser.h"
#include "core/storage/ExperimentFolderName.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RealTimeFile.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <sys/resource.h>

using namespace bandora;
using namespace bandora::test;

namespace {

// Files may grow to `bytes` and no further: a write beyond fails as on a
// full disk, until the limit goes.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limit{bytes, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
    rlimit saved{};
};

} // namespace

TEST(RunLife, ARunInTheSameMinuteRecordsIntoAFolderOfItsOwnAndTheTimeIsMonotonic)
{
    RunRig r;
    r.state.project.setup.RT_Buffer = 20;
    r.state.project.setup.Aq_lapse = 2;
    r.Start(QStringLiteral("first"));
    r.Ticks(20);
    r.run.StopRun();
    EXPECT_EQ(r.state.run.LastStopReason, RunStopReason::OperatorStop);
    const QString first = r.Experiment();
    const QByteArray firstRaw = ReadAll(RealTimeFilePath(first, 0));

    r.Start(QStringLiteral("second"));
    EXPECT_EQ(r.state.run.ExperimentFolderName, QStringLiteral("05122026_1000_2"));
    EXPECT_EQ(r.window.runLabel, QStringLiteral("Recording into 05122026_1000_2"));
    const QDateTime start = r.inst.clock.now();
    r.inst.clock.set(start.addSecs(3600)); // daylight saving: an hour ahead
    EXPECT_EQ(r.Ticks(100), 100);
    r.inst.clock.set(start.addSecs(-3600)); // a time server puts it back
    EXPECT_EQ(r.Ticks(100), 100);
    r.Ticks(10000);
    EXPECT_EQ(r.state.run.LastStopReason, RunStopReason::LapseEnd);
    EXPECT_GE(RunElapsedMs(r.state.run, r.state.services.clock), 120000);
    EXPECT_LT(RunElapsedMs(r.state.run, r.state.services.clock), 121000) << "the lapse is two minutes of run time";
    EXPECT_EQ(ReadAll(RealTimeFilePath(first, 0)), firstRaw);

    // What reads the date and time from a folder name takes the suffix.
    EXPECT_TRUE(ListExperimentFolders(r.state.project.folder).contains("05122026_1000_2"));
    EXPECT_EQ(NewestExperimentFolder(r.state.project.folder), QStringLiteral("05122026_1000_2"));
    EXPECT_EQ(ExperimentStartTime(QStringLiteral("05122026_1000_2")), ExperimentStartTime("05122026_1000"));
    EXPECT_TRUE(ExperimentStartTime(QStringLiteral("05122026_1000_2")).isValid());
    for (const char* other : {"05122026_1000_1", "05122026_1000_02", "05122026_1000_x", "05122026_1000_"})
        EXPECT_EQ(ExperimentFolderSequence(other), 0) << other;
}

TEST(RunLife, AFullDiskKeepsTheRunGoingDamagesNothingAndRecordingComesBack)
{
    RunRig r;
    r.state.project.setup.RT_Buffer = 20;
    r.cycle.Dimension(20);
    r.state.run.AutoRun = true;
    std::optional<FileSizeLimit> full(std::in_place, 0);
    r.run.StartRun();
    ASSERT_EQ(r.state.run.State, AcquisitionState::Running);
    EXPECT_TRUE(r.inst.op.shown.isEmpty()) << "no message box holds an unattended start";
    EXPECT_TRUE(r.notice.contains(QDir::toNativeSeparators(r.Experiment()))) << r.notice.toStdString();
    const QDir experiment(r.Experiment());
    EXPECT_FALSE(QFileInfo::exists(experiment.filePath("setup.dat"))) << "whole or not at all";
    r.Ticks(2 * 20);
    EXPECT_EQ(r.Size("counts.bin"), 0);

    full.reset();
    r.Ticks(20);
    EXPECT_TRUE(r.notice.isEmpty()) << r.notice.toStdString();
    QTemporaryDir expected;
    SaveProject(r.state.project.setup, expected.path());
    for (const char* f : {"setup.dat", "status.dat", "threshld.dat", "groups.dat", "chgroup.dat"})
        EXPECT_EQ(ReadAll(experiment.filePath(f)), ReadAll(QDir(expected.path()).filePath(f))) << f;
    EXPECT_EQ(ReadAll(experiment.filePath("subproj.dat")), QByteArray("\"Autorun project\"\r\n\"two strains\"\r\n"));

    // Full again in the middle of a real-time record.
    const QByteArray counts = ReadAll(experiment.filePath("counts.bin"));
    const QByteArray raw = ReadAll(experiment.filePath("0.bin"));
    full.emplace(rlim_t(raw.size() + 1000));
    r.Ticks(2 * 20);
    EXPECT_TRUE(r.notice.contains(QStringLiteral("0.bin"))) << r.notice.toStdString();
    EXPECT_EQ(ReadAll(experiment.filePath("counts.bin")), counts);
    EXPECT_EQ(ReadAll(experiment.filePath("0.bin")), raw);
    full.reset();
    r.Ticks(20);
    EXPECT_TRUE(r.notice.isEmpty());
    EXPECT_EQ(r.state.run.State, AcquisitionState::Running);
    EXPECT_EQ(r.Size("counts.bin"), 2 * 774);
    EXPECT_EQ(r.Size("0.bin"), 2 * RealTimeRecordBytes(20));
}

TEST(RunLife, AnUnattendedStartShortOfDiskSpaceSaysWhyAndWarnsWhenLessThanAnHourFits)
{
    // 500 ticks take at least 34 s on the line: at most 106 buffer cycles an hour.
    EXPECT_EQ(RecordingBytes(60, 500, true), 106 * (774 + 385770));
    RunRig r;
    r.state.project.setup.Aq_lapse = 1440;
    qint64 free = RecordingBytes(1440, 500, true) - 1;
    r.run.FreeBytes = r.acq.FreeBytes = [&](const QString&) { return free; };
    r.state.run.AutoRun = true; // nobody to answer: the start goes on and the window says why
    r.run.StartRun();
    EXPECT_EQ(r.state.run.State, AcquisitionState::Running);
    EXPECT_TRUE(r.window.lapseNotice.contains(QStringLiteral("1440 minutes")));
    QString lowSpace = QStringLiteral("unset");
    r.acq.hooks.DiskSpaceStatus = [&](const QString& text) { lowSpace = text; };
    r.Ticks(500);
    EXPECT_TRUE(lowSpace.isEmpty());
    free = RecordingBytes(60, 500, true) - 1;
    r.Ticks(500);
    EXPECT_TRUE(lowSpace.startsWith(QStringLiteral("less than an hour of records left in")));
}
