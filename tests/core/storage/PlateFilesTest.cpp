#include "ProjectFolderFixture.h"

#include "core/storage/PlateFiles.h"
#include "core/storage/ProjectSetup.h"
#include "core/storage/RecordSyntax.h"
#include "support/Files.h"
#include "support/QtPrinters.h"
#include "support/ScriptedOperator.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using bandora::test::kLineDamages;
using bandora::test::ScriptedOperator;
using bandora::test::WriteAll;

namespace {

// A plate file with the given geometry line and one record per entry of
// wells/beams (channel k gets wells[k], beams[k]).
QByteArray PlateBytes(const QVector<int>& wells, const QVector<int>& beams,
                      const QByteArray& geometry = "8,2,-0.5,12,2,0")
{
    QByteArray b = "\"Plate format test <Description>,<Rows>,...\"\r\n\"a test plate\"\r\n" + geometry +
                   "\r\n\"<Channel>,<Well>,<Beam>\"\r\n";
    for (int k = 0; k < wells.size(); ++k)
        b += QStringLiteral("\"CH%1\",%2,%3\r\n").arg(k).arg(wells[k]).arg(beams.value(k)).toLatin1();
    return b;
}

QString FallbackMessage(const QString& name, int step)
{
    return QStringLiteral("Error [\\%1.dat] ID#%2 => Loading plate format from default: 384,96f or 96u...")
        .arg(name)
        .arg(step);
}

bool SameMap(const PlateFormat& a, const PlateFormat& b)
{
    for (int ch = 0; ch < kChannels; ++ch)
        if (a.ChannelWell[ch] != b.ChannelWell[ch] || a.ChannelBeam[ch] != b.ChannelBeam[ch])
            return false;
    for (int w = 0; w <= a.MaxWell; ++w)
        for (int be = 0; be <= a.MaxBeam; ++be)
            if (a.WellBeamChannel(w, be) != b.WellBeamChannel(w, be))
                return false;
    return a.MaxWell == b.MaxWell && a.MaxBeam == b.MaxBeam && a.Rows == b.Rows && a.Columns == b.Columns &&
           a.RowPitch == b.RowPitch && a.RowOffset == b.RowOffset && a.ColumnPitch == b.ColumnPitch &&
           a.ColumnOffset == b.ColumnOffset;
}

// LoadPlate of the plate named name from folder, starting from the plate start.
struct Loaded {
    ProjectSetup project;
    PlateFormat plate;
    QStringList texts;
};
Loaded Load(const QString& name, const QString& folder, const PlateFormat& start = BuiltInPlate("w384"))
{
    Loaded l{ProjectSetup(), start, {}};
    l.project.Plate_format = name;
    ScriptedOperator op;
    LoadPlate(l.project, l.plate, folder, op);
    l.texts = op.texts();
    return l;
}

} // namespace

TEST(PlateFiles, ReadsAPlateFileRecordByRecord)
{
    QTemporaryDir dir;
    QVector<int> wells(400, -1), beams(400, 0);
    wells[0] = 5;  beams[0] = 1;
    wells[3] = 5;  beams[3] = 0;
    wells[7] = -4; beams[7] = 2;   // a negative well marks the channel unused
    wells[9] = 6;  beams[9] = -1;  // so does a negative beam
    QByteArray bytes = PlateBytes(wells, beams, "6,2.9067,-0.7111,8,2.9067,0.3867");
    bytes += "\"CH400\",\"garbage after record 385 is never read\",x\r\n";
    WriteAll(QDir(dir.path()).filePath("wtest.dat"), bytes);

    const auto [project, plate, texts] = Load("wtest", dir.path());
    EXPECT_TRUE(texts.isEmpty()) << texts.join('\n').toStdString();
    EXPECT_EQ(plate.Rows, 6);
    EXPECT_DOUBLE_EQ(plate.ColumnOffset, 0.3867);
    EXPECT_EQ(plate.MaxWell, 5);
    EXPECT_EQ(plate.MaxBeam, 1);
    EXPECT_EQ(plate.WellBeamChannel(5, 0), 3);
    EXPECT_EQ(plate.ChannelBeam[0], 1);
    EXPECT_EQ(plate.ChannelWell[7], -1);
    EXPECT_EQ(plate.ChannelWell[9], -1);
    EXPECT_EQ(plate.WellBeamChannel(6, 0), 0); // beyond MaxWell: no channel
}

