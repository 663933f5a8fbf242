// Damaged and hostile files: a table or plate file whose lines were lost,
// doubled, swapped, widened or joined by CR-only line ends is refused with its
// message, never read with every later channel shifted; special files never
// block a read; output names never reach outside their folder or through a link.

#include "ProjectFolderFixture.h"

#include "core/storage/ChannelTableFiles.h"
#include "core/storage/OutputFile.h"
#include "core/storage/PlateFiles.h"
#include "core/storage/WorkingFolder.h"

#include <QFile>

#include <sys/stat.h>

using namespace bandora;
using namespace bandora::test;

namespace {

struct Damage {
    const char* what;
    std::function<QByteArray(QByteArray)> apply;
};

QByteArray SwapLines(QByteArray b, int i, int j)
{
    QList<QByteArray> lines = b.split('\n');
    lines.swapItemsAt(i, j);
    return lines.join('\n');
}

QByteArray DropLine(QByteArray b, int i)
{
    QList<QByteArray> lines = b.split('\n');
    lines.removeAt(i);
    return lines.join('\n');
}

QByteArray DoubleLine(QByteArray b, int i)
{
    QList<QByteArray> lines = b.split('\n');
    lines.insert(i, lines[i]);
    return lines.join('\n');
}

QByteArray WidenLine(QByteArray b, int i)
{
    QList<QByteArray> lines = b.split('\n');
    lines[i].insert(lines[i].size() - 1, ",7"); // before the CR
    return lines.join('\n');
}

// The ways a table or plate file turns up damaged; line 10 is a channel record
// in either.
const Damage kDamages[] = {
    {"a line lost", [](QByteArray b) { return DropLine(b, 10); }},
    {"a line doubled", [](QByteArray b) { return DoubleLine(b, 10); }},
    {"two lines swapped", [](QByteArray b) { return SwapLines(b, 10, 11); }},
    {"a field too many", [](QByteArray b) { return WidenLine(b, 10); }},
    {"CR-only line ends", [](QByteArray b) { return b.replace("\r\n", "\r"); }},
};

} // namespace

TEST_F(ProjectFolderTest, ShiftedTableIsRefusedNotReadAskew)
{
    struct Table {
        const char* file;
        void (*load)(ProjectSetup&, const ProjectContext&);
        const char* fallback;
    };
    const Table tables[] = {
        {"status.dat", LoadChannelEnabled, "Loading default values..."},
        {"threshld.dat", LoadChannelThresholds, "Loading default values..."},
        {"groups.dat", LoadGroupNames, "Loading default groups..."},
        {"chgroup.dat", LoadChannelGroups, "Loading default groups..."},
    };
    ProjectSetup saved = Distinct(1);
    for (int ch = 0; ch < kChannels; ++ch) {
        saved.ChannelEnabled[ch] = ch % 3 != 0;
        saved.ChannelThreshold[ch] = 1.0 + ch % 7;
        saved.GroupName[ch] = QStringLiteral("g%1").arg(ch);
        saved.ChannelGroup[ch] = qint16(ch % 5);
    }
    SaveProject(saved, Context(1).projectFolder);
    for (const Table& t : tables) {
        const QByteArray good = ReadAll(File(1, t.file));
        for (const Damage& d : kDamages) {
            SCOPED_TRACE(std::string(t.file) + ": " + d.what);
            WriteAll(File(1, t.file), d.apply(good));
            op.clear();
            ProjectSetup p = saved;
            t.load(p, Context(1));
            EXPECT_EQ(op.texts(), QStringList{QStringLiteral("Error [\\p0001\\%1] => %2").arg(t.file, t.fallback)});
        }
        WriteAll(File(1, t.file), good);
    }
}

TEST_F(ProjectFolderTest, ShiftedPlateFileIsRefused)
{
    const QByteArray good = ReadAll(QDir(QStringLiteral(BANDORA_DATA_DIR)).filePath(QStringLiteral("w48.dat")));
    const QString path = QDir(app).filePath(QStringLiteral("w48.dat"));
    for (const Damage& d : kDamages) {
        SCOPED_TRACE(d.what);
        WriteAll(path, d.apply(good));
        PlateFormat plate;
        EXPECT_TRUE(LoadPlateFileNoFallback(path, plate).has_value());
    }
    WriteAll(path, good);
    PlateFormat plate;
    EXPECT_FALSE(LoadPlateFileNoFallback(path, plate).has_value());
}

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
