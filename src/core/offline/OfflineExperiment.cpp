#include "OfflineExperiment.h"

#include "core/common/Operator.h"
#include "core/storage/ChannelTableFiles.h"
#include "core/storage/PlateFiles.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RecordSyntax.h"

#include <QDir>
#include <QFileInfo>

namespace bandora {

namespace {

constexpr int kFreeGroupEntry = 999;

// The plate file of that name: ".dat", else its ".bak" copy, whichever reads.
bool ReadPlateOrBackup(const QString& appDir, const QString& name, PlateFormat& plate)
{
    if (QFileInfo(PlateFilePath(appDir, name)).isFile() && !LoadPlateNoFallback(name, plate, appDir))
        return true;
    const QString backup = QDir(appDir).filePath(name + QStringLiteral(".bak"));
    return QFileInfo(backup).isFile() && !LoadPlateFileNoFallback(backup, plate);
}

} // namespace

SettingsRead ReadOfflineExperiment(const QString& folder, const QString& appDir, int projectNumber, Operator& op,
                                   OfflineExperiment& experiment)
{
    if (!QFileInfo(QDir(folder).filePath(QStringLiteral("setup.dat"))).isFile())
        return SettingsRead::NoSetupFile;

    ProjectContext ctx;
    ctx.appDir = appDir;
    ctx.projectFolder = folder;
    ctx.op = &op;
    ctx.mayRestore = false;
    ProjectSetup& p = experiment.Project;
    p.Num_proj = static_cast<qint16>(projectNumber);
    LoadSetupFile(p, ctx);
    LoadChannelEnabled(p, ctx);
    LoadChannelThresholds(p, ctx);
    LoadGroupNames(p, ctx);
    LoadChannelGroups(p, ctx);

    if (!ReadPlateOrBackup(appDir, p.Plate_format, experiment.Plate)) {
        op.inform(QStringLiteral("Multiwell Configuration File ") + p.Plate_format +
                  QStringLiteral(".dat or .bak not found"));
        return SettingsRead::PlateMissing;
    }
    experiment.PlateRead = true;
    return SettingsRead::Read;
}

int BeamChannel(const PlateFormat& plate, int well, int beam)
{
    // The plate's (well, beam) table holds 0 where there is no beam, which is
    // also channel 0: the channel tables settle which it is.
    const int ch = plate.WellBeamChannel(well, beam);
    if (ch < 0 || ch >= kChannels || plate.ChannelWell[ch] != well || plate.ChannelBeam[ch] != beam)
        return -1;
    return ch;
}

QVector<WellBeam> WellBeams(const PlateFormat& plate, int well)
{
    QVector<WellBeam> beams;
    for (int beam = 0; beam <= plate.MaxBeam; ++beam)
        if (const int ch = BeamChannel(plate, well, beam); ch >= 0)
            beams.push_back({beam, ch});
    return beams;
}

bool ParseWellLabel(const QString& label, int& row, int& column)
{
    const QString t = label.trimmed();
    if (t.size() < 2 || t[0] < u'A' || t[0] > u'Z')
        return false;
    bool ok = false;
    column = t.mid(1).toInt(&ok);
    row = t[0].unicode() - u'A';
    return ok && column >= 1;
}

QStringList RowLetters(int rows)
{
    QStringList letters;
    for (int r = 0; r < rows; ++r)
        letters << QString(QChar(u'A' + r));
    return letters;
}

QStringList ColumnNumbers(int columns)
{
    QStringList numbers;
    for (int c = 1; c <= columns; ++c)
        numbers << QString::number(c);
    return numbers;
}

QStringList GroupEntries(const ProjectSetup& project)
{
    std::array<bool, kChannelTable> used{};
    for (int ch = 0; ch < kChannels; ++ch) {
        const int g = project.ChannelGroup[ch];
        if (g >= 0 && g < kChannelTable)
            used[g] = true;
    }
    QStringList entries;
    for (int g = 0; g < kChannelTable; ++g)
        if (used[g])
            entries << QStringLiteral("%1_%2").arg(g, 3, 10, QLatin1Char('0')).arg(project.GroupName[g]);
    entries << QStringLiteral("999_Free");
    return entries;
}

int GroupOfEntry(const QString& entry)
{
    const int number = static_cast<int>(NumericValue(entry.left(3)));
    return number == kFreeGroupEntry ? -1 : number;
}

QVector<int> WellsOfGroup(const PlateFormat& plate, const ProjectSetup& project, int group)
{
    QVector<int> wells;
    for (int well = 0; well <= plate.MaxWell; ++well) {
        const int ch = BeamChannel(plate, well, 0);
        if (ch >= 0 && project.ChannelGroup[ch] == group)
            wells.push_back(well);
    }
    return wells;
}

} // namespace bandora
