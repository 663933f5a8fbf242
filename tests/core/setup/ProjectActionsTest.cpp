#include "core/setup/ProjectActions.h"

#include "core/AppState.h"
#include "core/storage/ConfigFile.h"
#include "core/storage/ProjectFiles.h"
#include "support/Files.h"
#include "support/ScriptedOperator.h"
#include "support/TestClock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using bandora::test::ReadAll;

namespace {

class ProjectActionsTest : public ::testing::Test {
protected:
    ProjectActionsTest()
    {
        // Project 3 is current, seven projects have been handed out.
        state.config = ProgramConfig{3, 7, 4, 0};
        state.project.Num_proj = 3;
        state.project.Name = QStringLiteral("larvae");
        state.projectFolder = Folder(3);
        QDir().mkpath(state.projectFolder);
        SaveProject(state.project, state.projectFolder);
        SaveConfig(app, state.config, op);
    }

    QString Folder(int n) const { return QDir(app).filePath(ProjectFolderName(n)); }
    QString File(int n, const char* name) const { return QDir(Folder(n)).filePath(QLatin1String(name)); }
    ProgramConfig StoredConfig()
    {
        ProgramConfig c;
        LoadConfig(app, c, op);
        return c;
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
    EXPECT_EQ(NextProjectNumber(32767), 1);
    EXPECT_EQ(NextProjectNumber(-3), 1);
}

TEST_F(ProjectActionsTest, NewCreatesTheNextProjectWithTheCurrentValues)
{
    state.project.Aq_lapse = 720;
    state.project.ChannelGroup[5] = 9;
    op.answers.clear();
    op.answers << Answer::Ok;
    op.replies.clear();
    op.replies << QStringLiteral("Larvae test");
    EXPECT_EQ(NewProject(state), ProjectActionResult::Done);

    ASSERT_EQ(op.shown.size(), 2);
    EXPECT_EQ(op.shown[0].text, QStringLiteral("Do you like to Create a New Project?"));
    EXPECT_EQ(op.shown[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(op.shown[1].text, QStringLiteral("Enter the New Project Name"));
    EXPECT_EQ(op.shown[1].title, QStringLiteral("Saving <8> with a new name"));
    EXPECT_EQ(ProjectTitle(state), QStringLiteral("8_Larvae test"));
    EXPECT_EQ(state.projectFolder, Folder(8));
    EXPECT_EQ(StoredConfig(), (ProgramConfig{8, 8, 4, 0}));

    ProjectSetup reloaded;
    reloaded.Num_proj = 8;
    PlateFormat plate;
    LoadProject(reloaded, plate, ProjectContext{app, Folder(8), &op, {}});
    EXPECT_EQ(reloaded.Name, QStringLiteral("Larvae test"));
    EXPECT_EQ(reloaded.Aq_lapse, 720);
    EXPECT_EQ(reloaded.ChannelGroup[5], 9);
    EXPECT_EQ(reloaded.Working_folder, QDir::toNativeSeparators(Folder(8)) + QDir::separator());

    op.clear();
    op.answers.clear();
    op.answers << Answer::Cancel;
    EXPECT_EQ(NewProject(state), ProjectActionResult::Cancelled);
    EXPECT_EQ(op.shown.size(), 1);
    EXPECT_EQ(state.config.Last_Project, 8);
}

TEST_F(ProjectActionsTest, SaveAnsweredNoLeavesTheProjectsFilesAlone)
{
    const QByteArray before = ReadAll(File(3, "setup.dat"));
    state.project.Aq_lapse = 90;
    op.answers.clear();
    op.answers << Answer::No;
    op.replies.clear();
    op.replies << QStringLiteral("copy");
    EXPECT_EQ(SaveProjectAction(state), ProjectActionResult::Done);
    EXPECT_EQ(op.shown[0].text, QStringLiteral("Do you like to Update <3_larvae> values?"));
    EXPECT_EQ(op.shown[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(op.shown[1].title, QStringLiteral("Saving <3_larvae> with a new name"));
    EXPECT_EQ(ReadAll(File(3, "setup.dat")), before);
    EXPECT_FALSE(QFile::exists(File(3, "setup.bak")));
    EXPECT_TRUE(ReadAll(File(8, "setup.dat")).contains("\r\n1,90,"));
    EXPECT_EQ(state.project.Num_proj, 8);

    // Yes writes the current project, keeping the previous setup.dat as setup.bak.
    op.clear();
    op.answers.clear();
    op.answers << Answer::Yes;
    state.project.Aq_lapse = 45;
    const QByteArray saved8 = ReadAll(File(8, "setup.dat"));
    EXPECT_EQ(SaveProjectAction(state), ProjectActionResult::Done);
    EXPECT_EQ(ReadAll(File(8, "setup.bak")), saved8);
    EXPECT_TRUE(ReadAll(File(8, "setup.dat")).contains("\r\n1,45,"));

    op.clear();
    op.answers.clear();
    op.answers << Answer::Cancel;
    EXPECT_EQ(SaveProjectAction(state), ProjectActionResult::Cancelled);
    EXPECT_EQ(op.shown.size(), 1);
}

TEST_F(ProjectActionsTest, AnExistingFolderIsOnlyOverwrittenWhenTheOperatorSaysSo)
{
    QDir().mkpath(Folder(8));
    op.answers.clear();
    op.answers << Answer::Ok << Answer::No;
    op.replies.clear();
    op.replies << QStringLiteral("x");
    EXPECT_EQ(NewProject(state), ProjectActionResult::Cancelled);
    EXPECT_EQ(op.shown.last().text,
              QStringLiteral("The project number to generate (p00008already exists. do you like to overwrite?"));
    EXPECT_EQ(op.shown.last().buttons, Buttons::YesNo);
    EXPECT_EQ(state.config.Last_Project, 8); // the number is used up
    EXPECT_EQ(state.project.Num_proj, 3);
    EXPECT_FALSE(QFile::exists(File(8, "setup.dat")));
    EXPECT_EQ(StoredConfig(), (ProgramConfig{3, 7, 4, 0}));

    op.clear();
    state.config.Last_Project = 32000;
    op.answers.clear();
    op.answers << Answer::Ok << Answer::Yes;
    op.replies.clear();
    op.replies << QStringLiteral("wrapped");
    QDir().mkpath(Folder(1));
    EXPECT_EQ(NewProject(state), ProjectActionResult::Done);
    EXPECT_EQ(op.shown[1].title, QStringLiteral("Saving <1> with a new name"));
    EXPECT_EQ(state.project.Num_proj, 1);
    EXPECT_TRUE(QFile::exists(File(1, "setup.dat")));
    EXPECT_EQ(StoredConfig(), (ProgramConfig{1, 1, 4, 0}));
}

TEST_F(ProjectActionsTest, TypedNamesCannotBreakTheProjectFiles)
{
    op.answers.clear();
    op.answers << Answer::Ok;
    op.replies.clear();
    op.replies << QStringLiteral("say \"hi\"\r\nthere, now");
    ASSERT_EQ(NewProject(state), ProjectActionResult::Done);
    EXPECT_EQ(state.project.Name, QStringLiteral("say 'hi'  there, now"));

    ProjectSetup reloaded;
    reloaded.Num_proj = 8;
    PlateFormat plate;
    op.clear();
    LoadProject(reloaded, plate, ProjectContext{app, Folder(8), &op, {}});
    EXPECT_EQ(reloaded.Name, state.project.Name);
    EXPECT_EQ(reloaded.Aq_lapse, state.project.Aq_lapse);
    EXPECT_FALSE(op.texts().join(' ').contains(QStringLiteral("setup.dat"))) << op.texts().join('\n').toStdString();
}

TEST_F(ProjectActionsTest, RenameChangesTheNameInMemoryOnly)
{
    const QByteArray before = ReadAll(File(3, "setup.dat"));
    op.replies.clear();
    op.replies << QStringLiteral("adults");
    EXPECT_EQ(RenameProject(state), ProjectActionResult::Done);
    EXPECT_EQ(op.shown[0].text, QStringLiteral("Rename Project: Entre New Name"));
    EXPECT_EQ(ProjectTitle(state), QStringLiteral("3_adults"));
    EXPECT_EQ(ReadAll(File(3, "setup.dat")), before);

    op.replies.clear();
    op.replies << QString();
    EXPECT_EQ(RenameProject(state), ProjectActionResult::Cancelled);
    EXPECT_EQ(state.project.Name, QStringLiteral("adults"));

    op.clear();
    state.project.Num_proj = 0;
    EXPECT_EQ(RenameProject(state), ProjectActionResult::Cancelled);
    EXPECT_EQ(op.texts(),
              QStringList{QStringLiteral("Not possible to rename the Default project. Save it with another Name")});
}

TEST_F(ProjectActionsTest, LoadListsProjectFoldersAndLoadsTheChosenOne)
{
    ProjectSetup twelve;
    twelve.Num_proj = 12;
    twelve.Name = QStringLiteral("zebrafish");
    twelve.Plate_format = QStringLiteral("w384");
    twelve.Aq_lapse = 1440;
    QDir().mkpath(Folder(12));
    SaveProject(twelve, Folder(12));
    QDir(app).mkdir(QStringLiteral("pixels"));
    QDir(app).mkdir(QStringLiteral("p99999"));
    QFile(QDir(app).filePath(QStringLiteral("p00020"))).open(QIODevice::WriteOnly); // a file, not a folder

    EXPECT_EQ(ProjectEntries(app), (QStringList{QStringLiteral("p00003"), QStringLiteral("p00012")}));

    // Cancel stops the load, Yes saves first.
    op.answers.clear();
    op.answers << Answer::Cancel;
    EXPECT_FALSE(PrepareProjectLoad(state));
    op.clear();
    state.project.Aq_lapse = 75;
    op.answers.clear();
    op.answers << Answer::Yes;
    EXPECT_TRUE(PrepareProjectLoad(state));
    EXPECT_EQ(op.texts(), QStringList{QStringLiteral("Do you like to save current values before new load?")});
    EXPECT_TRUE(ReadAll(File(3, "setup.dat")).contains("\r\n1,75,"));

    op.clear();
    ASSERT_TRUE(LoadProjectEntry(state, QStringLiteral("p00012")));
    EXPECT_EQ(state.project.Num_proj, 12);
    EXPECT_EQ(ProjectTitle(state), QStringLiteral("12_zebrafish"));
    EXPECT_EQ(state.project.Aq_lapse, 1440);
    EXPECT_EQ(state.projectFolder, Folder(12));
    EXPECT_EQ(state.plate.Rows, 16); // the built-in 384-well map: no plate files here
    EXPECT_EQ(ReadAll(QDir(app).filePath(QStringLiteral("config.dat"))).split('\n').value(1), "12,7,4,0\r");
    EXPECT_FALSE(LoadProjectEntry(state, QString()));
    EXPECT_FALSE(LoadProjectEntry(state, QStringLiteral("p00044")));
    EXPECT_EQ(state.project.Num_proj, 12);
}

TEST_F(ProjectActionsTest, AFailedSaveIsReportedAndStopsTheLoad)
{
    // A folder where setup.dat should be makes every write of it fail.
    QFile::remove(File(3, "setup.dat"));
    ASSERT_TRUE(QDir().mkpath(File(3, "setup.dat")));
    op.answers.clear();
    op.answers << Answer::Yes;
    EXPECT_FALSE(PrepareProjectLoad(state));
    ASSERT_EQ(op.shown.size(), 2);
    EXPECT_TRUE(op.shown[1].text.startsWith(QStringLiteral("<Error Saving Project Files> "))) << op.shown[1].text.toStdString();

    op.clear();
    op.answers.clear();
    op.answers << Answer::Yes;
    EXPECT_EQ(SaveProjectAction(state), ProjectActionResult::Failed);
}
