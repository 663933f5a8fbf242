#include "ReportFixture.h"

#include "core/analysis/ActivityScan.h"
#include "core/analysis/ReportBinning.h"
#include "core/analysis/ReportGenerator.h"
#include "core/storage/PlateFiles.h"
#include "support/ScriptedOperator.h"

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

// The lines of a report from the given line on, up to the next empty line.
QByteArray Section(const QByteArray& report, const QByteArray& title)
{
    const qsizetype at = report.indexOf(title);
    if (at < 0)
        return {};
    const qsizetype end = report.indexOf("\r\n\r\n", report.indexOf("\r\n\r\n", at) + 4);
    return report.mid(at, end - at);
}

} // namespace

TEST(ReportBinning, BinSizeRulesAndTheirTexts)
{
    struct Case {
        const char* typed;
        qint64 end; // E, the time of the last record
        qint64 size;
        const char* shown; // nullptr: the box keeps what was typed
        qint64 count;
    };
    const Case cases[] = {
        // Below 2 minutes (or no number at all) the bin is 2 and the box says so.
        {"1", 100, 2, "2", 50}, {"0", 100, 2, "2", 50}, {"-30", 100, 2, "2", 50}, {"abc", 100, 2, "2", 50},
        {"", 100, 2, "2", 50},
        // A bin longer than the recording: whole quarter hours of it, or, for
        // half an hour at most, the whole recording with the box unchanged.
        {"1440", 100, 90, "90", 1}, {"60", 20, 21, nullptr, 1},
        // An empty recording still has one bin and no division by zero.
        {"30", 0, 1, nullptr, 1},
        // n = E / B with halves to even; fractions of a minute in the box round too.
        {"30", 105, 30, nullptr, 4}, {"30", 75, 30, nullptr, 2}, {"29.6", 600, 30, nullptr, 20},
    };
    for (const Case& c : cases) {
        const BinPlan p = PlanBins(QString::fromLatin1(c.typed), c.end);
        const std::string what = std::string(c.typed) + " over " + std::to_string(c.end);
        EXPECT_EQ(p.BinSize, c.size) << what;
        const auto shown = c.shown ? std::optional<QString>(QString::fromLatin1(c.shown)) : std::nullopt;
        EXPECT_EQ(p.ShownBinSize, shown) << what;
        EXPECT_EQ(p.BinCount, c.count) << what;
    }
}

TEST(ReportBinning, DayWrapsAndTimesThatFallBack)
{
    // Past midnight, a fall back of 700 minutes taken as it stands, the second midnight.
    DayWrap wrap;
    for (const auto& [field, minutes] :
         {std::pair{1400, 1400}, {1430, 1430}, {5, 1445}, {800, 2240}, {100, 1540}, {1439, 2879}, {0, 2880}})
        EXPECT_EQ(wrap.Next(field), minutes) << field;

    // Through a file: bin 1440 at E = 2200 puts everything of day one in bin 1
    // and the record after midnight in bin 2; the last record is never binned.
    ExperimentFixture f;
    f.SmallPlate();
    f.WriteCounts(CountsBytes({{1420, {{0, 1}}}, {1430, {{0, 2}}}, {5, {{0, 4}}}, {10, {{0, 8}}}, {760, {}}}));
    const ActivityScan scan = ScanActivityFile(f.countsPath());
    EXPECT_EQ(scan.RecordTime, (std::vector<qint64>{1420, 1430, 1445, 1450, 2200}));
    EXPECT_EQ(scan.LargestTimeField, 1430);
    EXPECT_EQ(scan.EndTime(), 2200);
    ScriptedOperator op;
    const ReportResult r = ListReport(f, op, QStringLiteral("1440"));
    ASSERT_EQ(r.Status, ReportStatus::Written);
    EXPECT_EQ(Section(ReadAll(r.Path), "\"<<<<<< Channel"),
              "\"<<<<<< Channel Activity >>>>>>\"\r\nTime,Channel,Well,Group,Value\r\n\r\n"
              "1440,CH0,A1.0,\"000_Control\",3\r\n2880,CH0,A1.0,\"000_Control\",12");
}

