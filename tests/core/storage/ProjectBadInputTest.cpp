#include "ProjectFolderFixture.h"

#include "core/storage/ChannelTableFiles.h"

#include <QFile>

#include <algorithm>
#include <vector>

using namespace bandora;
using namespace bandora::test;

namespace {

// Bytes with no digit, blank, comma or quote in them, cut into lines.
QByteArray Garbage()
{
    QByteArray g;
    for (int i = 0; i < 4000; ++i)
        g.append(i % 61 == 60 ? '\n' : static_cast<char>(i % 3 == 0 ? (i * 37) % 9 : 0x80 + (i * 53) % 128));
    return g;
}

struct BadFile {
    const char* what;
    QByteArray content;
    int step; // the ID# of a setup.dat failure; 0: read without a message
};

void LoadAll(ProjectSetup& p, const ProjectContext& ctx)
{
    LoadSetupFile(p, ctx);
    LoadChannelEnabled(p, ctx);
    LoadChannelThresholds(p, ctx);
    LoadGroupNames(p, ctx);
    LoadChannelGroups(p, ctx);
}

} // namespace

TEST_F(ProjectFolderTest, DamagedSetupFileNeverStopsTheLoad)
{
    const QByteArray good = SetupBytes(Distinct(1));
    auto replaced = [&](const char* from, const QByteArray& to) {
        QByteArray b = good;
        EXPECT_TRUE(b.contains(from)) << from;
        return b.replace(from, to);
    };
    const BadFile cases[] = {
        {"empty", QByteArray(), 1},
        {"cut in line 4", FirstLines(good, 3) + "2,14", 1},
        {"cut after line 12", FirstLines(good, 12), 0},
        {"garbage", Garbage(), 1},
        {"NUL bytes", QByteArray(300, '\0').replace(50, 1, "\n").replace(100, 1, "\n\n\n\n\n\n"), 1},
        {"a megabyte line", replaced("2,1440,", "2," + QByteArray(1 << 20, '7') + ","), 2},
        {"a missing field", replaced("0,150,70,2,0,0", "0,150,70,2,0"), 3},
        {"extra fields", replaced("0,1,1,4,5,6", "0,1,1,4,5,6,7,\"x\""), 0},
        {"text for a number", replaced("10,11,12", "10,eleven,12"), 5},
        {"beyond 16 bits", replaced("60,61,62", "60,61,65536"), 10},
        {"larger than any setup", good + QByteArray(17 << 20, '\n'), 1},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.what);
        op.clear();
        SaveProject(Distinct(1), Context(1).projectFolder);
        QFile::remove(File(1, "setup.bak")); // nothing to restore from: the defaults answer
        WriteAll(File(1, "setup.dat"), c.content);
        ProjectSetup p = Distinct(1);
        p.Name = QStringLiteral("before");
        LoadAll(p, Context(1));
        if (c.step == 0) {
            EXPECT_TRUE(op.texts().isEmpty()) << op.texts().join('|').toStdString();
            EXPECT_EQ(p.Name, Distinct(1).Name);
        } else {
            EXPECT_EQ(op.texts(),
                      QStringList({QStringLiteral("Error [\\p00001\\setup.dat] ID#%1 => Loading default values...")
                                       .arg(c.step),
                                   "Warning!! PLEASE Re-Check setup values before RUN"}));
            EXPECT_EQ(p.Name, c.step == 1 ? QStringLiteral("Default") : Distinct(1).Name);
            EXPECT_EQ(p.MenuParam[6], ProjectSetup::DefaultMenuParam()[6]);
        }
        const QString label = ReadProjectHeader(Folder(1), 1, op);
        EXPECT_TRUE(label.startsWith(QStringLiteral("<Project> p00001: "))) << label.left(80).toStdString();
    }
}

