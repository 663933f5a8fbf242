#include "PlateFiles.h"

#include "ProjectSetup.h"
#include "RecordSyntax.h"
#include "core/common/Operator.h"

#include <QDir>
#include <QFileInfo>

// A plate file (w384.dat, w96f.dat, ...) is read as a stream of fields:
//
//   order  field                       type
//   1      title                       text (ignored)
//   2      description                 text (ignored)
//   3-5    Rows, RowPitch, RowOffset   integer, number, number (384-grid steps)
//   6-8    Columns, ColumnPitch, ColumnOffset
//   9      table heading               text (ignored)
//   then per channel 0, 1, ...:        channel, well, beam
//
// Each channel record is a line of exactly these three fields, the first
// naming its own channel ("CH17", or 17): a line lost, doubled or swapped, or
// a field too many, would shift every later channel into another well.
//
// Well -1 (or any negative well or beam) marks a channel the plate does not use.

namespace bandora {

namespace {

// Bounds on what a plate file may declare. No plate has more wells than the
// 384 channels could ever serve several times over, and a beam index beyond
// the channel count is meaningless; larger values come only from damaged
// files and would make the (well, beam) table enormous.
constexpr int kMaxWellIndex = 1535;
constexpr int kMaxBeamIndex = 383;
constexpr int kMaxGridLines = 64;

// The plate picture divides by the pitches and scales pitches and offsets by
// 100 units per grid step; a pitch of zero or an offset of astronomical size
// would break it, and no plate comes near these bounds (the 384-well grid is
// 24 steps wide).
constexpr double kMaxGridSteps = 64.0;

bool SaneGeometry(double pitch, double offset)
{
    return pitch > 0.0 && pitch <= kMaxGridSteps && offset >= -kMaxGridSteps && offset <= kMaxGridSteps;
}

// The channel a record's first field names: "CH17" or 17; -1 when neither.
int RecordChannel(const RecordField& field)
{
    QString text = field.text.trimmed();
    if (text.startsWith(QLatin1String("CH"), Qt::CaseInsensitive))
        text.remove(0, 2);
    bool ok = false;
    const int channel = text.toInt(&ok);
    return ok ? channel : -1;
}

struct PlateReadError {
    int step;
    QString reason;
};

// Reads a plate file into plate; throws PlateReadError with the step reached
// (0 until open, 1 leading fields, 2 channel records, 3 after). On error the
// plate keeps whatever was already stored, as the fallback expects.
void ReadPlateFile(const QString& path, PlateFormat& plate)
{
    int step = 0;
    try {
        plate.MaxWell = 0;
        plate.MaxBeam = 0;
        RecordReader reader = RecordReader::FromFile(path);
        step = 1;
        reader.ReadText();
        reader.ReadText();
        const qint16 rows = reader.ReadInt16();
        const double rowPitch = reader.ReadNumber();
        const double rowOffset = reader.ReadNumber();
        const qint16 columns = reader.ReadInt16();
        const double columnPitch = reader.ReadNumber();
        const double columnOffset = reader.ReadNumber();
        if (rows < 1 || rows > kMaxGridLines || columns < 1 || columns > kMaxGridLines)
            throw RecordError("well grid out of range");
        if (!SaneGeometry(rowPitch, rowOffset) || !SaneGeometry(columnPitch, columnOffset))
            throw RecordError("well pitch or offset out of range");
        plate.Rows = rows;
        plate.RowPitch = rowPitch;
        plate.RowOffset = rowOffset;
        plate.Columns = columns;
        plate.ColumnPitch = columnPitch;
        plate.ColumnOffset = columnOffset;
        reader.ReadText();
        step = 2;
        for (int k = 0; !reader.AtEnd() && k <= kChannels; ++k) {
            const QVector<RecordField> record = reader.ReadRecord();
            if (record.size() != 3)
                throw RecordError(record.size() < 3 ? "missing field" : "extra field");
            if (RecordChannel(record[0]) != k)
                throw RecordError("channel record out of order");
            qint16 well = RecordReader::Int16Of(record[1]);
            qint16 beam = RecordReader::Int16Of(record[2]);
            if (well > kMaxWellIndex || beam > kMaxBeamIndex)
                throw RecordError("well or beam index out of range");
            if (well < 0 || beam < 0) {
                well = -1;
                beam = 0;
            }
            plate.ChannelWell[k] = well;
            plate.ChannelBeam[k] = beam;
            plate.MaxWell = qMax(plate.MaxWell, well);
            plate.MaxBeam = qMax(plate.MaxBeam, beam);
        }
        step = 3;
        // Channels after the last record keep the previous plate's entries.
        // When those name wells or beams beyond what this file declares, the
        // (well, beam) table cannot hold them: the file does not describe a
        // whole plate.
        for (int ch = 0; ch < kChannels; ++ch) {
            const int well = plate.ChannelWell[ch];
            const int beam = plate.ChannelBeam[ch];
            if (well >= 0 && (well > plate.MaxWell || beam < 0 || beam > plate.MaxBeam))
                throw RecordError("channels left from the previous plate lie beyond this plate's wells");
        }
    } catch (const RecordError& e) {
        throw PlateReadError{step, QString::fromLatin1(e.what())};
    }
    plate.RebuildWellBeamChannel();
}

} // namespace

QString PlateFilePath(const QString& appDir, const QString& plateName)
{
    const QDir dir(appDir);
    const QString fileName = plateName + QStringLiteral(".dat");
    if (QFileInfo(dir.filePath(fileName)).isFile())
        return dir.filePath(fileName);
    // Plate names are lower case, but a file copied from another workstation
    // may be "W48.DAT"; a case-sensitive file system must still find it.
    const QStringList candidates = dir.entryList({fileName}, QDir::Files, QDir::Name);
    for (const QString& candidate : candidates)
        if (candidate.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(candidate);
    return dir.filePath(fileName);
}

PlateFormat BuiltInPlate(const QString& name, const PlateFormat& previous)
{
    PlateFormat p = previous;
    p.ChannelWell.fill(0);
    p.ChannelBeam.fill(0);
    if (name == QLatin1String("w384")) {
        p.Rows = 16; p.RowPitch = 1.0; p.RowOffset = 0.0;
        p.Columns = 24; p.ColumnPitch = 1.0; p.ColumnOffset = 0.0;
        for (int ch = 0; ch < kChannels; ++ch)
            p.ChannelWell[ch] = static_cast<qint16>(ch);
        p.MaxWell = 383;
        p.MaxBeam = 0;
    } else {
        // The 96-well maps use every other grid row; w96u uses only the even
        // grid columns (one beam per well), w96f adds the odd column beside
        // it as a second beam.
        const bool twoBeams = name != QLatin1String("w96u");
        p.Rows = 8; p.RowPitch = 2.0; p.RowOffset = -0.5;
        p.Columns = 12; p.ColumnPitch = 2.0; p.ColumnOffset = twoBeams ? 0.0 : -0.5;
        int well = 0;
        for (int c = 0; c < 24; ++c) {
            for (int r = 0; r < 16; r += 2) {
                const int ch = 16 * c + r;
                p.ChannelWell[ch + 1] = -1;
                if (c % 2 == 0) {
                    p.ChannelWell[ch] = static_cast<qint16>(well++);
                } else if (twoBeams) {
                    p.ChannelWell[ch] = p.ChannelWell[ch - 16];
                    p.ChannelBeam[ch] = 1;
                } else {
                    p.ChannelWell[ch] = -1;
                }
            }
        }
        p.MaxWell = 95;
        p.MaxBeam = twoBeams ? 1 : 0;
    }
    p.RebuildWellBeamChannel();
    return p;
}

void LoadPlate(ProjectSetup& project, PlateFormat& plate, const QString& appDir, Operator& op)
{
    const QString name = project.Plate_format;
    try {
        ReadPlateFile(PlateFilePath(appDir, name), plate);
    } catch (const PlateReadError& e) {
        op.inform(QStringLiteral("Error [\\%1.dat] ID#%2 => Loading plate format from default: 384,96f or 96u...")
                      .arg(name)
                      .arg(e.step));
        if (name != QLatin1String("w96f") && name != QLatin1String("w384") && name != QLatin1String("w96u"))
            project.Plate_format = QStringLiteral("w96f");
        plate = BuiltInPlate(project.Plate_format, plate);
    }
}

std::optional<QString> LoadPlateNoFallback(const QString& plateName, PlateFormat& plate, const QString& appDir)
{
    return LoadPlateFileNoFallback(PlateFilePath(appDir, plateName), plate);
}

std::optional<QString> LoadPlateFileNoFallback(const QString& path, PlateFormat& plate)
{
    PlateFormat candidate = plate;
    try {
        ReadPlateFile(path, candidate);
    } catch (const PlateReadError& e) {
        return e.reason;
    }
    plate = candidate;
    return std::nullopt;
}

QStringList ListPlateFiles(const QString& appDir)
{
    QStringList names;
    // Name filters match regardless of case; the order is the alphabetical
    // one a directory listing of the program folder shows.
    const QFileInfoList files =
        QDir(appDir).entryInfoList({QStringLiteral("w*.dat")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& f : files) {
        const QString name = f.completeBaseName().toLower();
        if (!names.contains(name))
            names << name;
    }
    return names;
}

QStringList KnownPlateTexts(const QString& plateName)
{
    const QString n = plateName.toLower();
    if (n == QLatin1String("w384"))
        return {QStringLiteral("384 Well microplate [1microbeams/well]"), QStringLiteral("USE 'W384' plate Adapter")};
    if (n == QLatin1String("w96f"))
        return {QStringLiteral("96 Wells flat bottom [2microbeams/well]"), QStringLiteral("USE 'W96F' plate Adapter")};
    if (n == QLatin1String("w96u"))
        return {QStringLiteral("96 Wells U shape bottom [1microbeam/well]"), QStringLiteral("USE 'W96U' plate Adapter")};
    if (n == QLatin1String("w48"))
        return {QStringLiteral("48 Wells flat bottom [1-3microbeams/well]"),
                QStringLiteral("USE 'W384' or 'W48' plate Adapter")};
    if (n == QLatin1String("w24"))
        return {QStringLiteral("24 Wells flat bottom [4microbeams/well]"),
                QStringLiteral("USE 'W384' or 'W24' plate Adapter")};
    if (n == QLatin1String("w6"))
        return {QStringLiteral("6 Wells flat bottom [30-32microbeams/well]"),
                QStringLiteral("USE 'W384' or 'W6' plate Adapter")};
    if (n == QLatin1String("w96flat"))
        return {QStringLiteral("96 Wells flat bottom [4microbeams/well]"),
                QStringLiteral("USE 'W384' or 'W96x4' plate Adapter"),
                QStringLiteral("NOTE: DISCONTINUED. Contact provider")};
    return {};
}

ApplyPlateResult ApplyPlate(const QString& plateName, ProjectSetup& project, PlateFormat& plate,
                            const QString& appDir, Operator& op)
{
    if (plateName.isEmpty() || !QFileInfo(PlateFilePath(appDir, plateName)).isFile()) {
        op.inform(QStringLiteral("Selection Error"));
        return ApplyPlateResult::SelectionError;
    }
    if (op.ask(QStringLiteral("Load New Plate configuration?"), Buttons::YesNo) != Answer::Yes)
        return ApplyPlateResult::Declined;

    // Read the new plate before touching the project: a damaged file must not
    // cost the operator the groups of the plate that stays.
    PlateFormat candidate = plate;
    if (const auto error = LoadPlateNoFallback(plateName, candidate, appDir)) {
        op.inform(QStringLiteral("Error [\\%1.dat] => the plate file cannot be read (%2). The plate %3 stays in use.")
                      .arg(plateName, *error, project.Plate_format));
        return ApplyPlateResult::Malformed;
    }

    for (int ch = 0; ch < kChannelTable; ++ch)
        project.ChannelGroup[ch] = -1;
    for (int g = 0; g < kChannelTable; ++g)
        project.GroupName[g] = QStringLiteral("Free");

    const QStringList texts = KnownPlateTexts(plateName);
    if (!texts.isEmpty())
        op.inform(texts.join(QStringLiteral("\r\n")));
    project.Plate_format = plateName;
    plate = candidate;
    return ApplyPlateResult::Applied;
}

} // namespace bandora
