#pragma once

// Hand-made experiments for the report tests: a program folder with a small
// plate file and an experiment folder with its own project files, an activity
// file written record by record and, when asked, real-time files.

#include "core/analysis/ReportGenerator.h"
#include "core/storage/CountsFile.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RealTimeFile.h"
#include "core/storage/RecordSyntax.h"
#include "core/storage/SetupFile.h"
#include "support/Files.h"
#include "support/RecordedExperiment.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>

#include <initializer_list>
#include <utility>

namespace bandora::test {

// One activity record: its time field, some channel counts, the temperature.
struct Rec {
    qint32 time;
    std::initializer_list<std::pair<int, qint16>> counts;
    qint16 temperature = 250;
};

inline QByteArray CountsBytes(std::initializer_list<Rec> records)
{
    QByteArray bytes;
    for (const Rec& r : records) {
        std::array<qint16, kChannelTable> values{};
        for (const auto& [ch, v] : r.counts)
            values[ch] = v;
        values[kChannels] = r.temperature;
        std::array<char, kCountsRecordBytes> stored;
        EncodeCountsRecord(r.time, values, stored);
        bytes.append(stored.data(), kCountsRecordBytes);
    }
    return bytes;
}

// A plate file of rows x columns wells whose channel list is given as
// channel -> (well, beam); every other channel is unused.
inline void WritePlateFile(const QString& path, int rows, int columns, const QMap<int, std::pair<int, int>>& map)
{
    RecordWriter w;
    w.Header(QStringLiteral("Plate format test <Description>,<Rows>,<RowPitch>,<RowOffset>,<Columns>,<ColumnPitch>,<ColumnOffset>"));
    w.Record({QStringLiteral("test plate")});
    w.Record({qint64(rows), 2.0, -0.5, qint64(columns), 2.0, 0.0});
    w.Record({QStringLiteral("<Channel>,<Well>,<Beam>")});
    for (int ch = 0; ch < kChannels; ++ch) {
        const auto cell = map.value(ch, {-1, -1});
        w.Record({QStringLiteral("CH%1").arg(ch), qint64(cell.first), qint64(cell.second)});
    }
    w.WriteTo(path);
}

struct ExperimentFixture {
    // The experiment folder is named by its run start, as the acquisition names it.
    explicit ExperimentFixture(const QString& folderName = QStringLiteral("05012026_0930"))
    {
        QDir(root.path()).mkpath(QStringLiteral("app"));
        QDir(root.path()).mkpath(folderName);
        appDir = QDir(root.path()).filePath(QStringLiteral("app"));
        folder = QDir(root.path()).filePath(folderName);
    }

    // setup.dat naming the plate; the other settings as the project defaults.
    void WriteSetup(const QString& plateName, int rtBuffer = 500)
    {
        ProjectSetup p;
        p.Num_proj = 3;
        p.Plate_format = plateName;
        p.RT_Buffer = qint16(rtBuffer);
        WriteSetupFile(p, folder);
    }

    // groups.dat and chgroup.dat: the given groups, every other channel free.
    void WriteGroups(const QMap<int, QString>& names, const QMap<int, int>& channelGroups)
    {
        RecordWriter g, c;
        g.Header(QStringLiteral("<Group_Number>, <Group_Name>"));
        c.Header(QStringLiteral("<Channel>, <Group: -1=Free>"));
        for (int i = 0; i < kChannels; ++i) {
            g.Record({qint64(i), names.value(i, QStringLiteral("Free"))});
            c.Record({qint64(i), qint64(channelGroups.value(i, -1))});
        }
        g.WriteTo(QDir(folder).filePath(QStringLiteral("groups.dat")));
        c.WriteTo(QDir(folder).filePath(QStringLiteral("chgroup.dat")));
    }

    // The small plate of the hand-made reports: 2 rows x 3 columns.
    //   A1 (well 0): CH0 beam 0, CH1 beam 1     B1 (well 1): CH2 beam 0, CH3 beam 1
    //   A2 (well 2): CH16 beam 0                B2 (well 3): CH17 beam 1 only
    //   A3 (well 4): CH32 beam 0                B3: no beam
    // Groups: 0 "Control" (CH0, CH1, CH3, CH16), 1 "Empty" (CH17), 2 "Single"
    // (CH32); CH2 free. So group 0 has A1 and A2 (B1's first beam is free),
    // group 1 has no well (B2 has no beam 0), group 2 has A3 alone.
    void SmallPlate()
    {
        WritePlateFile(QDir(appDir).filePath(QStringLiteral("wtest.dat")), 2, 3,
                       {{0, {0, 0}}, {1, {0, 1}}, {2, {1, 0}}, {3, {1, 1}}, {16, {2, 0}}, {17, {3, 1}}, {32, {4, 0}}});
        WriteSetup(QStringLiteral("wtest"));
        WriteGroups({{0, QStringLiteral("Control")}, {1, QStringLiteral("Empty")}, {2, QStringLiteral("Single")}},
                    {{0, 0}, {1, 0}, {3, 0}, {16, 0}, {17, 1}, {32, 2}});
    }

    void WriteCounts(const QByteArray& bytes) { WriteAll(countsPath(), bytes); }
    QString countsPath() const { return CountsFilePath(folder); }
    QString file(const QString& name) const { return QDir(folder).filePath(name); }

    // Every file of the experiment folder with its bytes.
    QMap<QString, QByteArray> Snapshot() const { return FolderContent(folder); }

    QTemporaryDir root;
    QString appDir;
    QString folder;
};

// The report of the experiment in the list layout, dated "now".
inline ReportResult ListReport(const ExperimentFixture& f, Operator& op, const QString& bin = QStringLiteral("30"),
                               ExperimentSettings settings = {}, bool stopWithoutPlate = false)
{
    ReportOptions list;
    list.Layout = ReportLayout::List;
    ReportRequest request{f.folder, f.appDir, bin, list, QStringLiteral("now")};
    request.StopWithoutPlate = stopWithoutPlate;
    return GenerateReport(request, settings, op);
}

} // namespace bandora::test
