// The DAM monitor files and the long table, checked against the rules their
// readers apply (damr's load_dam and link_dam_metadata, ShinyR-DAM, pandas):
// 42 tab-separated fields, CR LF, the date format, status 1 lines only,
// regular one-minute steps, identical times across files, counts unchanged.

#include "core/analysis/ReportGenerator.h"
#include "core/exports/DamExport.h"
#include "core/exports/ExportStart.h"
#include "core/exports/LongTable.h"
#include "core/storage/RecordSyntax.h"
#include "support/RecordedExperiment.h"
#include "support/ScriptedOperator.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

// An experiment started at 23:58 on 7 December 2026: a record every minute
// from 0 to 119 (two at minute 2), then none for more than an hour, then
// 190 to 299; the last record, at 300, is empty (the report never bins a
// file's last record, so its totals and the exports' can be compared whole).
struct Experiment {
    explicit Experiment(const char* plate, const char* name = "07122026_2358")
    {
        CopyShippedPlates(app.path());
        folder = QDir(app.path()).filePath(QLatin1String(name));
        QDir().mkpath(folder);
        ProjectSetup project;
        project.Plate_format = QLatin1String(plate);
        SaveProject(project, folder);
        ExperimentRecorder rec;
        rec.Start(folder);
        std::vector<int> minutes{2};
        for (int m = 0; m <= 300; ++m)
            if (m < 120 || m >= 190)
                minutes.push_back(m);
        std::sort(minutes.begin(), minutes.end());
        for (int minute : minutes) {
            std::array<qint16, kChannelTable> counts{};
            for (int ch = 0; ch < kChannels; ++ch)
                counts[size_t(ch)] = minute == 300 ? 0 : qint16((ch * 3 + minute) % 11);
            counts[kChannels] = 250;
            EXPECT_TRUE(rec.AppendCountsRecord(minute, counts));
        }
    }

    // The report's total of every well over the whole recording.
    std::vector<qint64> ReportTotals()
    {
        ExperimentSettings settings;
        ReportRequest request{folder, app.path(), QStringLiteral("1440"), {}, QString(), true};
        const ReportResult report = GenerateReport(request, settings, op);
        EXPECT_EQ(report.Status, ReportStatus::Written);
        std::vector<qint64> totals(size_t(report.Tables.Wells), 0);
        for (size_t i = 0; i < report.Tables.Bins.size(); ++i)
            for (int w = 0; w < report.Tables.Wells; ++w)
                totals[size_t(w)] += report.Tables.Well(i, w);
        return totals;
    }

    QTemporaryDir app;
    QString folder;
    ScriptedOperator op;
};

QList<QStringList> Lines(const QByteArray& text)
{
    EXPECT_TRUE(text.endsWith("\r\n"));
    QList<QStringList> lines;
    for (const QByteArray& line : text.split('\n')) {
        if (line.isEmpty())
            continue;
        EXPECT_TRUE(line.endsWith('\r'));
        lines << QString::fromLatin1(line.chopped(1)).split(QLatin1Char('\t'));
    }
    return lines;
}

// The first monitor file and the metadata of the 96-well plate, kept under
// tests/data/dam: 42 tab-separated fields, CR LF, "07 Dec 26" dates turning at
// midnight, one-minute steps, status 0 and no counts where no record was made.
QByteArray Expected(const char* name)
{
    return ReadAll(QStringLiteral(BANDORA_SOURCE_DIR "/tests/data/dam/") + QLatin1String(name));
}

} // namespace

