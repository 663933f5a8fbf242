#include "SetupFile.h"

#include "ProjectFiles.h"
#include "RecordSyntax.h"
#include "core/common/Operator.h"

#include <QDir>
#include <QFileInfo>

#include <array>
#include <optional>

// setup.dat, 20 lines; quoted headers on the odd lines, values on the even ones:
//
//   line  content
//   1-2   "Project Setup: ..."    Num_proj, "Name", "Working_folder", "Plate_format"
//   3-4   "<Aq_mode>,..."          Aq_mode, Aq_lapse, Sample_Rate, RT_Buffer, DSP_Method, DSP_Interval
//   5-6   "<Binary_Acq>,..."       Binary_Acq, Threshold_Counter, Cal_value, Cal_mode, Save_counts, Save_real
//   7-8   "Tools: ..."             Menu1 .. Menu6
//   9-20  "Mn1: ..." .. "Mn6: ..." MenuParam rows 1 .. 6, six integers each
//
// The load counts how far it got (the "ID#" of its messages): 1 for lines 1-2,
// 2 for 3-4, 3 for 5-6, 4 for 7-8, 5..10 for the tool rows 1..6, 11 when done.
// A file of 6 to 19 lines (written before the tools existed) carries only the
// first three value lines and leaves the tools as they were.

