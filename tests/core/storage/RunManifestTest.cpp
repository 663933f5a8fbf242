// run.json: written incomplete, completed at the stop, and told apart from a
// run that never reached its stop or a file cut off by a power cut.

#include "core/storage/ExperimentRecorder.h"
#include "core/storage/RunManifest.h"
#include "support/Files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(RunManifest, ReadsBackWhatWasWrittenAndTellsIncompleteRuns)
{
    QTemporaryDir dir;
    EXPECT_EQ(ReadRunManifest(dir.path()).State, ManifestState::Absent);
    EXPECT_TRUE(ManifestNotice(ReadRunManifest(dir.path())).isEmpty());

    RunManifest m;
    m.ExperimentName = QStringLiteral("larvae");
    m.Plate = QStringLiteral("w96f");
    m.Groups.push_back({3, QStringLiteral("wt"), {QStringLiteral("A1"), QStringLiteral("B1")},
                        {{QStringLiteral("genotype"), QStringLiteral("N2")}}});
    m.Thresholds.assign(384, 3.5);
    m.Start = QDateTime(QDate(2026, 12, 5), QTime(10, 0));
    m.BeamsSettled = false;
    ASSERT_TRUE(WriteRunManifest(dir.path(), m));

    ManifestReading r = ReadRunManifest(dir.path());
    ASSERT_EQ(r.State, ManifestState::Incomplete);
    EXPECT_TRUE(ManifestWarning(r).startsWith(QStringLiteral("This run did not end properly")));
    EXPECT_EQ(r.Manifest.Start, m.Start);
    EXPECT_FALSE(r.Manifest.StopReason);

    m.Complete = true;
    m.End = m.Start.addSecs(3600);
    m.StopReason = RunStopReason::LapseEnd;
    m.RecordsWritten = 240;
    m.Failures.push_back({m.Start.addSecs(60), m.Start.addSecs(90), 3, QStringLiteral("counts.bin: disk full")});
    m.StillWells.push_back({QStringLiteral("C7"), m.Start.addSecs(120)});
    ASSERT_TRUE(WriteRunManifest(dir.path(), m));
    r = ReadRunManifest(dir.path());
    ASSERT_EQ(r.State, ManifestState::Complete);
    const RunManifest& back = r.Manifest;
    ASSERT_EQ(back.StillWells.size(), 1u);
    EXPECT_EQ(back.StillWells[0].Well, QStringLiteral("C7"));
    EXPECT_EQ(back.StillWells[0].Since, m.StillWells[0].Since);
    ASSERT_EQ(back.Groups.size(), 1u);
    EXPECT_EQ(back.Groups[0].Wells, m.Groups[0].Wells);
    EXPECT_EQ(back.Groups[0].Columns, m.Groups[0].Columns);
    EXPECT_EQ(back.Thresholds, m.Thresholds);
    EXPECT_EQ(back.BeamsSettled, false);
    ASSERT_EQ(back.Failures.size(), 1u);
    EXPECT_EQ(back.Failures[0].BuffersLost, 3);
    EXPECT_EQ(back.Failures[0].To, m.Failures[0].To);
    EXPECT_TRUE(ManifestWarning(r).isEmpty());
    EXPECT_EQ(ManifestNotice(r),
              QStringLiteral("<Run> ended 05/12/2026 11:00 (lapse end), 240 records written, recording failed 1 time(s)"));

    // Half a file, as a power cut mid-write of an older program could leave.
    const QString path = RunManifestPath(dir.path());
    WriteAll(path, ReadAll(path).left(100));
    EXPECT_EQ(ReadRunManifest(dir.path()).State, ManifestState::Unreadable);
    EXPECT_FALSE(ManifestWarning(ReadRunManifest(dir.path())).isEmpty());
}

TEST(RunManifest, TheRecorderKeepsFailingCyclesAsSpells)
{
    ExperimentRecorder rec;
    rec.Start(QStringLiteral("/nowhere"));
    const QDateTime t0(QDate(2026, 12, 5), QTime(10, 0));
    const AppendResult ok, bad = AppendResult::Failed(QStringLiteral("counts.bin"), QStringLiteral("disk full"));
    // ok, bad, bad, ok, bad: two spells, of two cycles and of one.
    const AppendResult outcomes[] = {ok, bad, bad, ok, bad};
    for (int i = 0; i < 5; ++i)
        rec.NoteOutcome(outcomes[i], t0.addSecs(15 * i));
    EXPECT_EQ(rec.RecordsWritten(), 2);
    ASSERT_EQ(rec.Failures().size(), 2u);
    EXPECT_EQ(rec.Failures()[0].From, t0.addSecs(15));
    EXPECT_EQ(rec.Failures()[0].To, t0.addSecs(30));
    EXPECT_EQ(rec.Failures()[0].BuffersLost, 2);
    EXPECT_TRUE(rec.Failures()[0].Reason.contains(QStringLiteral("disk full")));
    EXPECT_EQ(rec.Failures()[1].BuffersLost, 1);
    rec.Start(QStringLiteral("/nowhere"));
    EXPECT_TRUE(rec.Failures().empty());
}
