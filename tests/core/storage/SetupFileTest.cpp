#include "ProjectFolderFixture.h"

#include <QFileInfo>

using namespace bandora;
using namespace bandora::test;

namespace {

const QString kCheckAgain = QStringLiteral("Warning!! PLEASE Re-Check setup values before RUN");

void ExpectSettingsOf(const ProjectSetup& got, const ProjectSetup& want)
{
    EXPECT_EQ(got.Name, want.Name);
    EXPECT_EQ(got.Working_folder, want.Working_folder);
    EXPECT_EQ(got.Plate_format, want.Plate_format);
    EXPECT_EQ(got.Aq_lapse, want.Aq_lapse);
    EXPECT_EQ(got.RT_Buffer, want.RT_Buffer);
    EXPECT_EQ(got.DSP_Interval, want.DSP_Interval);
    EXPECT_EQ(got.Threshold_Counter, want.Threshold_Counter);
    EXPECT_EQ(got.Save_real, want.Save_real);
}

void ExpectToolsOf(const ProjectSetup& got, const ProjectSetup& want)
{
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(got.Menu(k), want.Menu(k)) << "Menu" << k;
    EXPECT_EQ(got.MenuParam, want.MenuParam);
}

} // namespace

TEST_F(ProjectFolderTest, SetupFileWithoutToolLinesKeepsTheToolValues)
{
    const ProjectSetup file = Distinct(2);
    const QByteArray full = SetupBytes(file);
    for (int lines = 6; lines <= 20; ++lines) {
        WriteAll(File(2, "setup.dat"), FirstLines(full, lines));
        const ProjectSetup p = LoadedSetup(2); // the defaults stand for "what was loaded before"
        SCOPED_TRACE(lines);
        EXPECT_TRUE(op.texts().isEmpty()) << op.texts().join('|').toStdString();
        ExpectSettingsOf(p, file);
        ExpectToolsOf(p, lines == 20 ? file : ProjectSetup());
    }
}

TEST_F(ProjectFolderTest, MissingSetupFileIsRestoredFromTheBackup)
{
    const ProjectSetup saved = Distinct(3);
    const QByteArray backup = SetupBytes(saved);
    WriteAll(File(3, "setup.bak"), backup);

    const ProjectSetup p = LoadedSetup(3);
    EXPECT_EQ(op.texts(), QStringList({"Error [\\p00003\\setup.dat] ID#1 => Loading values from: p00003\\", kCheckAgain}));
    EXPECT_EQ(ReadAll(File(3, "setup.dat")), backup);
    ExpectSettingsOf(p, saved);
    ExpectToolsOf(p, saved);
}

TEST_F(ProjectFolderTest, RestoreTakesTheNewestExperimentFolderWithEnoughLines)
{
    ProjectSetup older = Distinct(3);
    older.Name = QStringLiteral("older run");
    ProjectSetup newer = Distinct(3);
    newer.Name = QStringLiteral("newer run");
    // Listed by name, 15012020_0900 comes first and 01022019_1030 would win on
    // its day and month; the year must decide.
    WriteAll(QDir(Folder(3)).filePath("01022019_1030/setup.dat"), SetupBytes(older));
    WriteAll(QDir(Folder(3)).filePath("15012020_0900/setup.dat"), FirstLines(SetupBytes(newer), 17));
    WriteAll(QDir(Folder(3)).filePath("31122030_2359.txt"), "not a run");
    QDir(Folder(3)).mkpath("3112203_23590");

    const ProjectSetup p = LoadedSetup(3);
    EXPECT_EQ(op.texts(), QStringList({"Error [\\p00003\\setup.dat] ID#1 => Loading values from: p00003\\15012020_0900",
                                       kCheckAgain}));
    EXPECT_EQ(p.Name, QStringLiteral("newer run"));
    EXPECT_EQ(CountLines(File(3, "setup.dat")), 17);

    // Sixteen lines do not reach the first tool row: the defaults are taken,
    // not the older folder.
    op.clear();
    QFile::remove(File(3, "setup.dat"));
    WriteAll(QDir(Folder(3)).filePath("15012020_0900/setup.dat"), FirstLines(SetupBytes(newer), 16));
    const ProjectSetup q = LoadedSetup(3, Distinct(3));
    EXPECT_EQ(op.texts(), QStringList({"Error [\\p00003\\setup.dat] ID#1 => Loading default values...", kCheckAgain}));
    EXPECT_EQ(q.Name, QStringLiteral("Default"));
    EXPECT_EQ(q.Plate_format, QStringLiteral("w96f"));
    EXPECT_EQ(q.Working_folder,
              QDir::toNativeSeparators(QDir::cleanPath(Folder(3))) + QDir::separator());
    ExpectToolsOf(q, ProjectSetup());
    EXPECT_FALSE(QFileInfo::exists(File(3, "setup.dat")));
}