TEST(PlateFiles, AShortFileKeepsThePreviousPlateForTheRemainingChannels)
{
    QTemporaryDir dir;
    // 96 records: channel k -> well k.
    QVector<int> wells(96);
    for (int k = 0; k < 96; ++k)
        wells[k] = k;
    WriteAll(QDir(dir.path()).filePath("wshort.dat"), PlateBytes(wells, QVector<int>(96, 0)));

    const PlateFormat plate = Load("wshort", dir.path(), BuiltInPlate("w96u")).plate;
    EXPECT_EQ(plate.ChannelWell[95], 95);
    EXPECT_EQ(plate.ChannelWell[96], 24); // kept from w96u: channel 96 = grid column 6, row 0
    EXPECT_EQ(plate.ChannelWell[97], -1);
    EXPECT_EQ(plate.ChannelWell[366], 95);
    EXPECT_EQ(plate.WellBeamChannel(24, 0), 96); // channels 24 and 96 share the cell; 96 is later
    EXPECT_EQ(plate.WellBeamChannel(95, 0), 366);

    // After a 384-well plate the kept channels name wells 96-383, which the
    // short file's table does not reach: the file cannot describe the plate.
    const Loaded after384 = Load("wshort", dir.path());
    EXPECT_EQ(after384.texts, QStringList{FallbackMessage("wshort", 3)});
}

TEST(PlateFiles, AMissingOrDamagedFileFallsBackToABuiltInPlate)
{
    QTemporaryDir dir;
    ScriptedOperator op;
    PlateFormat plate = BuiltInPlate(QStringLiteral("w384"));

    ProjectSetup project;
    project.Plate_format = QStringLiteral("w24");
    LoadPlate(project, plate, dir.path(), op);
    EXPECT_EQ(op.texts(), QStringList{FallbackMessage("w24", 0)});
    EXPECT_EQ(project.Plate_format, QStringLiteral("w96f"));

    // A built-in name keeps its name and gets its own built-in map.
    QByteArray bad = PlateBytes(QVector<int>(384, 0), QVector<int>(384, 0));
    bad.replace("\"CH17\",0,0", "\"CH17\",zero,0");
    WriteAll(QDir(dir.path()).filePath("w384.dat"), bad);
    op.clear();
    project.Plate_format = QStringLiteral("w384");
    LoadPlate(project, plate, dir.path(), op);
    EXPECT_EQ(op.texts(), QStringList{FallbackMessage("w384", 2)});
    EXPECT_EQ(project.Plate_format, QStringLiteral("w384"));
    EXPECT_TRUE(SameMap(plate, BuiltInPlate(QStringLiteral("w384"))));
}

// Every damaged plate file ends in the fallback with its message, at the step
// where the read failed, and never in a crash or an oversized table.
TEST(PlateFiles, BadFilesNeverGetPastTheFallback)
{
    QTemporaryDir dir;
    const QByteArray good = PlateBytes(QVector<int>(384, 0), QVector<int>(384, 0));
    QByteArray garbage;
    for (int i = 0; i < 5000; ++i)
        garbage.append(static_cast<char>((i * 7919 + 13) % 256));

    struct Case {
        const char* what;
        QByteArray bytes;
        int step;
    };
    QVector<Case> cases = {
        {"empty", "", 1},
        {"header only", "\"Plate format\"\r\n", 1},
        {"truncated in the geometry", good.left(60), 1},
        {"truncated inside a record", good.left(good.size() - 3) + "\"CH384\",", 2},
        {"binary garbage", garbage, 1},
        {"a line of a megabyte", "\"t\",\"d\"," + QByteArray(1 << 20, '7') + "\r\n", 1},
        {"text for the rows", PlateBytes({0}, {0}, "eight,2,-0.5,12,2,0"), 1},
        {"rows beyond 16 bits", PlateBytes({0}, {0}, "70000,2,-0.5,12,2,0"), 1},
        {"no rows", PlateBytes({0}, {0}, "0,2,-0.5,12,2,0"), 1},
        {"too many columns", PlateBytes({0}, {0}, "8,2,-0.5,65,2,0"), 1},
        {"zero pitch", PlateBytes({0}, {0}, "8,0,-0.5,12,2,0"), 1},
        {"huge offset", PlateBytes({0}, {0}, "8,2," + QByteArray(300, '9') + ",12,2,0"), 1},
        {"text for a well", PlateBytes({0, 1}, {0, 0}).replace("\"CH1\",1", "\"CH1\",\"one\""), 2},
        {"well beyond 16 bits", PlateBytes({0, 40000}, {0, 0}), 2},
        {"huge well index", PlateBytes({0, 30000}, {0, 0}), 2},
        {"huge beam index", PlateBytes({0, 1}, {0, 20000}), 2},
    };
    // A record lost, doubled, swapped or widened would shift every later channel.
    for (const auto& [what, damage] : kLineDamages)
        cases.push_back({what, damage(good), QByteArray(what).startsWith("CR") ? 1 : 2});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteAll(QDir(dir.path()).filePath("wbad.dat"), c.bytes);
        const auto [project, plate, texts] = Load("wbad", dir.path());
        EXPECT_EQ(texts, QStringList{FallbackMessage("wbad", c.step)});
        EXPECT_EQ(project.Plate_format, QStringLiteral("w96f"));
        EXPECT_TRUE(SameMap(plate, BuiltInPlate(QStringLiteral("w96f"))));

        // Without the fallback the plate in use stays as it was.
        PlateFormat kept = BuiltInPlate(QStringLiteral("w96u"));
        EXPECT_TRUE(LoadPlateNoFallback(QStringLiteral("wbad"), kept, dir.path()).has_value());
        EXPECT_TRUE(SameMap(kept, BuiltInPlate(QStringLiteral("w96u"))));
    }

    // A file too large to be a plate file is refused before it is read.
    WriteAll(QDir(dir.path()).filePath("wbad.dat"), QByteArray(RecordReader::MaxFileBytes + 1, ','));
    EXPECT_EQ(Load("wbad", dir.path()).texts, QStringList{FallbackMessage("wbad", 0)});
}

