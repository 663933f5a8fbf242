#include "ExperimentSettings.h"

#include "core/common/Operator.h"
#include "core/storage/ChannelTableFiles.h"
#include "core/storage/PlateFiles.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RecordSyntax.h"

#include <QDir>
#include <QFileInfo>

namespace bandora {

namespace {

// The plate a damaged setup.dat leaves us with: that of the built-in project.
const QString kDefaultPlate = QStringLiteral("w96f");

struct SetupHead {
    qint16 number = 0;
    QString plate;
    qint16 rtBuffer = 500;
};

// Lines 2 and 4 of setup.dat: the project number and plate name, and the
// buffer-cycle length. Throws RecordError.
SetupHead ReadSetupHead(const QString& path)
{
    RecordReader reader = RecordReader::FromFile(path);
    reader.SkipLine();
    const QVector<RecordField> line2 = reader.ReadRecord();
    if (line2.size() < 4)
        throw RecordError("missing field");
    SetupHead head;
    head.number = RecordReader::Int16Of(line2[0]);
    head.plate = line2[3].text.trimmed();
    reader.SkipLine();
    // All six settings or none: with one missing, the fields after the gap
    // would be taken for their neighbours (DSP_Method for RT_Buffer).
    const QVector<RecordField> line4 = reader.ReadRecord();
    if (line4.size() != 6)
        throw RecordError("not six fields");
    head.rtBuffer = RecordReader::Int16Of(line4[3]);
    if (head.plate.isEmpty())
        throw RecordError("no plate format");
    return head;
}

// Passes every message on and notes that one was shown: the group loaders
// say so only through their message when they fall back to the defaults.
class NotingOperator final : public Operator {
public:
    explicit NotingOperator(Operator& inner) : inner_(inner) {}
    Answer ask(const QString& text, Buttons buttons) override
    {
        shown = true;
        return inner_.ask(text, buttons);
    }
    QString prompt(const QString& text, const QString& answer) override { return inner_.prompt(text, answer); }
    bool shown = false;

private:
    Operator& inner_;
};

} // namespace

ExperimentSettings::ExperimentSettings()
{
    const ProjectSetup defaults;
    GroupName = defaults.GroupName;
    ChannelGroup = defaults.ChannelGroup;
}

int ExperimentSettings::LargestGroup() const
{
    int g = -1;
    for (int ch = 0; ch < kChannels; ++ch)
        g = qMax<int>(g, ChannelGroup[ch]);
    return g;
}

QString ExperimentSettings::GroupLabel(int group) const
{
    if (group < 0 || group >= kChannelTable)
        return QStringLiteral("\"999_Free\"");
    return QStringLiteral("\"%1_%2\"").arg(group, 3, 10, QLatin1Char('0')).arg(GroupName[group]);
}

SettingsReadResult ReadExperimentSettings(const QString& experimentFolder, const QString& appDir, Operator& op,
                                          ExperimentSettings& settings)
{
    SettingsReadResult result;
    const QDir folder(experimentFolder);

    const QString setupPath = folder.filePath(QStringLiteral("setup.dat"));
    try {
        const SetupHead head = ReadSetupHead(setupPath);
        settings.ProjectNumber = head.number;
        settings.PlateName = head.plate;
        settings.RT_Buffer = head.rtBuffer;
    } catch (const RecordError&) {
        op.inform(QStringLiteral("Error [%1] => Loading default values...").arg(QDir::toNativeSeparators(setupPath)));
        result.UsedDefaults = true;
        settings.ProjectNumber = 0;
        settings.PlateName = kDefaultPlate;
        settings.RT_Buffer = ProjectSetup().RT_Buffer;
    }

    // The group tables go through the project loaders, which show their own
    // messages and take the default groups on a damaged file; a short file
    // leaves the defaults after its last record.
    ProjectSetup groups;
    groups.Num_proj = settings.ProjectNumber;
    NotingOperator noting(op);
    ProjectContext ctx{appDir, experimentFolder, &noting, {}};
    ctx.mayRestore = false; // an experiment's copies: read, named by their own path
    LoadGroupNames(groups, ctx);
    LoadChannelGroups(groups, ctx);
    if (noting.shown)
        result.UsedDefaults = true;
    settings.GroupName = groups.GroupName;
    settings.ChannelGroup = groups.ChannelGroup;

    // The plate is read into a blank plate, so that a short plate file leaves
    // the channels after its last record out of every well instead of
    // inheriting another plate's wells.
    PlateFormat blank;
    blank.ChannelWell.fill(-1);
    blank.ChannelBeam.fill(0);
    const QDir app(appDir);
    const QString dat = PlateFilePath(appDir, settings.PlateName);
    const QString bak = app.filePath(settings.PlateName + QStringLiteral(".bak"));
    QStringList damaged;
    for (const QString& path : {dat, bak}) {
        PlateFormat plate = blank;
        if (!QFileInfo(path).exists())
            continue;
        const auto error = LoadPlateFileNoFallback(path, plate);
        if (!error) {
            settings.Plate = ReportGeometry::FromPlate(plate);
            return result;
        }
        damaged << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), *error);
    }
    // A plate file that is there but damaged is named with its fault: "not
    // found" would send the operator looking for a file that exists.
    if (!damaged.isEmpty())
        op.inform(QStringLiteral("Multiwell Configuration File can't be read: %1").arg(damaged.join(QStringLiteral("; "))));
    else
        op.inform(QStringLiteral("Multiwell Configuration File %1.dat or .bak not found").arg(settings.PlateName));
    result.PlateFound = false;
    return result;
}

} // namespace bandora
