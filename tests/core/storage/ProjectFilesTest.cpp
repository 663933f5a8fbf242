#include "ProjectFolderFixture.h"

#include "core/storage/ChannelTableFiles.h"
#include "core/storage/RecordSyntax.h"

#include <QFileInfo>

using namespace bandora;
using namespace bandora::test;

namespace {

QList<QByteArray> Lines(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.pop_back();
    return lines;
}

void LoadTables(ProjectSetup& p, const ProjectContext& ctx)
{
    LoadChannelEnabled(p, ctx);
    LoadChannelThresholds(p, ctx);
    LoadGroupNames(p, ctx);
    LoadChannelGroups(p, ctx);
}

} // namespace

TEST_F(ProjectFolderTest, SaveWritesTheFileSetAndKeepsTheBackup)
{
    ProjectSetup p = Distinct(6);
    // Names typed by the operator may hold quotes and line breaks; written
    // as they are, they would split a record or unbalance the quotes.
    p.Name = QStringLiteral("Larvae \"wild\"\r\nstrain");
    p.GroupName[0] = QStringLiteral("ctrl \"A\"\n2");
    p.GroupName[383] = QStringLiteral("last, one");
    p.ChannelThreshold[0] = 2.34567;
    p.ChannelThreshold[1] = 0.1 + 0.2;
    p.ChannelThreshold[2] = 2.3465;
    p.ChannelThreshold[384] = 9.0; // the spare entry is never written
    p.ChannelEnabled[5] = false;
    p.ChannelGroup[3] = -1;
    QDir().mkpath(Folder(6));
    SaveProject(p, Folder(6));
    EXPECT_FALSE(QFileInfo::exists(File(6, "setup.bak"))); // a first save has nothing to keep

    const QByteArray setup = ReadAll(File(6, "setup.dat"));
    // The layout of every line, as other workstations read it: quotes and line
    // breaks of names blanked, thresholds to three decimals with ties on the
    // decimal text to the even neighbour, the spare entry left out.
    for (const char* name : {"setup.dat", "status.dat", "threshld.dat", "groups.dat", "chgroup.dat"}) {
        EXPECT_EQ(ReadAll(File(6, name)), ReadAll(QStringLiteral(BANDORA_SOURCE_DIR "/tests/data/project/") + name))
            << name;
    }

    // The next save keeps the previous setup.dat as setup.bak.
    SaveProject(p, Folder(6));
    EXPECT_EQ(ReadAll(File(6, "setup.bak")), setup);
}

TEST_F(ProjectFolderTest, TablesArePlacedByOrderAndShortFilesKeepTheRest)
{
    WriteAll(File(2, "status.dat"), "\"<Channel>, <Enabled>\"\r\n0,5\r\n1,0\r\n2,0\r\n");
    WriteAll(File(2, "threshld.dat"), "\"<Channel>, <Threshold>\"\r\n0,.5\r\n1,2.34567\r\n");
    WriteAll(File(2, "groups.dat"), "\"<Group_Number>, <Group_Name>\"\r\n0,\"Mutants\"\r\n1,\"WT, control\"\r\n");
    WriteAll(File(2, "chgroup.dat"), "\"<Channel>, <Group: -1=Free>\"\r\n0,-1\r\n1,3\r\n\r\n");

    ProjectSetup p;
    p.Num_proj = 2;
    p.ChannelEnabled[3] = false;
    p.ChannelThreshold[2] = 1.25;
    p.GroupName[5] = QStringLiteral("kept");
    p.ChannelGroup[2] = 7;
    LoadTables(p, Context(2));
    EXPECT_TRUE(op.texts().isEmpty()) << op.texts().join('|').toStdString();

    EXPECT_TRUE(p.ChannelEnabled[0]);  // 5 means enabled
    EXPECT_FALSE(p.ChannelEnabled[1]);
    EXPECT_FALSE(p.ChannelEnabled[2]); // the third record
    EXPECT_FALSE(p.ChannelEnabled[3]); // after the last record: as it was
    EXPECT_TRUE(p.ChannelEnabled[4]);
    EXPECT_DOUBLE_EQ(p.ChannelThreshold[0], 0.5);
    EXPECT_DOUBLE_EQ(p.ChannelThreshold[2], 1.25);
    EXPECT_EQ(p.GroupName[1], QStringLiteral("WT, control"));
    EXPECT_EQ(p.GroupName[2], QStringLiteral("Group2"));
    EXPECT_EQ(p.GroupName[5], QStringLiteral("kept"));
    EXPECT_EQ(p.ChannelGroup[0], -1);
    EXPECT_EQ(p.ChannelGroup[1], 3);
    EXPECT_EQ(p.ChannelGroup[2], 7);

    SaveProject(p, Folder(2));
    const auto status = Lines(ReadAll(File(2, "status.dat")));
    EXPECT_EQ(status[1], "0,1\r");
    EXPECT_EQ(Lines(ReadAll(File(2, "threshld.dat")))[2], "1,2.346\r");

    // 385 records fill the spare entry too; more are ignored.
    QByteArray many = "\"<Channel>, <Threshold>\"\r\n";
    for (int i = 0; i < 400; ++i)
        many += QByteArray::number(i) + "," + QByteArray::number(i) + ".5\r\n";
    WriteAll(File(2, "threshld.dat"), many);
    LoadChannelThresholds(p, Context(2));
    EXPECT_TRUE(op.texts().isEmpty());
    EXPECT_DOUBLE_EQ(p.ChannelThreshold[383], 383.5);
    EXPECT_DOUBLE_EQ(p.ChannelThreshold[384], 384.5);
}
