#include "ProjectFolderFixture.h"

#include <QFile>
#include <QFileInfo>

using namespace bandora;
using namespace bandora::test;

TEST_F(ProjectFolderTest, ProjectHeaderLabelRecoversAShortSetupFile)
{
    QDir().mkpath(Folder(4));
    // From setup.bak.
    ProjectSetup backup = Distinct(4);
    backup.Name = QStringLiteral("from backup");
    WriteAll(File(4, "setup.bak"), FirstLines(SetupBytes(backup), 6));
    WriteAll(File(4, "setup.dat"), FirstLines(SetupBytes(Distinct(4)), 5));
    EXPECT_EQ(ReadProjectHeader(Folder(4), 4, op), QStringLiteral("<Project> p00004: from backup"));
    EXPECT_EQ(op.texts(), QStringList({"Error reading Setup.dat -> recovered from Setup.bak"}));
    EXPECT_EQ(CountLines(File(4, "setup.dat")), 6);

    // A setup.bak too short to help counts as none: the newest experiment
    // folder with six lines or more is used.
    op.clear();
    ProjectSetup run = Distinct(4);
    run.Name = QStringLiteral("from the run");
    WriteAll(File(4, "setup.bak"), "\"Project Setup\"\r\n");
    WriteAll(File(4, "setup.dat"), "");
    WriteAll(QDir(Folder(4)).filePath("02032021_0815/setup.dat"), FirstLines(SetupBytes(run), 6));
    WriteAll(QDir(Folder(4)).filePath("01032021_0815/setup.dat"), SetupBytes(Distinct(4)));
    EXPECT_EQ(ReadProjectHeader(Folder(4), 4, op), QStringLiteral("<Project> p00004: from the run"));
    EXPECT_EQ(op.texts(), QStringList({"Error reading Setup.dat -> recovered from " +
                                       QDir::toNativeSeparators(QDir(Folder(4)).filePath("02032021_0815"))}));

    // Nothing to recover from.
    op.clear();
    QDir().mkpath(Folder(9));
    EXPECT_EQ(ReadProjectHeader(Folder(9), 9, op), QStringLiteral("<Project> p00009: SETUP NOT FOUND!!"));
    WriteAll(File(9, "setup.dat"), "\"x\"\r\n9,\"short\"\r\n");
    EXPECT_EQ(ReadProjectHeader(Folder(9), 9, op), QStringLiteral("<Project> p00009: SETUP NOT FOUND!!"));
    EXPECT_TRUE(op.texts().isEmpty());
}
