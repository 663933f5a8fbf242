// bandora-analyze run as a script runs it: the files it writes, its exit
// status and what it says.

#include "core/analysis/ReportFixture.h"

#include "support/ToolProcess.h"

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

ToolRun Analyze(const QStringList& args) { return RunTool(QStringLiteral("bandora-analyze"), args); }

} // namespace

TEST(AnalyzeTool, WritesTablesPicturesAndSummaryOrSaysWhyNot)
{
    ExperimentFixture f;
    f.SmallPlate();
    // 90 minutes; A2 (CH16) counts 3 per record, nothing else moves.
    QByteArray counts;
    for (int m = 0; m < 90; ++m)
        counts += CountsBytes({{m, {{16, 3}}}});
    f.WriteCounts(counts);
    const QString out = QDir(f.root.path()).filePath(QStringLiteral("analytics"));
    const ToolRun run = Analyze({f.folder, QStringLiteral("--out"), out, QStringLiteral("--app-dir"), f.appDir,
                             QStringLiteral("--bin"), QStringLiteral("60")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList files{"groups.csv", "wells.csv",   "rest.csv",     "bouts.csv",        "periodogram.csv",
                            "periods.csv", "qc.csv",     "curves.png",   "actogram.png",     "periodogram.png",
                            "summary.pdf"};
    for (const QString& name : files) {
        EXPECT_TRUE(run.out.contains(QDir::toNativeSeparators(QDir(out).filePath(name)))) << name.toStdString();
        EXPECT_GT(QFileInfo(QDir(out).filePath(name)).size(), 0) << name.toStdString();
    }
    // The start 09:30 without a light schedule is ZT0: bins of 60 minutes.
    EXPECT_EQ(ReadAll(QDir(out).filePath(QStringLiteral("groups.csv"))),
              "group,bin_start_min,zt_h,light,n,mean,sd,sem\n"
              "000_Control,0,0,,2,90,127.2792206,90\n"
              "000_Control,60,1,,2,45,63.63961031,45\n"
              "002_Single,0,0,,1,0,0,0\n"
              "002_Single,60,1,,1,0,0,0\n");
    const QByteArray qc = ReadAll(QDir(out).filePath(QStringLiteral("qc.csv")));
    EXPECT_TRUE(qc.startsWith("well,group,status,since_min,reason\nA1,000_Control,inactive,0,"));
    EXPECT_TRUE(qc.contains("\nA2,000_Control,ok,,\n"));
    EXPECT_TRUE(qc.contains("\nB2,999_Free,inactive,0,"));
    EXPECT_TRUE(ReadAll(QDir(out).filePath(QStringLiteral("periods.csv")))
                    .contains("A2,chi_square,recording shorter than two cycles of 32.0 h,,,,no\n"));

    // A wrong command line is 2, an experiment without counts.bin is 1 and writes nothing.
    EXPECT_EQ(Analyze({f.folder, QStringLiteral("--app-dir"), f.appDir}).status, 2);
    EXPECT_EQ(Analyze({f.folder, QStringLiteral("--out"), out, QStringLiteral("--alpha"), QStringLiteral("2")}).status, 2);
    EXPECT_EQ(Analyze({f.folder, QStringLiteral("--out"), out, QStringLiteral("--bin"), QStringLiteral("x")}).status, 2);
    QFile::remove(f.countsPath());
    const QString empty = QDir(f.root.path()).filePath(QStringLiteral("none"));
    const ToolRun missing = Analyze({f.folder, QStringLiteral("--out"), empty, QStringLiteral("--app-dir"), f.appDir});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("Activity file not Found")));
    EXPECT_FALSE(QFileInfo::exists(empty));
}
