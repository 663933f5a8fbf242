#include "core/setup/ProjectActions.h"

#include "core/AppState.h"
#include "core/storage/ProjectFiles.h"
#include "support/Files.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedOperator.h"
#include "support/TestClock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using bandora::test::ReadAll;

namespace {

// Project 3 "larvae" is current and saved; seven projects have been handed out.
class ProjectActionsTest : public ::testing::Test {
protected:
    ProjectActionsTest() { test::SeedProgramFolder(state); }

    QString Folder(int n) const { return QDir(app).filePath(ProjectFolderName(n)); }
    QString File(int n, const char* name) const { return QDir(Folder(n)).filePath(QLatin1String(name)); }
    QByteArray ConfigLine() const { return ReadAll(QDir(app).filePath(QStringLiteral("config.dat"))).split('\n').value(1); }
    ProjectSetup Reload(int n)
    {
        ProjectSetup p;
        p.Num_proj = static_cast<qint16>(n);
        PlateFormat plate;
        LoadProject(p, plate, ProjectContext{app, Folder(n), &op, {}});
        return p;
    }

    QTemporaryDir tmp;
    QString app = tmp.path();
    test::ScriptedOperator op;
    test::TestClock clock;
    NoEventPump events;
    AppState state{app, op, clock, events};
};

} // namespace

TEST(ProjectNumbers, WrapAfter32000)
{
    EXPECT_EQ(NextProjectNumber(7), 8);
    EXPECT_EQ(NextProjectNumber(31999), 32000);
    EXPECT_EQ(NextProjectNumber(32000), 1);
    EXPECT_EQ(NextProjectNumber(-3), 1);
}

