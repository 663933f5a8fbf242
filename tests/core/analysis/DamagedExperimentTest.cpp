// Experiments with a damaged file: the report and the per-well export say so
// (defaults taken, or nothing written), never a silent report of shifted or
// endless data.

#include "ReportFixture.h"

#include "core/analysis/PerWellExport.h"
#include "core/analysis/ReportGenerator.h"
#include "core/offline/GroupActivity.h"
#include "core/offline/OfflineExperiment.h"
#include "support/ScriptedOperator.h"

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(DamagedExperiment, PerWellWorkIsBoundByTheRecordsNotTheirTimes)
{
    ExperimentFixture f;
    f.SmallPlate();
    // Two sound records, then one stamped 2,000,000 minutes into the run: the
    // old export wrote 66,667 lines per well for it.
    f.WriteCounts(CountsBytes({{0, {{0, 1}}}, {30, {{0, 2}}}, {2000000, {{0, 3}}}, {2000030, {}}}));
    ScriptedOperator op;
    PerWellRequest request;
    request.Folder = f.folder;
    request.AppDir = f.appDir;
    request.Now = QDateTime(QDate(2026, 2, 1), QTime(8, 15));
    ExperimentSettings settings;
    const PerWellResult result = ExportPerWell(request, settings, op);
    EXPECT_EQ(result.Status, PerWellStatus::Unreadable);
    EXPECT_TRUE(result.Files.isEmpty());
    ASSERT_EQ(op.texts().size(), 1);
    EXPECT_TRUE(op.texts()[0].startsWith(QStringLiteral("Activity file damaged"))) << op.texts()[0].toStdString();

    // The offline window's group activity of the same file: no bins for it.
    OfflineExperiment experiment;
    ReadOfflineExperiment(f.folder, f.appDir, 3, op, experiment);
    EXPECT_FALSE(ComputeGroupActivity(f.folder, experiment, 0).has_value());
}

TEST(DamagedExperiment, DamagedGroupOrPlateFileIsToldNeverShifted)
{
    struct Case {
        const char* what;
        const char* file; // in the experiment folder, else the plate file
        std::function<QByteArray(QByteArray)> damage;
        ReportStatus status;
        bool defaults;
    };
    const Case cases[] = {
        {"chgroup.dat with CR-only line ends", "chgroup.dat", [](QByteArray b) { return b.replace("\r\n", "\r"); },
         ReportStatus::Written, true},
        {"groups.dat with a line lost", "groups.dat",
         [](QByteArray b) { return b.remove(b.indexOf("1,\""), b.indexOf("2,\"") - b.indexOf("1,\"")); },
         ReportStatus::Written, true},
        {"plate file with an extra field", nullptr,
         [](QByteArray b) { return b.replace("\"CH16\",2,0", "\"CH16\",2,0,1"); }, ReportStatus::NoPlateFile,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExperimentFixture f;
        f.SmallPlate();
        f.WriteCounts(CountsBytes({{0, {{0, 1}}}, {30, {{16, 2}}}, {60, {}}}));
        const QString path = c.file ? f.file(QString::fromLatin1(c.file))
                                    : QDir(f.appDir).filePath(QStringLiteral("wtest.dat"));
        WriteAll(path, c.damage(ReadAll(path)));
        const auto before = f.Snapshot();
        ScriptedOperator op;
        const ReportResult result = ListReport(f, op, QStringLiteral("30"), {}, true);
        EXPECT_EQ(result.Status, c.status);
        EXPECT_EQ(result.Settings.UsedDefaults, c.defaults);
        EXPECT_EQ(op.texts().size(), 1) << op.texts().join('|').toStdString();
        // The damaged file is not repaired: the folder is the record of the run.
        auto after = f.Snapshot();
        after.remove(QStringLiteral("report.csv"));
        EXPECT_EQ(after, before);
    }
}
