#include "../analysis/ReportFixture.h"

#include "core/offline/OfflineExperiment.h"
#include "support/RecordedExperiment.h"
#include "support/ScriptedOperator.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

class OfflineExperimentTest : public ::testing::Test {
protected:
    OfflineExperimentTest()
    {
        CopyShippedPlates(app);
        folder = QDir(app).filePath(QStringLiteral("p00002/05122026_1000"));
        QDir().mkpath(folder);
        project.Num_proj = 2;
        project.Name = QStringLiteral("larvae");
        project.Plate_format = QStringLiteral("w96f");
        project.RT_Buffer = 300;
        project.ChannelGroup.fill(-1);
        project.ChannelGroup[0] = 4;   // A1
        project.ChannelGroup[16] = 4;  // A1, beam 1
        project.ChannelGroup[18] = 1;  // B1 beam 1 only: B1 is not in group 1
        project.ChannelGroup[32] = 1;  // A2
        project.GroupName[4] = QStringLiteral("control");
        project.GroupName[1] = QStringLiteral("drug");
        SaveProject(project, folder);
    }

    QTemporaryDir dir;
    QString app = dir.path();
    QString folder;
    ProjectSetup project;
    ScriptedOperator op;
};

} // namespace

TEST_F(OfflineExperimentTest, TheExperimentsOwnFilesAndPlateAreRead)
{
    OfflineExperiment e;
    ASSERT_EQ(ReadOfflineExperiment(folder, app, 2, op, e), SettingsRead::Read);
    EXPECT_EQ(e.Project.Name, QStringLiteral("larvae"));
    EXPECT_EQ(e.Plate.Rows, 8);
    EXPECT_EQ(e.Plate.MaxBeam, 1);
    EXPECT_TRUE(op.texts().isEmpty());

    // Groups in number order, each once, the free channels last.
    EXPECT_EQ(GroupEntries(e.Project),
              (QStringList{QStringLiteral("001_drug"), QStringLiteral("004_control"), QStringLiteral("999_Free")}));
    EXPECT_EQ(GroupOfEntry(QStringLiteral("004_control")), 4);
    EXPECT_EQ(GroupOfEntry(QStringLiteral("999_Free")), -1);
    // A well belongs to the group of its beam-0 channel.
    EXPECT_EQ(WellsOfGroup(e.Plate, e.Project, 4), QVector<int>{0});
    EXPECT_EQ(WellsOfGroup(e.Plate, e.Project, 1), QVector<int>{8});
    const QVector<int> free = WellsOfGroup(e.Plate, e.Project, -1);
    EXPECT_EQ(free.size(), 94);
    EXPECT_EQ(free.front(), 1); // B1: its beam 0 is free
    int row = -1, column = -1;
    ASSERT_TRUE(ParseWellLabel(QStringLiteral("H12"), row, column));
    EXPECT_EQ(row, 7);
    EXPECT_EQ(column, 12);
    EXPECT_FALSE(ParseWellLabel(QStringLiteral("12"), row, column));

    // Nothing of the folder was touched.
    const auto content = FolderContent(folder);
    ReadOfflineExperiment(folder, app, 2, op, e);
    EXPECT_EQ(FolderContent(folder), content);
}

TEST_F(OfflineExperimentTest, MissingAndDamagedFilesAreReportedNotRepaired)
{
    OfflineExperiment e;
    ASSERT_EQ(ReadOfflineExperiment(folder, app, 2, op, e), SettingsRead::Read);

    // A plate file that is gone: the message, and the last plate stays.
    project.Plate_format = QStringLiteral("w77");
    SaveProject(project, folder);
    EXPECT_EQ(ReadOfflineExperiment(folder, app, 2, op, e), SettingsRead::PlateMissing);
    EXPECT_EQ(op.texts(), QStringList{QStringLiteral("Multiwell Configuration File w77.dat or .bak not found")});
    EXPECT_EQ(e.Plate.Rows, 8);
    EXPECT_EQ(e.Plate.MaxWell, 95);

    // Its backup copy will do: a 2 x 2 plate whose well A1 has beams 0, 1
    // and 3 but no beam 2; B1, A2 and B2 have one beam each.
    WritePlateFile(QDir(app).filePath(QStringLiteral("w77.bak")), 2, 2,
                   {{0, {0, 0}}, {1, {0, 1}}, {2, {0, 3}}, {3, {1, 0}}, {4, {2, 0}}, {5, {3, 0}}});
    op.clear();
    EXPECT_EQ(ReadOfflineExperiment(folder, app, 2, op, e), SettingsRead::Read);
    EXPECT_EQ(e.Plate.Rows, 2);
    // The well without a beam 2 has beams 0, 1 and 3.
    const QVector<WellBeam> beams = WellBeams(e.Plate, 0);
    ASSERT_EQ(beams.size(), 3);
    EXPECT_EQ(beams[2].Beam, 3);
    EXPECT_EQ(beams[2].Channel, 2);
    EXPECT_EQ(BeamChannel(e.Plate, 0, 2), -1);
    EXPECT_EQ(BeamChannel(e.Plate, 1, 1), -1); // not channel 0
    EXPECT_EQ(BeamChannel(e.Plate, 1, 0), 3);

    // A damaged setup.dat gives its messages and defaults; the folder stays as it was.
    WriteAll(QDir(folder).filePath(QStringLiteral("setup.dat")), "\"Project Setup\"\r\n2,\"larvae\"\r\n");
    const auto content = FolderContent(folder);
    op.clear();
    ReadOfflineExperiment(folder, app, 2, op, e);
    EXPECT_FALSE(op.texts().isEmpty());
    EXPECT_EQ(FolderContent(folder), content);

    // A folder without setup.dat (a joined experiment) reads nothing.
    QFile::remove(QDir(folder).filePath(QStringLiteral("setup.dat")));
    e.Project.Name = QStringLiteral("kept");
    EXPECT_EQ(ReadOfflineExperiment(folder, app, 2, op, e), SettingsRead::NoSetupFile);
    EXPECT_EQ(e.Project.Name, QStringLiteral("kept"));
}