TEST(ReportBinning, ShortEmptyAndDamagedActivityFiles)
{
    ScriptedOperator op;
    ExperimentFixture f;
    f.SmallPlate();

    // One record: nothing is binned, so there is nothing to report and no
    // report is written; an empty file likewise.
    f.WriteCounts(CountsBytes({{3, {{0, 5}}, 240}}));
    ReportResult r = ListReport(f, op);
    EXPECT_EQ(r.Status, ReportStatus::NothingToReport);
    EXPECT_TRUE(r.Path.isEmpty());
    f.WriteCounts({});
    r = ListReport(f, op);
    EXPECT_EQ(r.Status, ReportStatus::NothingToReport);
    EXPECT_EQ(r.Records, 0);
    EXPECT_FALSE(QFileInfo::exists(f.file(QStringLiteral("report.csv"))));
    ASSERT_EQ(op.texts().size(), 2);
    EXPECT_TRUE(op.texts()[1].startsWith(QStringLiteral("Nothing to report: ")));
    op.clear();

    // A partial last record (a crash in the middle of an append) is left
    // out; the whole records give the report they give without it.
    const QByteArray whole = CountsBytes({{5, {{0, 1}}}, {25, {{0, 2}}}, {40, {{0, 3}}}});
    f.WriteCounts(whole);
    const QByteArray clean = ReadAll(ListReport(f, op).Path);
    f.WriteCounts(whole + CountsBytes({{50, {{0, 100}}}}).left(300));
    r = ListReport(f, op);
    EXPECT_TRUE(r.PartialRecord);
    EXPECT_EQ(r.Records, 3);
    EXPECT_EQ(ReadAll(r.Path), clean);
    EXPECT_EQ(ReadAll(f.countsPath()).size(), 3 * kCountsRecordBytes + 300); // left as it was

    // Temperature 0 in every record (no sensor): the bins show 0.0. Readings
    // out of range (a broken sensor) do not pull a mean down either.
    f.WriteCounts(CountsBytes({{5, {}, 0}, {25, {}, 0}, {35, {}, 253}, {40, {}, 32767}, {45, {}, -5}, {50, {}, 0}}));
    r = ListReport(f, op);
    EXPECT_EQ(Section(ReadAll(r.Path), "\"<<<<<< Average"),
              QString::fromUtf8("\"<<<<<< Average Temperature [°C] >>>>>>\"\r\nTime,Avrg_Temp[°C]\r\n\r\n"
                                "30,0.0\r\n60,25.3")
                  .toLatin1());

    // Absurd counts add up without overflow and are written as they are.
    f.WriteCounts(CountsBytes({{1, {{0, 32767}, {1, 32767}}}, {2, {{0, 32767}, {1, 32767}}}, {3, {{0, -7}}}, {4, {}}}));
    r = ListReport(f, op);
    EXPECT_TRUE(ReadAll(r.Path).contains("5,CH0,A1.0,\"000_Control\",65527\r\n")); // one bin of E + 1 = 5 minutes
    EXPECT_TRUE(op.texts().isEmpty());
}

TEST(ReportBinning, MissingFilesGiveTheirMessagesAndNeverChangeTheExperiment)
{
    ScriptedOperator op;
    {
        // No activity file: the message and nothing written.
        ExperimentFixture f;
        f.SmallPlate();
        const auto before = f.Snapshot();
        EXPECT_EQ(ListReport(f, op).Status, ReportStatus::NoActivityFile);
        EXPECT_EQ(op.texts(), QStringList{QStringLiteral("Activity file not Found")});
        // An empty folder box is no folder, even when the program runs from
        // an experiment folder.
        const QString cwd = QDir::currentPath();
        f.WriteCounts(CountsBytes({{1, {}}, {2, {}}}));
        QDir::setCurrent(f.folder);
        ExperimentSettings settings;
        EXPECT_EQ(GenerateReport(ReportRequest{QString(), f.appDir, QStringLiteral("30"), {}, {}}, settings, op).Status,
                  ReportStatus::NoActivityFile);
        QDir::setCurrent(cwd);
        QFile::remove(f.countsPath());
        EXPECT_EQ(f.Snapshot(), before);
    }
    {
        // No plate file (.dat or .bak): the message, then the report with the
        // plate as it stood; a script asks to stop instead.
        op.clear();
        ExperimentFixture f;
        f.WriteSetup(QStringLiteral("w48"));
        f.WriteGroups({}, {});
        f.WriteCounts(CountsBytes({{5, {{0, 1}}}, {9, {}}}));
        const auto before = f.Snapshot();
        ExperimentSettings asItStood;
        asItStood.Plate = ReportGeometry::FromPlate(BuiltInPlate(QStringLiteral("w384")));
        const ReportResult r = ListReport(f, op, QStringLiteral("5"), asItStood);
        EXPECT_EQ(r.Status, ReportStatus::Written);
        EXPECT_FALSE(r.Settings.PlateFound);
        EXPECT_EQ(op.texts(), QStringList{QStringLiteral("Multiwell Configuration File w48.dat or .bak not found")});
        EXPECT_TRUE(ReadAll(r.Path).contains("5,CH0,A1.0,\"999_Free\",1\r\n"));
        QFile::remove(r.Path);
        EXPECT_EQ(f.Snapshot(), before);

        op.clear();
        EXPECT_EQ(ListReport(f, op, QStringLiteral("5"), {}, true).Status, ReportStatus::NoPlateFile);
        EXPECT_EQ(f.Snapshot(), before);

        // The plate file's backup serves when the file itself is gone.
        WritePlateFile(QDir(f.appDir).filePath(QStringLiteral("w48.bak")), 1, 1, {{0, {0, 0}}});
        op.clear();
        EXPECT_EQ(ListReport(f, op, QStringLiteral("5"), {}, true).Status, ReportStatus::Written);
        EXPECT_TRUE(op.texts().isEmpty());
    }
}

TEST(ReportBinning, ReportFileHeldOpenFallsBackToReport1)
{
    ExperimentFixture f;
    f.SmallPlate();
    f.WriteCounts(CountsBytes({{5, {{0, 1}}}, {9, {}}}));
    ScriptedOperator op;
    // A folder in the way of report.csv stands for a file another program holds.
    QDir(f.folder).mkdir(QStringLiteral("report.csv"));
    ReportResult r = ListReport(f, op);
    EXPECT_EQ(r.Status, ReportStatus::Written);
    EXPECT_EQ(r.Path, f.file(QStringLiteral("report_1.csv")));

    QFile::remove(r.Path);
    ASSERT_TRUE(QDir(f.folder).mkdir(QStringLiteral("report_1.csv")));
    r = ListReport(f, op);
    EXPECT_EQ(r.Status, ReportStatus::NotWritten);
    ASSERT_EQ(op.texts().size(), 1);
    EXPECT_TRUE(op.texts()[0].startsWith(QStringLiteral("Report file can't be written: ")));
}
