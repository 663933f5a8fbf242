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
// Records are placed by their order in the file. Each must hold exactly two
// fields, the first being its own index: a deleted, doubled or swapped line,
// or a field too many, would otherwise slide every later channel into another
// group unnoticed, so such a file is damaged. Up to 385 records are taken (the
// spare entry 384 included); later ones are ignored.

namespace bandora {

namespace {

// Reads the file's records in order, handing index and second field to store.
// Throws RecordError.
void ReadTable(const QString& path, const std::function<void(int, const RecordField&)>& store)
{
    RecordReader reader = RecordReader::FromFile(path);
    reader.SkipLine(); // the header
    int i = 0;
    for (; !reader.AtEnd() && i < kChannelTable; ++i) {
        const QVector<RecordField> record = reader.ReadRecord();
        if (record.size() != 2)
            throw RecordError(record.size() < 2 ? "missing field" : "extra field");
        if (RecordReader::Int16Of(record[0]) != i)
            throw RecordError("record out of order");
        store(i, record[1]);
    }
}

// "Error [\p0003\status.dat] => ..." for the project's own tables (their
// messages carry four digits). The copies in an experiment folder are named by
// the path of the file read: the project's folder is not where they lie.
void ReportTableError(const ProjectContext& ctx, int number, const QString& file, const QString& fallback)
{
    if (!ctx.mayRestore) {
        ctx.op->inform(QStringLiteral("Error [%1] => %2")
                           .arg(QDir::toNativeSeparators(QDir(ctx.projectFolder).filePath(file)), fallback));
        return;
    }
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

// Reads one table file into a copy of the project's table, which replaces the
// table only once the whole file has been read: a damaged file never leaves
// it half applied, but is reported and gives the table's defaults. Entries
// after the last record of a short file keep their values.
template <typename Table, typename Store>
void LoadTable(ProjectSetup& project, const ProjectContext& ctx, const char* name, const QString& fallback,
               Table ProjectSetup::*table, void (ProjectSetup::*setDefaults)(), Store store)
{
    Table read = project.*table;
    try {
        ReadTable(TablePath(ctx, name), [&](int i, const RecordField& f) { store(read, i, f); });
    } catch (const RecordError&) {
        ReportTableError(ctx, project.Num_proj, QString::fromLatin1(name), fallback);
        (project.*setDefaults)();
        return;
    }
    project.*table = read;
}

} // namespace

void LoadChannelEnabled(ProjectSetup& project, const ProjectContext& ctx)
{
    // Only the 384 channels take a flag; the spare entry keeps its own.
    LoadTable(project, ctx, "status.dat", kDefaultValues, &ProjectSetup::ChannelEnabled,
              &ProjectSetup::SetDefaultChannelEnabled, [](auto& enabled, int i, const RecordField& f) {
                  const bool on = RecordReader::Int16Of(f) != 0;
                  if (i < kChannels)
                      enabled[i] = on;
              });
}

void LoadChannelThresholds(ProjectSetup& project, const ProjectContext& ctx)
{
    LoadTable(project, ctx, "threshld.dat", kDefaultValues, &ProjectSetup::ChannelThreshold,
              &ProjectSetup::SetDefaultThresholds,
              [](auto& thresholds, int i, const RecordField& f) { thresholds[i] = RecordReader::NumberOf(f); });
}

void LoadGroupNames(ProjectSetup& project, const ProjectContext& ctx)
{
    LoadTable(project, ctx, "groups.dat", kDefaultGroups, &ProjectSetup::GroupName,
              &ProjectSetup::SetDefaultGroupNames,
              [](auto& names, int i, const RecordField& f) { names[i] = f.text; });
}

void LoadChannelGroups(ProjectSetup& project, const ProjectContext& ctx)
{
    LoadTable(project, ctx, "chgroup.dat", kDefaultGroups, &ProjectSetup::ChannelGroup,
              &ProjectSetup::SetDefaultChannelGroups, [](auto& groups, int i, const RecordField& f) {
                  const qint16 g = RecordReader::Int16Of(f);
                  // Group numbers index the group-name table: anything but a
                  // group slot or -1 (free) comes from a damaged file.
                  if (g < -1 || g >= kChannels)
                      throw RecordError("group number out of range");
                  groups[i] = g;
              });
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
