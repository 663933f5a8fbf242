// Hostile files: special files never block a read; output names never reach
// outside their folder or through a link.

#include "ProjectFolderFixture.h"

#include "core/storage/OutputFile.h"
#include "core/storage/WorkingFolder.h"

#include <QFile>

#include <sys/stat.h>

using namespace bandora;
using namespace bandora::test;

TEST_F(ProjectFolderTest, SpecialFilesAreNeverReadNorWrittenThrough)
{
    // A FIFO named setup.dat would block the read until some writer came.
    SaveProject(Distinct(1), Context(1).projectFolder);
    QFile::remove(File(1, "setup.dat"));
    QFile::remove(File(1, "setup.bak"));
    ASSERT_EQ(mkfifo(QFile::encodeName(File(1, "setup.dat")).constData(), 0600), 0);
    ProjectSetup p = LoadedSetup(1);
    EXPECT_EQ(p.Plate_format, QStringLiteral("w96f")); // the defaults name a plate file that exists
    EXPECT_EQ(CountLines(File(1, "setup.dat")), 0);

    // A report name that is a link to a file elsewhere: the link is replaced.
    const QString victim = File(1, "victim.txt");
    WriteAll(victim, "keep");
    const QString report = File(1, "report.csv");
    ASSERT_TRUE(QFile::link(victim, report));
    QFile out(report);
    ASSERT_TRUE(OpenReplacing(out));
    out.write("report");
    out.close();
    EXPECT_EQ(ReadAll(victim), QByteArray("keep"));
    EXPECT_FALSE(QFileInfo(report).isSymLink());
    EXPECT_EQ(ReadAll(report), QByteArray("report"));
}

TEST(EntryNames, OnlyPlainNamesStayInTheirFolder)
{
    const std::pair<const char*, bool> cases[] = {
        {"05122026_1000", true}, {"w96f", true}, {"a..b", true}, {"", false},        {".", false},
        {"..", false},           {"../../x", false}, {"x/y", false}, {"..\\x", false}, {"/abs", false},
    };
    for (const auto& [name, plain] : cases)
        EXPECT_EQ(IsPlainEntryName(QString::fromLatin1(name)), plain) << name;
}