TEST_F(ProjectActionsTest, NewCreatesTheNextProjectWithTheCurrentValues)
{
    state.project.setup.Aq_lapse = 720;
    state.project.setup.ChannelGroup[5] = 9;
    op.answers << Answer::Ok;
    op.replies << QStringLiteral("Larvae test");
    EXPECT_EQ(NewProject(state.project, state.services), ProjectActionResult::Done);
    ASSERT_EQ(op.shown.size(), 2);
    EXPECT_EQ(op.shown[0].text, QStringLiteral("Do you like to Create a New Project?"));
    EXPECT_EQ(op.shown[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(op.shown[1].text, QStringLiteral("Enter the New Project Name"));
    EXPECT_EQ(op.shown[1].title, QStringLiteral("Saving <8> with a new name"));
    EXPECT_EQ(ConfigLine(), "8,8,4,0\r");

    const ProjectSetup reloaded = Reload(8);
    EXPECT_EQ(reloaded.Name, QStringLiteral("Larvae test"));
    EXPECT_EQ(reloaded.Aq_lapse, 720);
    EXPECT_EQ(reloaded.ChannelGroup[5], 9);
    EXPECT_EQ(reloaded.Working_folder, QDir::toNativeSeparators(Folder(8)) + QDir::separator());

    op.answers << Answer::Cancel;
    EXPECT_EQ(NewProject(state.project, state.services), ProjectActionResult::Cancelled);
    EXPECT_EQ(op.shown.size(), 3);
}

TEST_F(ProjectActionsTest, SaveAnsweredNoLeavesTheProjectsFilesAlone)
{
    const QByteArray before = ReadAll(File(3, "setup.dat"));
    state.project.setup.Aq_lapse = 90;
    op.answers << Answer::No;
    op.replies << QStringLiteral("copy");
    EXPECT_EQ(SaveProjectAction(state.project, state.services), ProjectActionResult::Done);
    EXPECT_EQ(op.shown[0].text, QStringLiteral("Do you like to Update <3_larvae> values?"));
    EXPECT_EQ(op.shown[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(op.shown[1].title, QStringLiteral("Saving <3_larvae> with a new name"));
    EXPECT_EQ(ReadAll(File(3, "setup.dat")), before);
    EXPECT_FALSE(QFile::exists(File(3, "setup.bak")));
    EXPECT_EQ(Reload(8).Aq_lapse, 90);
}

TEST_F(ProjectActionsTest, AnExistingFolderIsOnlyOverwrittenWhenTheOperatorSaysSo)
{
    QDir().mkpath(Folder(8));
    op.answers << Answer::Ok << Answer::No;
    op.replies << QStringLiteral("x");
    EXPECT_EQ(NewProject(state.project, state.services), ProjectActionResult::Cancelled);
    EXPECT_EQ(op.shown.last().text,
              QStringLiteral("The project number to generate (p00008already exists. do you like to overwrite?"));
    EXPECT_EQ(state.project.config.Last_Project, 8); // the number is used up
    EXPECT_EQ(state.project.setup.Num_proj, 3);
    EXPECT_FALSE(QFile::exists(File(8, "setup.dat")));
    EXPECT_EQ(ConfigLine(), "3,7,4,0\r");
}

TEST_F(ProjectActionsTest, RenameChangesTheNameInMemoryOnly)
{
    const QByteArray before = ReadAll(File(3, "setup.dat"));
    op.replies << QStringLiteral("adults") << QString();
    EXPECT_EQ(RenameProject(state.project, state.services), ProjectActionResult::Done);
    EXPECT_EQ(op.shown[0].text, QStringLiteral("Rename Project: Entre New Name"));
    EXPECT_EQ(ProjectTitle(state.project), QStringLiteral("3_adults"));
    EXPECT_EQ(ReadAll(File(3, "setup.dat")), before);
    EXPECT_EQ(RenameProject(state.project, state.services), ProjectActionResult::Cancelled); // an empty answer
    EXPECT_EQ(state.project.setup.Name, QStringLiteral("adults"));

    op.clear();
    state.project.setup.Num_proj = 0;
    EXPECT_EQ(RenameProject(state.project, state.services), ProjectActionResult::Cancelled);
    EXPECT_EQ(op.texts(),
              QStringList{QStringLiteral("Not possible to rename the Default project. Save it with another Name")});
}

TEST_F(ProjectActionsTest, LoadListsProjectFoldersAndLoadsTheChosenOne)
{
    ProjectSetup twelve;
    twelve.Name = QStringLiteral("zebrafish");
    twelve.Plate_format = QStringLiteral("w384");
    QDir().mkpath(Folder(12));
    SaveProject(twelve, Folder(12));
    QDir(app).mkdir(QStringLiteral("pixels"));
    QDir(app).mkdir(QStringLiteral("p99999"));
    QFile(QDir(app).filePath(QStringLiteral("p00020"))).open(QIODevice::WriteOnly); // a file, not a folder
    EXPECT_EQ(ProjectEntries(app), (QStringList{QStringLiteral("p00003"), QStringLiteral("p00012")}));

    // Cancel stops the load, Yes saves first.
    op.answers << Answer::Cancel << Answer::Yes;
    EXPECT_FALSE(PrepareProjectLoad(state.project, state.services));
    state.project.setup.Aq_lapse = 75;
    EXPECT_TRUE(PrepareProjectLoad(state.project, state.services));
    EXPECT_EQ(op.shown[1].text, QStringLiteral("Do you like to save current values before new load?"));
    EXPECT_EQ(Reload(3).Aq_lapse, 75);

    ASSERT_TRUE(LoadProjectEntry(state.project, state.services, QStringLiteral("p00012")));
    EXPECT_EQ(ConfigLine(), "12,7,4,0\r");
    EXPECT_FALSE(LoadProjectEntry(state.project, state.services, QStringLiteral("p00044")));
    EXPECT_EQ(state.project.setup.Num_proj, 12);
}

TEST_F(ProjectActionsTest, AFailedSaveIsReportedAndStopsTheLoad)
{
    // A folder where setup.dat should be makes every write of it fail.
    QFile::remove(File(3, "setup.dat"));
    ASSERT_TRUE(QDir().mkpath(File(3, "setup.dat")));
    op.answers << Answer::Yes << Answer::Ok << Answer::Yes;
    EXPECT_FALSE(PrepareProjectLoad(state.project, state.services));
    ASSERT_EQ(op.shown.size(), 2);
    EXPECT_TRUE(op.shown[1].text.startsWith(QStringLiteral("<Error Saving Project Files> ")));
    EXPECT_EQ(SaveProjectAction(state.project, state.services), ProjectActionResult::Failed);
}
