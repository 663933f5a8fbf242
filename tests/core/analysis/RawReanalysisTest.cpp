#include "ReportFixture.h"

#include "core/analysis/ChannelAnalyzer.h"
#include "core/analysis/RawReanalysis.h"
#include "core/analysis/RecordRecounter.h"
#include "core/storage/ExperimentRecorder.h"
#include "core/storage/PlateFiles.h"
#include "support/ScriptedOperator.h"

#include <gtest/gtest.h>

#include <random>

using namespace bandora;
using namespace bandora::test;

namespace {

// Beams at a steady level with noise, interrupted now and then for a few
// ticks by an organism, different for every record.
SampleTable Signals(unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> level(1500, 2000), noise(-15, 15), chance(0, 59), length(3, 15);
    SampleTable t(500);
    for (int ch = 0; ch < kChannels; ++ch) {
        const int base = level(rng);
        int dip = 0;
        for (int s = 0; s < 500; ++s) {
            if (dip == 0 && chance(rng) == 0)
                dip = length(rng);
            t(ch, s) = qint16((base + noise(rng)) / (dip > 0 ? 2 : 1));
            dip = std::max(dip - 1, 0);
        }
    }
    return t;
}

// What the analysis counts on channel ch of a record, asked directly.
int Direct(const SampleTable& record, int ch, double factor, int method)
{
    SampleTable copy = record;
    return ChannelAnalyzer().AnalyzeChannel(copy, ch, factor, method);
}

// An experiment recorded as the acquisition records it: one raw record and
// one counts record per buffer cycle. The stored counts are 9 on every
// channel, so any re-analysed count shows.
struct RecordedRun {
    explicit RecordedRun(const std::vector<qint32>& times, int rawRecords = -1)
    {
        f.SmallPlate();
        ExperimentRecorder recorder;
        recorder.Start(f.folder);
        for (size_t r = 0; r < times.size(); ++r) {
            records.push_back(Signals(unsigned(r + 1)));
            std::array<qint16, kChannelTable> counts{};
            counts.fill(9);
            counts[kChannels] = qint16(240 + r);
            const bool raw = rawRecords < 0 || int(r) < rawRecords;
            EXPECT_TRUE(recorder.RecordBufferCycle(raw, records.back(), times[r], counts));
        }
    }

    // The re-analysis of the run by method 1 at factor 1.8, with settings
    // read afresh from the folder.
    ReanalysisResult Reanalyze(Operator& op, bool replace, qint64 limit, const ReanalysisObserver& observer = {})
    {
        ReanalysisRequest request;
        request.Folder = f.folder;
        request.AppDir = f.appDir;
        request.Method = 1;
        request.Threshold = 1.8;
        request.Replace = replace;
        request.TimeLimit = limit;
        request.BinSizeText = QStringLiteral("30");
        request.Date = QStringLiteral("now");
        settings = {};
        return ReanalyzeRawData(request, settings, op, observer);
    }

    ExperimentFixture f;
    std::vector<SampleTable> records;
    ExperimentSettings settings;
};

// The channels of the small plate whose well has a beam 0.
const int kCounted[] = {0, 1, 2, 3, 16, 32};

} // namespace

TEST(RawReanalysis, CountsAreThoseOfTheAnalysisOnEveryCoreCount)
{
    // The 96-well plate with two beams per well: 192 channels to share out.
    const PlateFormat w96f = BuiltInPlate(QStringLiteral("w96f"));
    const ReportGeometry plate = ReportGeometry::FromPlate(w96f);
    const SampleTable record = Signals(7);
    QByteArray bytes(RealTimeRecordBytes(500), '\0');
    EncodeRealTimeRecord(record, std::span<char>(bytes.data(), size_t(bytes.size())));

    for (int method : {0, 1, 2}) {
        std::array<qint16, kChannels> one{}, two{}, four{};
        RecordRecounter(plate, 500, method, 2.8, 1).Recount(std::span<const char>(bytes.constData(), bytes.size()), one);
        RecordRecounter(plate, 500, method, 2.8, 2).Recount(std::span<const char>(bytes.constData(), bytes.size()), two);
        RecordRecounter(plate, 500, method, 2.8, 4).Recount(std::span<const char>(bytes.constData(), bytes.size()), four);
        EXPECT_EQ(one, two) << method;
        EXPECT_EQ(one, four) << method;
        int events = 0;
        for (int ch = 0; ch < kChannels; ++ch) {
            const int expected = w96f.ChannelWell[ch] >= 0 ? Direct(record, ch, 2.8, method) : 0;
            EXPECT_EQ(one[size_t(ch)], expected) << "method " << method << " channel " << ch;
            events += expected;
        }
        EXPECT_GT(events, 100) << method; // the signals do hold events
    }
}

