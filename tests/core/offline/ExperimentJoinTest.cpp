#include "core/offline/ExperimentJoin.h"
#include "support/RecordedExperiment.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

class JoinTest : public ::testing::Test {
protected:
    QString Experiment(const QString& name, std::initializer_list<qint32> minutes, qint16 count)
    {
        const QString folder = QDir(project).filePath(name);
        QDir().mkpath(folder);
        for (qint32 m : minutes)
            AppendCounts(folder, m, count);
        return folder;
    }
    std::vector<CountsRecord> Joined(const JoinResult& r)
    {
        return CountsFileReader(CountsFilePath(QDir(project).filePath(r.FolderName))).ReadAll();
    }

    QTemporaryDir dir;
    QString project = dir.path();
    QDateTime now{QDate(2026, 12, 6), QTime(9, 30, 40)};
};

} // namespace

TEST_F(JoinTest, RecordsOfLaterPartsAreShiftedByTheirStart)
{
    Experiment(QStringLiteral("05122026_1000"), {0, 1, 2}, 1);
    Experiment(QStringLiteral("05122026_1200"), {0, 5}, 2);

    // Whatever the list order, the parts go in the order they were recorded,
    // each shifted from the earliest start.
    const JoinResult r = JoinExperiments(project, {QStringLiteral("05122026_1200"), QStringLiteral("05122026_1000")}, now);
    ASSERT_TRUE(r) << r.Error.toStdString();
    EXPECT_EQ(r.FolderName, QStringLiteral("06122026_0930"));
    EXPECT_EQ(r.Parts, (QStringList{QStringLiteral("05122026_1000"), QStringLiteral("05122026_1200")}));
    EXPECT_EQ(r.Offsets, (QVector<qint32>{0, 120}));
    const auto records = Joined(r);
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[2].ElapsedMinutes, 2);
    EXPECT_EQ(records[2].IntervalCount[384], 1);
    EXPECT_EQ(records[3].ElapsedMinutes, 120);
    EXPECT_EQ(records[4].ElapsedMinutes, 125);
    EXPECT_EQ(records[4].IntervalCount[383], 2);

    // The new folder holds subproj.dat and counts.bin, nothing else.
    const QString folder = QDir(project).filePath(r.FolderName);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("counts.bin"), QStringLiteral("subproj.dat")}));
    EXPECT_EQ(ReadAll(QDir(folder).filePath(QStringLiteral("subproj.dat"))),
              QByteArray("\"Data Block: 05122026_1000 + 05122026_1200 + \"\r\n\"Joint Files\"\r\n"));
    EXPECT_EQ(JoinQuestion({QStringLiteral("a"), QStringLiteral("b")}), QStringLiteral("Would you like to Join:\r\na\r\nb\r\n ?"));
}

TEST_F(JoinTest, AJoinOfTheSameMinuteReplacesTheEarlierOneWhole)
{
    Experiment(QStringLiteral("05122026_1000"), {0, 1, 2}, 1);
    Experiment(QStringLiteral("05122026_1200"), {0}, 2);
    Experiment(QStringLiteral("05122026_1230"), {0}, 3);
    ASSERT_TRUE(JoinExperiments(project, {QStringLiteral("05122026_1000"), QStringLiteral("05122026_1200")}, now));
    const JoinResult second =
        JoinExperiments(project, {QStringLiteral("05122026_1200"), QStringLiteral("05122026_1230")}, now.addSecs(15));
    ASSERT_TRUE(second);
    EXPECT_EQ(second.FolderName, QStringLiteral("06122026_0930"));
    const auto records = Joined(second);
    ASSERT_EQ(records.size(), 2u); // not the 4 of the first join with its tail
    EXPECT_EQ(records[1].ElapsedMinutes, 30);

    // A part named otherwise starts now: the real starts lie a day before.
    const JoinResult odd = JoinExperiments(project, {QStringLiteral("05122026_1000"), QStringLiteral("extra")},
                                           QDateTime(QDate(2026, 12, 5), QTime(10, 45)));
    EXPECT_EQ(odd.Offsets, (QVector<qint32>{0, 45}));
}

TEST_F(JoinTest, ARecordedExperimentIsNeverJoinedInto)
{
    // A run started in the minute of the join owns that folder.
    const QString running = Experiment(QStringLiteral("06122026_0930"), {0, 1}, 4);
    RecordCycles(running, 1);
    Experiment(QStringLiteral("05122026_1000"), {0}, 1);
    const auto before = FolderContent(project);
    const JoinResult r =
        JoinExperiments(project, {QStringLiteral("05122026_1000"), QStringLiteral("06122026_0930")}, now);
    EXPECT_EQ(r.Outcome, JoinResult::Status::FolderInUse);
    EXPECT_EQ(FolderContent(project), before);

    // A part that cannot be read leaves no joined file behind.
    const JoinResult missing =
        JoinExperiments(project, {QStringLiteral("05122026_1000"), QStringLiteral("07122026_0000")}, now.addSecs(60));
    EXPECT_EQ(missing.Outcome, JoinResult::Status::Failed);
    EXPECT_FALSE(QFileInfo::exists(QDir(project).filePath(QStringLiteral("06122026_0931"))));
}
