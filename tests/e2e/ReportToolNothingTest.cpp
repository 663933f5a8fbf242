// bandora-report on recordings too short to report: it says so, writes
// nothing and fails, rather than leaving an empty report behind.

#include "core/analysis/ReportFixture.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(ReportTool, NothingToReportIsAFailureThatWritesNothing)
{
    struct Case {
        const char* what;
        QByteArray counts;
        QStringList options;
        const char* message;
    };
    const Case cases[] = {
        // A run stopped inside its first buffer cycle: its only record is never binned.
        {"one record", CountsBytes({{0, {{0, 4}}}}), {}, "bandora-report: Nothing to report: "},
        // Five minutes hold no 30-minute step: 96 empty files would say nothing.
        {"per well", CountsBytes({{1, {{0, 4}}}, {3, {{0, 2}}}, {5, {}}}), {QStringLiteral("--per-well")},
         "bandora-report: Nothing to export: "},
    };
    for (const Case& c : cases) {
        ExperimentFixture f;
        f.SmallPlate();
        f.WriteCounts(c.counts);
        const auto before = f.Snapshot();
        QProcess p;
        p.start(QDir(QStringLiteral(BANDORA_BIN_DIR)).filePath(QStringLiteral("bandora-report")),
                QStringList{f.folder, QStringLiteral("--app-dir"), f.appDir} + c.options);
        ASSERT_TRUE(p.waitForFinished(60000)) << c.what;
        EXPECT_EQ(p.exitCode(), 1) << c.what;
        EXPECT_TRUE(p.readAllStandardOutput().isEmpty()) << c.what;
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        EXPECT_TRUE(err.startsWith(QLatin1String(c.message))) << c.what << ": " << err.toStdString();
        EXPECT_EQ(f.Snapshot(), before) << c.what;
    }
}
