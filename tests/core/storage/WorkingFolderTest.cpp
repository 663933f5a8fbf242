#include "core/storage/WorkingFolder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;

TEST(WorkingFolder, ProjectFolderWhenItExistsElseTheProgramFolderAsProjectZero)
{
    QTemporaryDir app;
    ASSERT_TRUE(QDir(app.path()).mkdir(QStringLiteral("p00012")));

    ProgramConfig config;
    config.Actual_Project_Number = 12;
    EXPECT_EQ(DecideProjectFolder(app.path() + QStringLiteral("/"), config),
              QDir(app.path()).filePath(QStringLiteral("p00012")));
    EXPECT_EQ(config.Actual_Project_Number, 12);

    config.Actual_Project_Number = 13;
    EXPECT_EQ(DecideProjectFolder(app.path(), config), QDir::cleanPath(app.path()));
    EXPECT_EQ(config.Actual_Project_Number, 0);
    EXPECT_FALSE(QDir(app.path()).exists(QStringLiteral("p00013")));

    // Folder p00000 is never a project folder: project 0 lives in the program folder.
    ASSERT_TRUE(QDir(app.path()).mkdir(QStringLiteral("p00000")));
    config.Actual_Project_Number = 0;
    EXPECT_EQ(DecideProjectFolder(app.path(), config), QDir::cleanPath(app.path()));
}