TEST(RawReanalysis, LapseLimitsTheRecordsAndUnplacedChannelsCountNothing)
{
    // Records every 15 minutes; a lapse of 2 hours takes those below minute 120.
    std::vector<qint32> times;
    for (int r = 0; r < 13; ++r)
        times.push_back(15 * r);
    RecordedRun run(times);
    const auto before = run.f.Snapshot();
    ScriptedOperator op;
    const ReanalysisResult result = run.Reanalyze(op, false, 120);
    ASSERT_EQ(result.Status, ReanalysisStatus::Written);
    EXPECT_EQ(result.Records, 8);
    EXPECT_EQ(result.RecordsInTime, 8);
    EXPECT_FALSE(result.Replaced);
    EXPECT_TRUE(op.texts().isEmpty());

    // Records 0..6 are binned (the 8th closes the report). Bins of 30 minutes
    // up to E = 105 (n = 4): minutes 0, 15, 30 in bin 1, 45, 60 in bin 2,
    // 75, 90 in bin 3.
    const ReportTables& t = result.Tables;
    ASSERT_EQ(t.Bins, (std::vector<qint64>{1, 2, 3}));
    const int binOf[] = {0, 0, 0, 1, 1, 2, 2};
    for (int ch : kCounted) {
        qint64 expected[3] = {0, 0, 0};
        for (int r = 0; r < 7; ++r)
            expected[binOf[r]] += Direct(run.records[size_t(r)], ch, 1.8, 1);
        for (size_t i = 0; i < 3; ++i)
            EXPECT_EQ(t.Channel(i, ch), expected[i]) << "channel " << ch << " bin " << i;
    }
    EXPECT_EQ(t.Temperature[0], 241); // the stored temperatures stay: (240 + 241 + 242) / 3

    auto after = run.f.Snapshot();
    EXPECT_TRUE(after.contains(QStringLiteral("report.csv")));
    after.remove(QStringLiteral("report.csv"));
    EXPECT_EQ(after, before);

    // The lapse box: below 5 minutes means the first hour, and says so.
    EXPECT_EQ(LapseLimitFromHours(QStringLiteral("2")).Minutes, 120);
    EXPECT_FALSE(LapseLimitFromHours(QStringLiteral("2")).ShownHours);
    EXPECT_EQ(LapseLimitFromHours(QStringLiteral("0.05")).Minutes, 60);
    EXPECT_EQ(LapseLimitFromHours(QStringLiteral("0.05")).ShownHours, QStringLiteral("1"));
    EXPECT_EQ(LapseLimitFromHours(QStringLiteral("abc")).Minutes, 60);
    EXPECT_TRUE(ThresholdInRange(1.1) && ThresholdInRange(6.0));
    EXPECT_FALSE(ThresholdInRange(1.09) || ThresholdInRange(6.01));
}

TEST(RawReanalysis, ReplaceRewritesAllButTheLastRecordWithIncreasingTimes)
{
    // The run passes midnight: 1425, 1430, 1435, then 0, 5, ...; 13 records
    // in two real-time files, and a partial record left by a crash.
    const std::vector<qint32> times{1420, 1425, 1430, 1435, 0, 5, 10, 15, 20, 25, 30, 35, 40};
    RecordedRun run(times);
    const QByteArray tail = CountsBytes({{45, {{0, 77}}}}).left(100);
    WriteAll(run.f.countsPath(), ReadAll(run.f.countsPath()) + tail);
    const QByteArray old = ReadAll(run.f.countsPath());
    ScriptedOperator op;
    QStringList steps;
    const ReanalysisResult result = run.Reanalyze(op, true, kReplaceTimeLimit, [&](const ReanalysisStep& s) {
        steps << (s.Saving ? QStringLiteral("Saving...") : QStringLiteral("Block %1/%2").arg(s.Done).arg(s.Total));
        return true;
    });
    ASSERT_EQ(result.Status, ReanalysisStatus::Written);
    EXPECT_TRUE(result.Replaced);
    EXPECT_EQ(result.Records, 13);
    EXPECT_EQ(steps.mid(steps.size() - 3),
              (QStringList{QStringLiteral("Block 13/13"), QStringLiteral("Saving..."), QStringLiteral("Block 13/13")}));

    const QByteArray now = ReadAll(run.f.countsPath());
    ASSERT_EQ(now.size(), old.size());
    CountsFileReader reader(run.f.countsPath());
    for (int r = 0; r < 12; ++r) {
        const CountsRecord rec = *reader.Read(r);
        EXPECT_EQ(rec.ElapsedMinutes, r < 4 ? times[size_t(r)] : 1440 + times[size_t(r)]) << r;
        EXPECT_EQ(rec.TemperatureTenths(), 240 + r);
        for (int ch = 0; ch < kChannels; ++ch) {
            const bool counted = std::find(std::begin(kCounted), std::end(kCounted), ch) != std::end(kCounted);
            ASSERT_EQ(rec.IntervalCount[size_t(ch)], counted ? Direct(run.records[size_t(r)], ch, 1.8, 1) : 0)
                << "record " << r << " channel " << ch;
        }
    }
    // The last record and the partial one after it are as they were.
    EXPECT_EQ(now.mid(12 * kCountsRecordBytes), old.mid(12 * kCountsRecordBytes));
    // Nothing is left beside the new file.
    EXPECT_EQ(QDir(run.f.folder).entryList({QStringLiteral("counts*")}, QDir::Files),
              QStringList{QStringLiteral("counts.bin")});
    EXPECT_TRUE(op.texts().isEmpty());
}

