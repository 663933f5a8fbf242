#include "ReportFixture.h"

#include "core/analysis/ReportGenerator.h"
#include "support/ScriptedOperator.h"

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

const QString kDate = QStringLiteral("2026-01-05 10:00:00");

// Five records on the small plate, the last of which is never binned. With
// bins of 30 minutes (E = 100, n = 3) records 0 and 1 fall in bin 1, records
// 2 and 3 in bin 3, and bin 2 holds nothing, so it is left out everywhere.
// Record 1 has no temperature reading; channel 5 belongs to no well.
QByteArray HandMadeCounts()
{
    return CountsBytes({
        {5, {{0, 4}, {1, 7}, {2, 1}, {3, 3}, {16, 10}, {17, 5}, {32, 2}, {5, 9}}, 245},
        {25, {{0, 2}, {1, 2}, {2, 0}, {3, 5}, {16, 6}, {17, 1}, {32, 8}, {5, 9}}, 0},
        {70, {{0, 1}, {1, 0}, {2, 2}, {3, 2}, {16, 3}, {17, 0}, {32, 0}}, 250},
        {85, {{0, 0}, {1, 3}, {2, 4}, {3, 1}, {16, 5}, {17, 2}, {32, 1}}, 251},
        {100, {{0, 100}, {1, 100}, {16, 100}, {32, 100}}, 300},
    });
}

QByteArray Lines(const QStringList& lines)
{
    QByteArray text;
    for (const QString& line : lines)
        text += line.toLatin1() + "\r\n";
    return text;
}

// A report kept under tests/data, with the run's folder and date put in.
QByteArray Expected(const QString& name, const QString& folder)
{
    const QString text = QString::fromUtf8(ReadAll(QStringLiteral(BANDORA_SOURCE_DIR "/tests/data/reports/") + name));
    return Lines(QString(text).replace(QStringLiteral("{FOLDER}"), folder).replace(QStringLiteral("{DATE}"), kDate)
                     .split(QLatin1Char('\n')));
}

ReportResult Generate(const ExperimentFixture& f, Operator& op, const ReportOptions& options,
                      const QString& bin = QStringLiteral("30"))
{
    ExperimentSettings settings;
    return GenerateReport(ReportRequest{f.folder, f.appDir, bin, options, kDate}, settings, op);
}

} // namespace

TEST(ReportLayouts, HandMadeExperimentToTheCharacterInEveryLayoutAndFileType)
{
    ExperimentFixture f;
    f.SmallPlate();
    f.WriteCounts(HandMadeCounts());
    const auto before = f.Snapshot();
    ScriptedOperator op;

    // Rows, spreadsheet file, every statistic.
    ReportOptions rows;
    rows.StdError = rows.StdDev = rows.WellCount = true;
    ReportResult r = Generate(f, op, rows);
    ASSERT_EQ(r.Status, ReportStatus::Written);
    EXPECT_EQ(r.Path, f.file(QStringLiteral("report.csv")));
    EXPECT_EQ(ReadAll(r.Path), Expected(QStringLiteral("rows.csv"), f.folder));
    // The degree sign is one byte, as in the workstation's code page.
    EXPECT_TRUE(ReadAll(r.Path).contains("[\xB0" "C]"));

    // List, text file: the blank separator, only the mean.
    ReportOptions list;
    list.Layout = ReportLayout::List;
    list.FileType = ReportFileType::Txt;
    list.Separator = QStringLiteral(" ");
    r = Generate(f, op, list);
    ASSERT_EQ(r.Status, ReportStatus::Written);
    EXPECT_EQ(r.Path, f.file(QStringLiteral("report.txt")));
    EXPECT_EQ(ReadAll(r.Path), Expected(QStringLiteral("list.txt"), f.folder));

    // Array, spreadsheet file with a semicolon: the group boxes change nothing.
    ReportOptions array = rows;
    array.Layout = ReportLayout::Array;
    array.Separator = QStringLiteral(";");
    r = Generate(f, op, array);
    ASSERT_EQ(r.Status, ReportStatus::Written);
    EXPECT_EQ(ReadAll(r.Path), Expected(QStringLiteral("array.csv"), f.folder));

    EXPECT_TRUE(op.texts().isEmpty());
    auto after = f.Snapshot();
    after.remove(QStringLiteral("report.csv"));
    after.remove(QStringLiteral("report.txt"));
    EXPECT_EQ(after, before);
}

TEST(ReportLayouts, BinsWithoutDataAndBinSizesChangeTheColumns)
{
    ExperimentFixture f;
    f.SmallPlate();
    f.WriteCounts(HandMadeCounts());
    ScriptedOperator op;
    ReportOptions list;
    list.Layout = ReportLayout::List;

    // Bin "1" becomes 2 minutes, shown as "2": every record its own bin.
    ReportResult r = Generate(f, op, list, QStringLiteral("1"));
    ASSERT_EQ(r.Status, ReportStatus::Written);
    QByteArray text = ReadAll(r.Path);
    // Group 0 is A1 and A2: per record (6 + 10) / 2, (2 + 6) / 2, (0 + 3) / 2
    // and (2 + 5) / 2, the halves going to the even neighbour.
    EXPECT_TRUE(text.contains("\r\n6,\"000_Control\",8\r\n26,\"000_Control\",4\r\n70,\"000_Control\",2\r\n"
                              "86,\"000_Control\",4\r\n\r\n"));
}