TEST(PlateFiles, ListsThePlateFilesOfTheProgramFolder)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    for (const char* name : {"w96f.dat", "W6.DAT", "w384.dat", "w96flat.Dat", "wnotes.txt", "config.dat",
                             "aw1.dat"})
        WriteAll(d.filePath(name), "x");
    d.mkdir(QStringLiteral("wfolder.dat"));
    EXPECT_EQ(ListPlateFiles(dir.path()),
              (QStringList{"w384", "w6", "w96f", "w96flat"}));
    EXPECT_TRUE(ListPlateFiles(d.filePath("missing")).isEmpty());
}

TEST(PlateFiles, ApplyAsksThenClearsTheGroupsAndLoadsThePlate)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    QVector<int> wells(384), beams(384);
    for (int ch = 0; ch < 384; ++ch) {
        wells[ch] = ch / 4;
        beams[ch] = ch % 4;
    }
    WriteAll(d.filePath("w96flat.dat"), PlateBytes(wells, beams));
    WriteAll(d.filePath("wbroken.dat"), PlateBytes(wells, beams).left(400));

    ProjectSetup project;
    project.Plate_format = QStringLiteral("w96f");
    project.ChannelGroup[10] = 3;
    project.GroupName[3] = QStringLiteral("larvae");
    PlateFormat plate = BuiltInPlate(QStringLiteral("w96f"));
    ScriptedOperator op;

    EXPECT_EQ(ApplyPlate(QStringLiteral("w24"), project, plate, dir.path(), op), ApplyPlateResult::SelectionError);
    EXPECT_EQ(op.texts(), QStringList{"Selection Error"});

    // A damaged file: the operator is told, and plate and groups stay.
    op.clear();
    op.answers << Answer::Yes;
    EXPECT_EQ(ApplyPlate(QStringLiteral("wbroken"), project, plate, dir.path(), op), ApplyPlateResult::Malformed);
    ASSERT_EQ(op.texts().size(), 2);
    EXPECT_TRUE(op.texts()[1].startsWith(QStringLiteral("Error [\\wbroken.dat]"))) << op.texts()[1].toStdString();
    EXPECT_EQ(project.Plate_format, QStringLiteral("w96f"));
    EXPECT_EQ(project.ChannelGroup[10], 3);
    EXPECT_TRUE(SameMap(plate, BuiltInPlate(QStringLiteral("w96f"))));

    op.clear();
    op.answers << Answer::Yes;
    EXPECT_EQ(ApplyPlate(QStringLiteral("w96flat"), project, plate, dir.path(), op), ApplyPlateResult::Applied);
    EXPECT_EQ(op.texts(), (QStringList{"Load New Plate configuration?",
                                       "96 Wells flat bottom [4microbeams/well]\r\n"
                                       "USE 'W384' or 'W96x4' plate Adapter\r\n"
                                       "NOTE: DISCONTINUED. Contact provider"}));
    EXPECT_EQ(project.Plate_format, QStringLiteral("w96flat"));
    EXPECT_EQ(project.ChannelGroup[10], -1);
    EXPECT_EQ(project.GroupName[3], QStringLiteral("Free"));
    EXPECT_EQ(plate.MaxBeam, 3);
    EXPECT_EQ(plate.WellBeamChannel(2, 3), 11);
}

// Plate files copied from another workstation may carry upper-case names;
// the plate list shows them lower-cased, so every lookup must find them.
TEST(PlateFiles, PlateNamesFindTheirFileWhateverItsCase)
{
    QTemporaryDir dir;
    QVector<int> wells(384);
    for (int ch = 0; ch < 384; ++ch)
        wells[ch] = ch / 8;
    WriteAll(QDir(dir.path()).filePath("W48.DAT"), PlateBytes(wells, QVector<int>(384, 0)));

    const Loaded w48 = Load("w48", dir.path());
    EXPECT_TRUE(w48.texts.isEmpty()) << w48.texts.join('\n').toStdString();
    EXPECT_EQ(w48.plate.MaxWell, 47);
}