TEST_F(ProjectFolderTest, DamagedTableFilesNeverStopTheLoad)
{
    struct Table {
        const char* name;
        QByteArray header;
        QString fallback;
        std::function<bool(const ProjectSetup&)> isDefault;
    };
    const ProjectSetup d;
    // The defaults cover the 384 channels; the spare entry is left alone.
    auto same = [](const auto& a, const auto& b) { return std::equal(a.begin(), a.begin() + kChannels, b.begin()); };
    const Table tables[] = {
        {"status.dat", "\"<Channel>, <Enabled>\"\r\n", "Loading default values...",
         [&](const ProjectSetup& p) { return same(p.ChannelEnabled, d.ChannelEnabled); }},
        {"threshld.dat", "\"<Channel>, <Threshold>\"\r\n", "Loading default values...",
         [&](const ProjectSetup& p) { return same(p.ChannelThreshold, d.ChannelThreshold); }},
        {"groups.dat", "\"<Group_Number>, <Group_Name>\"\r\n", "Loading default groups...",
         [&](const ProjectSetup& p) { return same(p.GroupName, d.GroupName); }},
        {"chgroup.dat", "\"<Channel>, <Group: -1=Free>\"\r\n", "Loading default groups...",
         [&](const ProjectSetup& p) { return same(p.ChannelGroup, d.ChannelGroup); }},
    };
    for (const Table& t : tables) {
        SaveProject(Distinct(1), Context(1).projectFolder);
        const QByteArray good = ReadAll(File(1, t.name));
        std::vector<BadFile> cases = {
            {"empty", QByteArray(), 1},
            {"cut in a record", t.header + "0,0\r\n1", 1},
            {"garbage", Garbage(), 1},
            {"a megabyte line", t.header + "0,0\r\n" + QByteArray(1 << 20, '7') + ",0\r\n", 1},
            {"a missing field", t.header + "0,0\r\n1\r\n2,0\r\n", 1},
            {"text for a number", t.header + "zero,0\r\n", 1},
            {"beyond 16 bits", t.header + "0,0\r\n65536,0\r\n", 1},
            {"extra fields", t.header + "0,0,9,\"x\"\r\n1,0,\r\n", 1},
            {"only the header", t.header, 0},
        };
        // A record lost, doubled, swapped or widened would shift every later channel.
        for (const auto& [what, damage] : kLineDamages)
            cases.push_back({what, damage(good), 1});
        for (const BadFile& c : cases) {
            SCOPED_TRACE(std::string(t.name) + ": " + c.what);
            op.clear();
            SaveProject(Distinct(1), Context(1).projectFolder);
            WriteAll(File(1, t.name), c.content);
            ProjectSetup p = Distinct(1);
            p.ChannelEnabled.fill(false);
            p.ChannelThreshold.fill(0.5);
            p.GroupName.fill(QStringLiteral("x"));
            p.ChannelGroup.fill(2);
            LoadAll(p, Context(1));
            if (c.step == 0) {
                EXPECT_TRUE(op.texts().isEmpty()) << op.texts().join('|').toStdString();
                EXPECT_FALSE(t.isDefault(p));
            } else {
                EXPECT_EQ(op.texts(), QStringList({QStringLiteral("Error [\\p0001\\%1] => %2")
                                                       .arg(QLatin1String(t.name), t.fallback)}));
                EXPECT_TRUE(t.isDefault(p));
            }
        }
    }

    // Statuses beyond 16 bits and group numbers that name no group slot.
    const std::pair<const char*, QByteArray> values[] = {
        {"status.dat", "\"<Channel>, <Enabled>\"\r\n0,40000\r\n"},
        {"chgroup.dat", "\"<Channel>, <Group: -1=Free>\"\r\n0,384\r\n"},
        {"chgroup.dat", "\"<Channel>, <Group: -1=Free>\"\r\n0,-2\r\n"},
    };
    for (const auto& [name, content] : values) {
        op.clear();
        SaveProject(Distinct(1), Context(1).projectFolder);
        WriteAll(File(1, name), content);
        ProjectSetup p;
        p.Num_proj = 1;
        LoadChannelEnabled(p, Context(1));
        LoadChannelGroups(p, Context(1));
        EXPECT_EQ(op.texts().size(), 1) << content.toStdString();
    }
}
