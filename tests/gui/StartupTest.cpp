#include "support/ProgramRig.h"

#include "gui/FrmOffline.h"

#include "core/storage/ProjectFiles.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

bool AnyWindowVisible()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            return true;
    return false;
}

} // namespace

TEST(Startup, MissingConfigEndsBeforeAnythingIsShownOrWritten)
{
    ProgramRig h(false);
    EXPECT_EQ(h.Start(QStringLiteral("/run")), Startup::Result::MissingConfig);
    EXPECT_EQ(h.op.texts(), QStringList{QStringLiteral("Config file not found: Check correct software installation")});
    EXPECT_TRUE(h.dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    EXPECT_FALSE(AnyWindowVisible());
    EXPECT_EQ(h.instrument.searches, 0);
    EXPECT_TRUE(h.splashTexts.isEmpty());
}

TEST(Startup, OfflineStartShowsTheOfflineWindow)
{
    ProgramRig h;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    EXPECT_FALSE(h.splash->isVisible());
    // Without an instrument the offline window comes up in the main window's place.
    EXPECT_FALSE(h.main->isVisible());
    ASSERT_NE(h.main->OfflineWindow(), nullptr);
    EXPECT_TRUE(h.main->OfflineWindow()->isVisible());
    EXPECT_EQ(h.instrument.factoryReads, 0);

    // The staged program folder starts without a single message.
    EXPECT_TRUE(h.op.texts().isEmpty()) << h.op.texts().join(QLatin1Char('|')).toStdString();

    // The offline window's "Main" shows the main window.
    h.main->OfflineWindow()->cmdMain->click();
    EXPECT_TRUE(h.main->isVisible());
}

TEST(Startup, OnlineStartReadsTheFactoryCalibrationAfterResettingIt)
{
    ProgramRig h;
    h.instrument.online = true;
    ASSERT_EQ(h.Start(QString(), [&h] {
                  h.state->instrument.factory.Offset = 7.0;
                  h.state->instrument.factory.Slope = 1.0;
              }),
              Startup::Result::Running);
    EXPECT_EQ(h.instrument.factoryReads, 1);
    EXPECT_EQ(h.instrument.offsetSeenByRead, 0.0);
    EXPECT_EQ(h.instrument.slopeSeenByRead, 0.219);
}

TEST(Startup, FailureInAStageNamesTheStageAndLeavesNoWindow)
{
    ProgramRig h;
    h.instrument.failSearch = true;
    EXPECT_EQ(h.Start(), Startup::Result::Failed);
    ASSERT_FALSE(h.op.texts().isEmpty());
    EXPECT_EQ(h.op.texts().last(), QStringLiteral("Error loading INIT parameters #ERROR:5"));
    EXPECT_FALSE(AnyWindowVisible());
}

// Which switch lines are the run switch is the command line's rule (tested there).
TEST(Startup, TheRunSwitchStartsAnExperimentWithoutAQuestion)
{
    ProgramRig h;
    ASSERT_EQ(h.Start(QStringLiteral(" /Run")), Startup::Result::Running);
    // The run switch asks nothing: the first word is project 0's refusal.
    EXPECT_EQ(h.op.texts(), QStringList{QStringLiteral("Operation not allowed in Project #0:Default. Go to <Setup> "
                                                       "and Save it with another name")});
    EXPECT_EQ(h.state->run.ExperimentName, QStringLiteral("Autorun project"));
}

TEST(Startup, TheProjectFolderComesFromTheCurrentProject)
{
    ProgramRig h;
    ProjectSetup p;
    p.Num_proj = 3;
    p.Name = QStringLiteral("larvae");
    p.Plate_format = QStringLiteral("w96f");
    const QString folder = h.dir.filePath(QStringLiteral("p00003"));
    ASSERT_TRUE(QDir().mkpath(folder));
    SaveProject(p, folder);
    h.WriteConfig("3,5,4,0");

    ASSERT_EQ(h.Start(), Startup::Result::Running);
    EXPECT_EQ(QDir(h.state->project.folder), QDir(folder));
    EXPECT_EQ(Child<QLineEdit>(*h.main, "txt_projecto")->text(), QStringLiteral("3_larvae"));
}