namespace bandora {

namespace {

constexpr int kStepsDone = 11;
constexpr int kLinesWithTools = 20;
constexpr int kLinesWithSettings = 6;
// An experiment folder's setup.dat must reach at least the first tool row to
// be worth restoring from.
constexpr int kLinesWorthRestoring = 16;

const QString kHeaderLine1 = QStringLiteral("Project Setup: <Num_proj>,<Name>,<Working_folder>,<Plate_format>");
const QString kHeaderLine3 = QStringLiteral("<Aq_mode>,<Aq_lapse>,<Sample_Rate>,<RT_Buffer>,<DSP_Method>,<DSP_Interval>");
const QString kHeaderLine5 =
    QStringLiteral("<Binary_Acq>,<Threshold_Counter>,<Cal_value>,<Cal_mode>,<Save_counts>,<Save_real>");
const QString kHeaderLine7 = QStringLiteral("Tools: <Menu1:Cal>, <Menu2:Light>, <Menu3:Temp>, <Menu4>, <Menu5>, <Menu6>");
const QString kMenuHeaders[7] = {
    QString(),
    QStringLiteral("Mn1: <Organism>, <Enab_Cal>, <Enab_Zero>, <SNRx10>,,"),
    QStringLiteral("Mn2: <Enable>, <Time_ON>, <v3:Time_OFF>,,,"),
    QStringLiteral("Mn3: <v1:Enable>, <v2:Tempx10>,,,,"),
    QStringLiteral("Mn4: ,,,,,"),
    QStringLiteral("Mn5: ,,,,,"),
    QStringLiteral("Mn6: ,,,,,"),
};

QString FiveDigits(int number) { return QStringLiteral("%1").arg(number, 5, 10, QLatin1Char('0')); }

// The file as the messages name it, in the operator's familiar notation.
QString MessageFileName(int number) { return QStringLiteral("[\\p%1\\setup.dat]").arg(FiveDigits(number)); }

// Six integers of one value line; fewer fields is an error, more are ignored.
std::array<qint16, 6> SixIntegers(RecordReader& reader)
{
    const QVector<RecordField> record = reader.ReadRecord();
    if (record.size() < 6)
        throw RecordError("missing field");
    std::array<qint16, 6> v{};
    for (int k = 0; k < 6; ++k)
        v[k] = RecordReader::Int16Of(record[k]);
    return v;
}

struct SetupReadError {
    int step;
};

// Reads the file into project, part by part; a part is stored only when all
// its fields were read. Returns the number text of line 2. Throws
// SetupReadError with the step reached.
QString ReadSetupFile(const QString& path, ProjectSetup& project)
{
    int step = 1;
    try {
        RecordReader reader = RecordReader::FromFile(path);
        // A file too short to hold even the settings is as damaged as a
        // missing one: reading nothing from it would leave another project's
        // values in place under this project's number.
        if (reader.LineCount() < kLinesWithSettings)
            throw RecordError("file too short");

        reader.SkipLine();
        const QVector<RecordField> line2 = reader.ReadRecord();
        if (line2.size() < 4)
            throw RecordError("missing field");
        project.Name = line2[1].text;
        project.Working_folder = line2[2].text;
        project.Plate_format = line2[3].text;

        step = 2;
        reader.SkipLine();
        const auto line4 = SixIntegers(reader);
        project.Aq_mode = line4[0];
        project.Aq_lapse = line4[1];
        project.Sample_Rate = line4[2];
        project.RT_Buffer = line4[3];
        project.DSP_Method = line4[4];
        project.DSP_Interval = line4[5];

        step = 3;
        reader.SkipLine();
        const auto line6 = SixIntegers(reader);
        project.Binary_Acq = line6[0];
        project.Threshold_Counter = line6[1];
        project.Cal_value = line6[2];
        project.Cal_mode = line6[3];
        project.Save_counts = line6[4];
        project.Save_real = line6[5];

        if (reader.LineCount() >= kLinesWithTools) {
            step = 4;
            reader.SkipLine();
            const auto line8 = SixIntegers(reader);
            for (int k = 1; k <= 6; ++k)
                project.Menu(k) = line8[k - 1];
            for (int row = 1; row <= 6; ++row) {
                step = 4 + row;
                reader.SkipLine();
                project.MenuParam[row] = SixIntegers(reader);
            }
            step = kStepsDone;
        }
        return line2[0].text;
    } catch (const RecordError&) {
        throw SetupReadError{step};
    }
}

// The defaults of every part of the file from the failed step on; parts read
// before the failure keep their values.
void DefaultsFromStep(ProjectSetup& project, int step, const QString& appDir)
{
    const ProjectSetup d;
    if (step < 2) {
        project.Name = d.Name;
        project.Working_folder = DefaultWorkingFolder(appDir, project.Num_proj);
        project.Plate_format = d.Plate_format;
    }
    if (step < 3) {
        project.Aq_mode = d.Aq_mode;
        project.Aq_lapse = d.Aq_lapse;
        project.Sample_Rate = d.Sample_Rate;
        project.RT_Buffer = d.RT_Buffer;
        project.DSP_Method = d.DSP_Method;
        project.DSP_Interval = d.DSP_Interval;
    }
    if (step < 4) {
        project.Binary_Acq = d.Binary_Acq;
        project.Threshold_Counter = d.Threshold_Counter;
        project.Cal_value = d.Cal_value;
        project.Cal_mode = d.Cal_mode;
        project.Save_counts = d.Save_counts;
        project.Save_real = d.Save_real;
    }
    if (step < 5)
        for (int k = 1; k <= 6; ++k)
            project.Menu(k) = d.Menu(k);
    for (int row = 1; row <= 6; ++row)
        if (step < 5 + row)
            project.MenuParam[row] = d.MenuParam[row];
}

// Puts a good copy of setup.dat back in the project folder: the backup of the
// last save, else the copy in the newest experiment folder. Returns the
// experiment folder name used (empty for the backup), or nothing.
std::optional<QString> RestoreSetupFile(const QString& projectFolder)
{
    const QDir folder(projectFolder);
    const QString target = folder.filePath(QStringLiteral("setup.dat"));
    const QString backup = folder.filePath(QStringLiteral("setup.bak"));
    if (QFileInfo(backup).isFile())
        return CopyFile(backup, target) == 1 ? std::optional<QString>(QString()) : std::nullopt;

    const QString newest = NewestExperimentFolder(projectFolder);
    if (newest.isEmpty())
        return std::nullopt;
    const QString copy = QDir(folder.filePath(newest)).filePath(QStringLiteral("setup.dat"));
    if (!QFileInfo(copy).isFile() || CountLines(copy) <= kLinesWorthRestoring)
        return std::nullopt;
    return CopyFile(copy, target) == 1 ? std::optional<QString>(newest) : std::nullopt;
}

void LoadSetupFileOnce(ProjectSetup& project, const ProjectContext& ctx, bool mayRestore)
{
    Operator& op = *ctx.op;
    const int number = project.Num_proj;
    const QString path = QDir(ctx.projectFolder).filePath(QStringLiteral("setup.dat"));
    QString numberText;
    try {
        numberText = ReadSetupFile(path, project);
    } catch (const SetupReadError& e) {
        const QString checkAgain = QStringLiteral("Warning!! PLEASE Re-Check setup values before RUN");
        // Project 0 lives in the application folder and has no copies to
        // restore from. A restored file is read once more; if that copy is
        // damaged too the defaults are taken rather than restoring forever.
        if (number >= 1 && e.step < kStepsDone && mayRestore) {
            project.Working_folder = DefaultWorkingFolder(ctx.appDir, number);
            if (const auto from = RestoreSetupFile(ctx.projectFolder)) {
                op.inform(QStringLiteral("Error %1 ID#%2 => Loading values from: p%3\\%4")
                              .arg(MessageFileName(number))
                              .arg(e.step)
                              .arg(FiveDigits(number), *from));
                op.inform(checkAgain);
                LoadSetupFileOnce(project, ctx, false);
                return;
            }
        }
        const QString named = ctx.mayRestore ? MessageFileName(number)
                                             : QStringLiteral("[%1]").arg(QDir::toNativeSeparators(path));
        op.inform(QStringLiteral("Error %1 ID#%2 => Loading default values...").arg(named).arg(e.step));
        op.inform(checkAgain);
        DefaultsFromStep(project, e.step, ctx.appDir);
        return;
    }

    if (NumericValue(numberText) != number) {
        const QString warning = QStringLiteral("Warning: Project ID# <> Folder Name [p00%1]").arg(number);
        if (ctx.splashStatus)
            ctx.splashStatus(warning);
        op.inform(warning);
    }
}

} // namespace

QString DefaultWorkingFolder(const QString& appDir, int number)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(appDir).filePath(ProjectFolderName(number)))) +
           QDir::separator();
}

