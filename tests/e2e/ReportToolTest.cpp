// bandora-report run as a script runs it: its output, its messages, its exit
// status, and reports identical to those of the window's code.

#include "core/analysis/ReportFixture.h"

#include "core/analysis/ReportGenerator.h"
#include "core/storage/ExperimentRecorder.h"
#include "support/ScriptedOperator.h"
#include "support/ToolProcess.h"

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

ToolRun Tool(const QStringList& args) { return RunTool(QStringLiteral("bandora-report"), args); }

QByteArray WithoutDateLine(const QByteArray& report) { return report.mid(report.indexOf("\r\n")); }

void HandMade(ExperimentFixture& f)
{
    f.SmallPlate();
    f.WriteCounts(CountsBytes({{5, {{0, 4}, {1, 7}, {16, 10}}}, {25, {{0, 2}, {32, 8}}, 0},
                               {70, {{2, 2}, {16, 3}}}, {85, {{3, 1}, {32, 1}}}, {100, {}}}));
}

} // namespace

TEST(ReportTool, WritesWhatTheWindowWritesAndPrintsThePath)
{
    ExperimentFixture f;
    HandMade(f);
    const QStringList appDir{QStringLiteral("--app-dir"), f.appDir};

    const struct {
        QStringList args;
        ReportOptions options;
        QString bin;
    } cases[] = {
        {{}, ReportOptions{}, QStringLiteral("30")},
        {{QStringLiteral("--layout"), QStringLiteral("list"), QStringLiteral("--type"), QStringLiteral("txt"),
          QStringLiteral("--bin"), QStringLiteral("60"), QStringLiteral("--std-dev")},
         ReportOptions{ReportLayout::List, ReportFileType::Txt, QStringLiteral(" "), false, true, false},
         QStringLiteral("60")},
        {{QStringLiteral("--layout"), QStringLiteral("array"), QStringLiteral("--separator"), QStringLiteral(";"),
          QStringLiteral("--std-error"), QStringLiteral("--n")},
         ReportOptions{ReportLayout::Array, ReportFileType::Csv, QStringLiteral(";"), true, false, true},
         QStringLiteral("30")},
    };
    for (const auto& c : cases) {
        const ToolRun run = Tool(QStringList{f.folder} + c.args + appDir);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QString path = f.file(c.options.FileType == ReportFileType::Csv ? QStringLiteral("report.csv")
                                                                              : QStringLiteral("report.txt"));
        EXPECT_EQ(run.out, QDir::toNativeSeparators(path) + QLatin1Char('\n'));
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        const QByteArray fromTool = ReadAll(path);

        ScriptedOperator op;
        ExperimentSettings settings;
        const ReportResult window =
            GenerateReport(ReportRequest{f.folder, f.appDir, c.bin, c.options, QStringLiteral("x")}, settings, op);
        ASSERT_EQ(window.Status, ReportStatus::Written);
        EXPECT_EQ(WithoutDateLine(fromTool), WithoutDateLine(ReadAll(window.Path))) << c.args.join(' ').toStdString();
        EXPECT_TRUE(fromTool.startsWith("\"DATE:\""));
    }
}