TEST(RawReanalysis, StopOrMissingRawDataLeaveCountsUntouched)
{
    std::vector<qint32> times;
    for (int r = 0; r < 13; ++r)
        times.push_back(5 * r);
    ScriptedOperator op;
    {
        // STOP while saving: counts.bin is byte-identical, no report, nothing beside it.
        RecordedRun run(times);
        const auto before = run.f.Snapshot();
        const ReanalysisResult result =
            run.Reanalyze(op, true, kReplaceTimeLimit, [&](const ReanalysisStep& s) { return !s.Saving; });
        EXPECT_EQ(result.Status, ReanalysisStatus::Stopped);
        EXPECT_FALSE(result.Replaced);
        EXPECT_EQ(run.f.Snapshot(), before);
        EXPECT_TRUE(op.texts().isEmpty());
    }
    {
        // Raw data for the first 11 records only (a run that stopped saving
        // them): those are re-analysed; the rest of counts.bin stays.
        RecordedRun run(times, 11);
        const QByteArray old = ReadAll(run.f.countsPath());
        const ReanalysisResult result = run.Reanalyze(op, true, kReplaceTimeLimit);
        EXPECT_EQ(result.Status, ReanalysisStatus::Written);
        EXPECT_EQ(result.Records, 11);
        EXPECT_EQ(result.RecordsInTime, 13);
        EXPECT_EQ(ReadAll(run.f.countsPath()).mid(10 * kCountsRecordBytes), old.mid(10 * kCountsRecordBytes));
        EXPECT_NE(ReadAll(run.f.countsPath()).left(10 * kCountsRecordBytes), old.left(10 * kCountsRecordBytes));
    }
    {
        // No real-time file at all.
        RecordedRun run(times, 0);
        const auto before = run.f.Snapshot();
        const ReanalysisResult result = run.Reanalyze(op, true, kReplaceTimeLimit);
        EXPECT_EQ(result.Status, ReanalysisStatus::NoRealTimeData);
        EXPECT_EQ(op.texts(), QStringList{QStringLiteral("Real Time Data Not Found")});
        EXPECT_EQ(run.f.Snapshot(), before);
    }
}

TEST(RawReanalysis, BufferLengthThatDoesNotFitTheRawFilesIsRefused)
{
    const std::vector<qint32> times{0, 5, 10, 15};
    for (int rtBuffer : {1, 0, -5, 250, 499}) {
        SCOPED_TRACE(rtBuffer);
        RecordedRun run(times);
        run.f.WriteSetup(QStringLiteral("wtest"), rtBuffer);
        const auto before = run.f.Snapshot();
        ScriptedOperator op;
        const ReanalysisResult result = run.Reanalyze(op, true, kReplaceTimeLimit);
        EXPECT_EQ(result.Status, ReanalysisStatus::Unreadable);
        EXPECT_FALSE(result.Replaced);
        EXPECT_EQ(run.f.Snapshot(), before);
        ASSERT_EQ(op.texts().size(), 1);
        EXPECT_TRUE(op.texts()[0].startsWith(QStringLiteral("Real time data do not match"))) << op.texts()[0].toStdString();
    }
    // A field lost from the settings line would read DSP_Method as RT_Buffer:
    // the line is damaged, the default buffer length is taken and said so.
    RecordedRun run(times);
    QByteArray setup = ReadAll(run.f.file(QStringLiteral("setup.dat")));
    ASSERT_TRUE(setup.contains("1,30,99,500,1,30"));
    WriteAll(run.f.file(QStringLiteral("setup.dat")), setup.replace("1,30,99,500,1,30", "1,30,99,1,30"));
    ScriptedOperator op;
    const ReanalysisResult result = run.Reanalyze(op, false, 60);
    EXPECT_EQ(run.settings.RT_Buffer, 500);
    EXPECT_TRUE(result.Settings.UsedDefaults);
    EXPECT_EQ(result.Status, ReanalysisStatus::Written);
}