TEST(ExportFormats, DamFilesFollowTheReadersRules)
{
    struct Case {
        const char* plate;
        int files;
        int wells;
    };
    for (const Case c : {Case{"w96f", 3, 96}, Case{"w384", 12, 384}, Case{"w24", 1, 24}}) {
        Experiment e(c.plate);
        const std::vector<qint64> totals = e.ReportTotals();
        const QString out = QDir(e.app.path()).filePath(QStringLiteral("dam"));
        const DamResult dam = ExportDam(e.folder, e.app.path(), out, e.op);
        ASSERT_TRUE(dam.Ok) << dam.Error.toStdString();
        ASSERT_EQ(dam.Files.size(), c.files + 1) << c.plate;
        EXPECT_TRUE(dam.Files.back().endsWith(QStringLiteral("/metadata.csv")));
        if (c.wells == 96) {
            EXPECT_EQ(ReadAll(dam.Files[0]), Expected("07122026_2358_M01.txt"));
            EXPECT_EQ(ReadAll(dam.Files.back()), Expected("metadata.csv"));
        }

        QList<QStringList> first;
        std::vector<qint64> exported(size_t(c.files) * kDamWellsPerFile, 0);
        for (int f = 0; f < c.files; ++f) {
            EXPECT_TRUE(dam.Files[f].endsWith(DamFileName(QStringLiteral("07122026_2358"), f)));
            const QList<QStringList> lines = Lines(ReadAll(dam.Files[f]));
            ASSERT_EQ(lines.size(), 301) << "minutes 0 to 300, one line each";
            for (int i = 0; i < lines.size(); ++i) {
                ASSERT_EQ(lines[i].size(), 42);
                // Every file of a plate shares index, date, time and status.
                if (f == 0) {
                    first << lines[i].mid(0, 4);
                } else {
                    EXPECT_EQ(lines[i].mid(0, 4), first[i]);
                }
                for (int p = 0; p < kDamWellsPerFile; ++p) {
                    const qint64 v = lines[i][10 + p].toLongLong();
                    if (f * kDamWellsPerFile + p >= c.wells) {
                        EXPECT_EQ(v, 0);
                    }
                    exported[size_t(f * kDamWellsPerFile + p)] += v;
                }
            }
        }
        for (int w = 0; w < c.wells; ++w)
            EXPECT_EQ(exported[size_t(w)], totals[size_t(w)]) << c.plate << " well " << w;
        EXPECT_EQ(ReadAll(dam.Files.back()).count("\r\n"), c.wells + 1) << "a header and a row per well";
    }
}

TEST(ExportFormats, LongTableTotalsAreTheReportsAndMissingBinsAreEmpty)
{
    Experiment e("w96f");
    const std::vector<qint64> totals = e.ReportTotals();
    const QString path = QDir(e.app.path()).filePath(QStringLiteral("long.csv"));
    const LongTableResult r = WriteLongTable(e.folder, e.app.path(), QStringLiteral("15"), path, e.op);
    ASSERT_TRUE(r.Ok) << r.Error.toStdString();
    EXPECT_EQ(r.BinMinutes, 15);
    const QStringList lines = QString::fromUtf8(ReadAll(path)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(lines[0], QStringLiteral("experiment,well,row,column,group,bin_start,bin_start_min,zt_h,light,"
                                       "temperature_c,value"));
    ASSERT_EQ(lines.size(), 1 + 96 * 21); // minutes 0..300 in bins of 15
    std::vector<qint64> table(96, 0);
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList f = lines[i].split(QLatin1Char(','));
        ASSERT_EQ(f.size(), 11);
        const int bin = (i - 1) % 21, well = (i - 1) / 21;
        EXPECT_EQ(f[6], QString::number(15 * bin));
        // Bins 8 to 11 (minutes 120 to 179) hold no record: empty, never 0.
        EXPECT_EQ(f[10].isEmpty(), bin >= 8 && bin <= 11) << lines[i].toStdString();
        EXPECT_EQ(f[9].isEmpty(), bin >= 8 && bin <= 11);
        table[size_t(well)] += f[10].toLongLong();
    }
    EXPECT_EQ(lines[1].section(QLatin1Char(','), 0, 9),
              QStringLiteral("07122026_2358,A1,A,1,000_Group0,2026-12-07T23:58:00,0,0,,25"));
    for (int w = 0; w < 96; ++w)
        EXPECT_EQ(table[size_t(w)], totals[size_t(w)]) << w;
}

TEST(ExportFormats, AJoinedExperimentCountsFromItsEarliestPart)
{
    Experiment e("w96f", "08122026_0900");
    RecordWriter w;
    w.Record({QStringLiteral("Data Block: 08122026_0100 + 07122026_2358 + ")});
    w.Record({QStringLiteral("Joint Files")});
    w.WriteTo(QDir(e.folder).filePath(QStringLiteral("subproj.dat")));
    const DamResult dam = ExportDam(e.folder, e.app.path(), QDir(e.app.path()).filePath(QStringLiteral("dam")), e.op);
    ASSERT_TRUE(dam.Ok) << dam.Error.toStdString();
    EXPECT_TRUE(ReadAll(dam.Files[0]).startsWith("1\t07 Dec 26\t23:58:00\t1\t"));
}
