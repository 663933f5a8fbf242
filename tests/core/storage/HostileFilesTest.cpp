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

// Line 10 of the file, a channel record in a table or plate file, edited.
QByteArray EditLine(const QByteArray& b, const std::function<void(QList<QByteArray>&)>& edit)
{
    QList<QByteArray> lines = b.split('\n');
    edit(lines);
    return lines.join('\n');
}

const std::pair<const char*, std::function<QByteArray(const QByteArray&)>> kDamages[] = {
    {"a line lost", [](const QByteArray& b) { return EditLine(b, [](auto& l) { l.removeAt(10); }); }},
    {"a line doubled", [](const QByteArray& b) { return EditLine(b, [](auto& l) { l.insert(10, l[10]); }); }},
    {"two lines swapped", [](const QByteArray& b) { return EditLine(b, [](auto& l) { l.swapItemsAt(10, 11); }); }},
    {"a field too many", [](const QByteArray& b) { return EditLine(b, [](auto& l) { l[10].insert(l[10].size() - 1, ",7"); }); }},
    {"CR-only line ends", [](const QByteArray& b) { return QByteArray(b).replace("\r\n", "\r"); }},
};

} // namespace

TEST_F(ProjectFolderTest, ShiftedTableIsRefusedNotReadAskew)
{
    const std::pair<const char*, void (*)(ProjectSetup&, const ProjectContext&)> tables[] = {
        {"status.dat", LoadChannelEnabled},
        {"threshld.dat", LoadChannelThresholds},
        {"groups.dat", LoadGroupNames},
        {"chgroup.dat", LoadChannelGroups},
    };
    SaveProject(Distinct(1), Context(1).projectFolder);
    for (const auto& [file, load] : tables) {
        const QByteArray good = ReadAll(File(1, file));
        for (const auto& [what, damage] : kDamages) {
            SCOPED_TRACE(std::string(file) + ": " + what);
            WriteAll(File(1, file), damage(good));
            op.clear();
            ProjectSetup p = Distinct(1);
            load(p, Context(1));
            ASSERT_EQ(op.texts().size(), 1);
            EXPECT_TRUE(op.texts()[0].startsWith(QStringLiteral("Error [\\p0001\\%1] => ").arg(file)));
        }
        WriteAll(File(1, file), good);
    }
}

TEST_F(ProjectFolderTest, ShiftedPlateFileIsRefused)
{
    const QByteArray good = ReadAll(QDir(QStringLiteral(BANDORA_DATA_DIR)).filePath(QStringLiteral("w48.dat")));
    const QString path = QDir(app).filePath(QStringLiteral("w48.dat"));
    for (const auto& [what, damage] : kDamages) {
        SCOPED_TRACE(what);
        WriteAll(path, damage(good));
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