void LoadSetupFile(ProjectSetup& project, const ProjectContext& ctx)
{
    LoadSetupFileOnce(project, ctx, ctx.mayRestore);
}

void WriteSetupFile(const ProjectSetup& p, const QString& folder)
{
    RecordWriter w;
    w.Header(kHeaderLine1).Record({qint64(p.Num_proj), p.Name, p.Working_folder, p.Plate_format});
    w.Header(kHeaderLine3).Record({qint64(p.Aq_mode), qint64(p.Aq_lapse), qint64(p.Sample_Rate), qint64(p.RT_Buffer),
                                   qint64(p.DSP_Method), qint64(p.DSP_Interval)});
    w.Header(kHeaderLine5).Record({qint64(p.Binary_Acq), qint64(p.Threshold_Counter), qint64(p.Cal_value),
                                   qint64(p.Cal_mode), qint64(p.Save_counts), qint64(p.Save_real)});
    w.Header(kHeaderLine7).Record({qint64(p.Menu1), qint64(p.Menu2), qint64(p.Menu3), qint64(p.Menu4),
                                   qint64(p.Menu5), qint64(p.Menu6)});
    for (int row = 1; row <= 6; ++row) {
        QVector<RecordWriter::Value> values;
        for (qint16 v : p.MenuParam[row])
            values << qint64(v);
        w.Header(kMenuHeaders[row]).Record(values);
    }
    w.WriteTo(QDir(folder).filePath(QStringLiteral("setup.dat")));
}

} // namespace bandora