TEST_F(ProjectFolderTest, FailureInAToolRowKeepsWhatWasReadBefore)
{
    const ProjectSetup file = Distinct(5);
    QByteArray bytes = SetupBytes(file);
    bytes.replace("30,31,32,33,34,35", "30,31,oops,33,34,35"); // the Mn3 row: step 7
    WriteAll(File(5, "setup.dat"), bytes);

    const ProjectSetup p = LoadedSetup(5);
    EXPECT_EQ(op.texts(), QStringList({"Error [\\p00005\\setup.dat] ID#7 => Loading default values...", kCheckAgain}));
    EXPECT_EQ(p.Name, file.Name);
    EXPECT_EQ(p.Aq_lapse, file.Aq_lapse);
    EXPECT_EQ(p.Save_real, file.Save_real);
    EXPECT_EQ(p.Menu2, file.Menu2);
    EXPECT_EQ(p.MenuParam[1], file.MenuParam[1]);
    EXPECT_EQ(p.MenuParam[2], file.MenuParam[2]);
    for (int row = 3; row <= 6; ++row)
        EXPECT_EQ(p.MenuParam[row], ProjectSetup::DefaultMenuParam()[row]) << row;
    // The failed restore attempt has set the folder the copies were sought in.
    EXPECT_EQ(p.Working_folder, QDir::toNativeSeparators(QDir::cleanPath(Folder(5))) + QDir::separator());

    // Project 0 goes straight to the defaults and keeps its read folder text;
    // a failure in line 4 takes the defaults from there on.
    op.clear();
    bytes = SetupBytes(Distinct(0));
    bytes.replace("2,1440,50,250,0,20", "2,1440,50,250,0");
    WriteAll(File(0, "setup.dat"), bytes);
    ProjectSetup before = Distinct(0);
    before.Name = QStringLiteral("before");
    const ProjectSetup q = LoadedSetup(0, before);
    EXPECT_EQ(op.texts(), QStringList({"Error [\\p00000\\setup.dat] ID#2 => Loading default values...", kCheckAgain}));
    EXPECT_EQ(q.Name, QStringLiteral("Zebrafish, day 5"));
    EXPECT_EQ(q.Working_folder, Distinct(0).Working_folder);
    EXPECT_EQ(q.Aq_lapse, 30);
    EXPECT_EQ(q.Threshold_Counter, 300);
    EXPECT_EQ(q.Menu1, 1);
    EXPECT_EQ(q.MenuParam, ProjectSetup::DefaultMenuParam());
}

TEST_F(ProjectFolderTest, ProjectZeroAndDamagedCopiesEndInDefaults)
{
    // Project 0 is never restored, even with a backup beside it.
    WriteAll(File(0, "setup.bak"), SetupBytes(Distinct(0)));
    const ProjectSetup p = LoadedSetup(0, Distinct(0));
    EXPECT_EQ(op.texts(), QStringList({"Error [\\p00000\\setup.dat] ID#1 => Loading default values...", kCheckAgain}));
    EXPECT_EQ(p.Name, QStringLiteral("Default"));
    EXPECT_FALSE(QFileInfo::exists(File(0, "setup.dat")));

    // A damaged backup is copied once and read once; its failure gives the
    // defaults instead of another restore.
    op.clear();
    WriteAll(File(4, "setup.bak"), "\"Project Setup\"\r\n4,\"x\"\r\n");
    const ProjectSetup q = LoadedSetup(4, Distinct(4));
    EXPECT_EQ(op.texts(), QStringList({"Error [\\p00004\\setup.dat] ID#1 => Loading values from: p00004\\", kCheckAgain,
                                       "Error [\\p00004\\setup.dat] ID#1 => Loading default values...", kCheckAgain}));
    EXPECT_EQ(q.Name, QStringLiteral("Default"));
    EXPECT_EQ(q.Aq_lapse, 30);
}

TEST_F(ProjectFolderTest, ProjectNumberInTheFileIsCheckedAgainstTheFolder)
{
    const ProjectSetup file = Distinct(7);
    WriteAll(File(8, "setup.dat"), SetupBytes(file));
    QStringList splash;
    ProjectContext ctx = Context(8);
    ctx.splashStatus = [&](const QString& s) { splash << s; };
    ProjectSetup p;
    p.Num_proj = 8;
    LoadSetupFile(p, ctx);
    const QString warning = QStringLiteral("Warning: Project ID# <> Folder Name [p008]");
    EXPECT_EQ(splash, QStringList({warning}));
    EXPECT_EQ(op.texts(), QStringList({warning}));
    EXPECT_EQ(p.Num_proj, 8);
    ExpectSettingsOf(p, file);
    ExpectToolsOf(p, file);

    // The number is compared by its numeric value; an absent one counts as 0.
    op.clear();
    QByteArray bytes = SetupBytes(Distinct(8));
    WriteAll(File(8, "setup.dat"), bytes.replace("\r\n8,\"", "\r\n\" 8.0\",\""));
    ASSERT_TRUE(bytes.contains("\" 8.0\""));
    LoadSetupFile(p, Context(8));
    EXPECT_TRUE(op.texts().isEmpty());
    WriteAll(File(12, "setup.dat"), SetupBytes(Distinct(12)).replace("\r\n12,\"", "\r\n,\""));
    p.Num_proj = 12;
    LoadSetupFile(p, Context(12));
    EXPECT_EQ(op.texts(), QStringList({"Warning: Project ID# <> Folder Name [p0012]"}));
}
