#include "ChannelTableFiles.h"

#include "ProjectFiles.h"
#include "RecordSyntax.h"
#include "core/common/Operator.h"
#include "core/common/Rounding.h"

#include <QDir>

#include <array>
#include <functional>

// status.dat    "<Channel>, <Enabled>"          channel,1|0
// threshld.dat  "<Channel>, <Threshold>"        channel,threshold (three decimals at most)
// groups.dat    "<Group_Number>, <Group_Name>"  group,"name"   ("Free" marks an unused slot)
// chgroup.dat   "<Channel>, <Group: -1=Free>"   channel,group
//
// Records are placed by their order in the file, not by their first field,
// which is read (it must be a 16-bit number) and otherwise ignored. Up to 385
// records are taken (the spare entry 384 included); later ones are ignored.

namespace bandora {

namespace {

// Reads the file's records in order, handing index and second field to store.
// Returns the number of records read. Throws RecordError.
int ReadTable(const QString& path, const std::function<void(int, const RecordField&)>& store)
{
    RecordReader reader = RecordReader::FromFile(path);
    reader.SkipLine(); // the header
    int i = 0;
    for (; !reader.AtEnd() && i < kChannelTable; ++i) {
        const QVector<RecordField> record = reader.ReadRecord();
        if (record.size() < 2)
            throw RecordError("missing field");
        RecordReader::Int16Of(record[0]);
        store(i, record[1]);
    }
    return i;
}

// "Error [\p0003\status.dat] => ..." (the tables' messages carry four digits).
void ReportTableError(const ProjectContext& ctx, int number, const QString& file, const QString& fallback)
{
    ctx.op->inform(QStringLiteral("Error [\\p%1\\%2] => %3")
                       .arg(number, 4, 10, QLatin1Char('0'))
                       .arg(file, fallback));
}

const QString kDefaultValues = QStringLiteral("Loading default values...");
const QString kDefaultGroups = QStringLiteral("Loading default groups...");

QString TablePath(const ProjectContext& ctx, const char* name)
{
    return QDir(ctx.projectFolder).filePath(QString::fromLatin1(name));
}

} // namespace

void LoadChannelEnabled(ProjectSetup& project, const ProjectContext& ctx)
{
    // The flags are gathered apart and applied only once the whole file has
    // been read, so a damaged file never leaves half of them applied.
    std::array<qint16, kChannelTable> flags{};
    int count = 0;
    try {
        count = ReadTable(TablePath(ctx, "status.dat"),
                          [&](int i, const RecordField& f) { flags[i] = RecordReader::Int16Of(f); });
    } catch (const RecordError&) {
        ReportTableError(ctx, project.Num_proj, QStringLiteral("status.dat"), kDefaultValues);
        project.SetDefaultChannelEnabled();
        return;
    }
    // Channels after the last record of a short file keep their state.
    for (int ch = 0; ch < qMin(count, kChannels); ++ch)
        project.ChannelEnabled[ch] = flags[ch] != 0;
}

void LoadChannelThresholds(ProjectSetup& project, const ProjectContext& ctx)
{
    auto thresholds = project.ChannelThreshold;
    try {
        ReadTable(TablePath(ctx, "threshld.dat"),
                  [&](int i, const RecordField& f) { thresholds[i] = RecordReader::NumberOf(f); });
    } catch (const RecordError&) {
        ReportTableError(ctx, project.Num_proj, QStringLiteral("threshld.dat"), kDefaultValues);
        project.SetDefaultThresholds();
        return;
    }
    project.ChannelThreshold = thresholds;
}

void LoadGroupNames(ProjectSetup& project, const ProjectContext& ctx)
{
    auto names = project.GroupName;
    try {
        ReadTable(TablePath(ctx, "groups.dat"), [&](int i, const RecordField& f) { names[i] = f.text; });
    } catch (const RecordError&) {
        ReportTableError(ctx, project.Num_proj, QStringLiteral("groups.dat"), kDefaultGroups);
        project.SetDefaultGroupNames();
        return;
    }
    project.GroupName = names;
}

void LoadChannelGroups(ProjectSetup& project, const ProjectContext& ctx)
{
    auto groups = project.ChannelGroup;
    try {
        ReadTable(TablePath(ctx, "chgroup.dat"), [&](int i, const RecordField& f) {
            const qint16 g = RecordReader::Int16Of(f);
            // Group numbers index the group-name table: anything but a group
            // slot or -1 (free) comes from a damaged file.
            if (g < -1 || g >= kChannels)
                throw RecordError("group number out of range");
            groups[i] = g;
        });
    } catch (const RecordError&) {
        ReportTableError(ctx, project.Num_proj, QStringLiteral("chgroup.dat"), kDefaultGroups);
        project.SetDefaultChannelGroups();
        return;
    }
    project.ChannelGroup = groups;
}

void WriteChannelTables(const ProjectSetup& project, const QString& folder)
{
    const QDir dir(folder);
    RecordWriter status, thresholds, names, groups;
    status.Header(QStringLiteral("<Channel>, <Enabled>"));
    thresholds.Header(QStringLiteral("<Channel>, <Threshold>"));
    names.Header(QStringLiteral("<Group_Number>, <Group_Name>"));
    groups.Header(QStringLiteral("<Channel>, <Group: -1=Free>"));
    for (int i = 0; i < kChannels; ++i) {
        status.Record({qint64(i), qint64(project.ChannelEnabled[i] ? 1 : 0)});
        thresholds.Record({qint64(i), RoundToDecimals(project.ChannelThreshold[i], 3)});
        names.Record({qint64(i), project.GroupName[i]});
        groups.Record({qint64(i), qint64(project.ChannelGroup[i])});
    }
    status.WriteTo(dir.filePath(QStringLiteral("status.dat")));
    thresholds.WriteTo(dir.filePath(QStringLiteral("threshld.dat")));
    names.WriteTo(dir.filePath(QStringLiteral("groups.dat")));
    groups.WriteTo(dir.filePath(QStringLiteral("chgroup.dat")));
}

} // namespace bandora
