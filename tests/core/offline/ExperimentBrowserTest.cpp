#include "core/offline/ExperimentBrowser.h"
#include "core/storage/RecordSyntax.h"
#include "support/RecordedExperiment.h"
#include "support/ScriptedOperator.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

class BrowserTest : public ::testing::Test {
protected:
    QString Project(int n)
    {
        const QString path = QDir(dir.path()).filePath(ProjectFolderName(n));
        QDir().mkpath(path);
        return path;
    }
    QString Experiment(const QString& project, const QString& name)
    {
        const QString path = QDir(project).filePath(name);
        QDir().mkpath(path);
        return path;
    }
    QTemporaryDir dir;
    ScriptedOperator op;
};

} // namespace

TEST_F(BrowserTest, OnlyProjectFoldersAndRecordedExperimentsAreListed)
{
    const QString p1 = Project(1);
    Project(12);
    QDir().mkpath(QDir(dir.path()).filePath(QStringLiteral("plates"))); // p and five characters, but no number
    WriteAll(QDir(dir.path()).filePath(QStringLiteral("p00099")), "a file, not a project");
    QStringList projects = ListProjectFolders(dir.path());
    projects.sort();
    EXPECT_EQ(projects, (QStringList{QStringLiteral("p00001"), QStringLiteral("p00012")}));

    AppendCounts(Experiment(p1, QStringLiteral("05122026_1000")), 0, 1);
    AppendCounts(Experiment(p1, QStringLiteral("31012027_0900")), 0, 1);
    AppendCounts(Experiment(p1, QStringLiteral("05122026_1200")), 0, 1);
    AppendCounts(Experiment(p1, QStringLiteral("abcdefgh_ijkl")), 0, 1); // no date: last
    // Real-time files alone do not make a recorded experiment.
    RecordCycles(Experiment(p1, QStringLiteral("06122026_0800")), 1);
    QFile::remove(QDir(QDir(p1).filePath(QStringLiteral("06122026_0800"))).filePath(QStringLiteral("counts.bin")));
    AppendCounts(Experiment(p1, QStringLiteral("0512202_1000")), 0, 1); // twelve characters
    AppendCounts(Experiment(p1, QStringLiteral("notes")), 0, 1);
    // Newest first: the year, then the day and the time decide.
    EXPECT_EQ(ListExperimentFolders(p1), (QStringList{QStringLiteral("31012027_0900"), QStringLiteral("05122026_1200"),
                                                      QStringLiteral("05122026_1000"), QStringLiteral("abcdefgh_ijkl")}));
    EXPECT_EQ(ProjectNumberOfFolder(p1), 1);
    EXPECT_EQ(ProjectNumberOfFolder(Project(12) + QLatin1Char('/')), 12);
}

TEST_F(BrowserTest, PagesReachEveryRealTimeFile)
{
    // Five files to a page, at least one page: files 5 and 6 are on page 2.
    for (const auto& [files, pages] : {std::pair{0, 1}, {5, 1}, {7, 2}, {8, 2}, {11, 3}})
        EXPECT_EQ(PageCountFor(files), pages) << files;

    const QString e = Experiment(Project(1), QStringLiteral("05122026_1000"));
    RecordCycles(e, 2 * kRecordsPerRealTimeFile + 1);
    EXPECT_EQ(CountRealTimeFiles(e), 3); // counts.bin is not one
}

TEST_F(BrowserTest, InformationTextsTellProjectsAndExperimentsApart)
{
    const QString p1 = Project(1);
    EXPECT_EQ(ProjectInfoText(p1, QStringLiteral("p00001"), 1, op), QStringLiteral("<Project> p00001: "));

    ProjectSetup project;
    project.Num_proj = 1;
    project.Name = QStringLiteral("larvae");
    SaveProject(project, p1);
    EXPECT_EQ(ProjectInfoText(p1, QStringLiteral("p00001"), 1, op), QStringLiteral("<Project> p00001: larvae"));

    const QString e = Experiment(p1, QStringLiteral("05122026_1000"));
    SaveProject(project, e);
    EXPECT_EQ(ExperimentInfoText(e, QStringLiteral("05122026_1000"), 1, op),
              QStringLiteral("<Project> p00001: larvae\r\n<Subproject> 05122026_1000"));
    RecordWriter().Header(QStringLiteral("dark phase")).Header(QStringLiteral("N2")).WriteTo(QDir(e).filePath(QStringLiteral("subproj.dat")));
    EXPECT_EQ(ExperimentInfoText(e, QStringLiteral("05122026_1000"), 1, op),
              QStringLiteral("<Project> p00001: larvae\r\n<Subproject> 05122026_1000: dark phase"));

    // A damaged copy in an experiment folder is read from its backup, never
    // repaired: the folder is the record of the run.
    SaveProject(project, e); // leaves setup.bak beside it
    WriteAll(QDir(e).filePath(QStringLiteral("setup.dat")), "\"Project Setup\"\r\n");
    const auto before = FolderContent(e);
    EXPECT_EQ(ExperimentInfoText(e, QStringLiteral("05122026_1000"), 1, op),
              QStringLiteral("<Project> p00001: larvae\r\n<Subproject> 05122026_1000: dark phase"));
    EXPECT_EQ(FolderContent(e), before);
    QFile::remove(QDir(e).filePath(QStringLiteral("setup.bak")));
    const auto withoutBackup = FolderContent(e);
    EXPECT_TRUE(ExperimentInfoText(e, QStringLiteral("05122026_1000"), 1, op)
                    .startsWith(QStringLiteral("<Project> p00001: SETUP NOT FOUND!!\r\n")));
    EXPECT_EQ(FolderContent(e), withoutBackup);
    EXPECT_TRUE(op.texts().isEmpty());

    EXPECT_EQ(OpenedExperimentText(QStringLiteral("w96f"), 90, {QStringLiteral("001_control"), QStringLiteral("999_Free")}),
              QStringLiteral("\r\n") + QString(64, QLatin1Char('.')) +
                  QStringLiteral("\r\n[w96f]   [Acq.Lapse=90min]\r\n[Groups: \r\n<001_control> <999_Free> ]"));
}