TEST(ReportTool, ErrorsGoToStandardErrorWithTheirExitStatus)
{
    // The command line itself is wrong: status 2, nothing written.
    ExperimentFixture f;
    HandMade(f);
    const QStringList appDir{QStringLiteral("--app-dir"), f.appDir};
    for (const QStringList& wrong : {QStringList{},
                                     QStringList{f.folder, QStringLiteral("--layout"), QStringLiteral("grid")},
                                     QStringList{f.folder, QStringLiteral("--bogus")},
                                     QStringList{f.folder, QStringLiteral("--bin"), QStringLiteral("abc")},
                                     QStringList{f.folder, QStringLiteral("--reanalyze"), QStringLiteral("--method"),
                                                 QStringLiteral("1")},
                                     QStringList{f.folder, QStringLiteral("--reanalyze"), QStringLiteral("--method"),
                                                 QStringLiteral("1"), QStringLiteral("--threshold"), QStringLiteral("9")},
                                     QStringList{f.folder, QStringLiteral("--replace")},
                                     QStringList{f.folder, QStringLiteral("--per-well"), QStringLiteral("--reanalyze")}}) {
        const ToolRun run = Tool(wrong + appDir);
        EXPECT_EQ(run.status, 2) << wrong.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("bandora-report: "))) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(f.file(QStringLiteral("report.csv"))));

    // A folder that is not there.
    ToolRun run = Tool({f.file(QStringLiteral("nowhere"))});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("no such folder")));

    // No activity file.
    ExperimentFixture empty;
    empty.SmallPlate();
    run = Tool(QStringList{empty.folder} + QStringList{QStringLiteral("--app-dir"), empty.appDir});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, QStringLiteral("bandora-report: Activity file not Found\n"));
    EXPECT_TRUE(run.out.isEmpty());

    // A run stopped inside its first buffer cycle: nothing to report, nothing written.
    empty.WriteCounts(CountsBytes({{0, {{0, 4}}}}));
    run = Tool(QStringList{empty.folder} + QStringList{QStringLiteral("--app-dir"), empty.appDir});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("bandora-report: Nothing to report: "))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(empty.file(QStringLiteral("report.csv"))));

    // No plate file in the application folder: nothing written.
    run = Tool({f.folder, QStringLiteral("--app-dir"), empty.folder});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, QStringLiteral("bandora-report: Multiwell Configuration File wtest.dat or .bak not found\n"));
    EXPECT_FALSE(QFile::exists(f.file(QStringLiteral("report.csv"))));

    // A damaged group file: the default groups, the message, status 3.
    WriteAll(f.file(QStringLiteral("chgroup.dat")), "\"<Channel>, <Group: -1=Free>\"\r\n0,x\r\n");
    run = Tool(QStringList{f.folder} + appDir);
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, QStringLiteral("bandora-report: Error [%1] => Loading default groups...\n")
                           .arg(QDir::toNativeSeparators(f.file(QStringLiteral("chgroup.dat")))));
    EXPECT_TRUE(QFile::exists(f.file(QStringLiteral("report.csv"))));
}

TEST(ReportTool, PerWellFilesAndReanalysis)
{
    ExperimentFixture f;
    HandMade(f);
    ToolRun run = Tool({f.folder, QStringLiteral("--per-well"), QStringLiteral("--app-dir"), f.appDir});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              (QStringList{QDir::toNativeSeparators(f.file(QStringLiteral("000_A1.txt"))),
                           QDir::toNativeSeparators(f.file(QStringLiteral("001_B1.txt"))),
                           QDir::toNativeSeparators(f.file(QStringLiteral("002_A2.txt"))),
                           QDir::toNativeSeparators(f.file(QStringLiteral("004_A3.txt")))}));

    // Re-analysis replacing the counts of a run with flat beams: no events at all.
    ExperimentFixture g;
    g.SmallPlate();
    ExperimentRecorder recorder;
    recorder.Start(g.folder);
    SampleTable flat(500);
    flat.Fill(1800);
    std::array<qint16, kChannelTable> counts{};
    counts.fill(9);
    for (int r = 0; r < 4; ++r)
        ASSERT_TRUE(recorder.RecordBufferCycle(true, flat, 10 * r, counts));
    run = Tool({g.folder, QStringLiteral("--reanalyze"), QStringLiteral("--method"), QStringLiteral("1"),
                QStringLiteral("--threshold"), QStringLiteral("1.8"), QStringLiteral("--replace"),
                QStringLiteral("--app-dir"), g.appDir});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QDir::toNativeSeparators(g.file(QStringLiteral("report.csv"))) + QLatin1Char('\n'));
    CountsFileReader reader(g.countsPath());
    EXPECT_EQ(reader.Read(0)->IntervalCount[0], 0);
    EXPECT_EQ(reader.Read(3)->IntervalCount[0], 9); // the last record stays
}
