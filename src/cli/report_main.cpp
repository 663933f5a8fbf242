// bandora-report: the report window's reports from a script. It writes the
// same files as the window with the same settings (one implementation of the
// binning and the layouts serves both), prints the path of each file written
// and opens nothing. Run it with --help for the options.

#include "core/analysis/PerWellExport.h"
#include "core/analysis/RawReanalysis.h"
#include "core/analysis/ReportGenerator.h"
#include "core/common/Operator.h"
#include "core/storage/ApplicationFolder.h"
#include "core/exports/DamExport.h"
#include "core/exports/LongTable.h"
#include "core/storage/RecordSyntax.h"
#include "core/storage/RunManifest.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <optional>

using namespace bandora;

namespace {

// Exit statuses.
constexpr int kDone = 0;
constexpr int kFailed = 1;    // nothing written (or counts.bin not replaced)
constexpr int kUsage = 2;     // the command line is wrong
constexpr int kFellBack = 3;  // written, but a file of the experiment was damaged: see the messages

const char kHelp[] = R"(usage: bandora-report FOLDER [options]

Writes the report of the recorded experiment in FOLDER into FOLDER, exactly
as the report window does with the same settings, and prints its path:
FOLDER/report.csv or FOLDER/report.txt, or report_1 when "report" cannot be
written (for instance while a spreadsheet holds it open).

Report options (the window's settings):
  --bin MINUTES             bin size in minutes (default 30). Less than 2
                            becomes 2; a bin longer than the recording
                            shrinks to whole quarter hours.
  --layout rows|list|array  the output format (default rows)
  --type csv|txt            the file type (default csv)
  --separator TEXT          the field separator (default "," for csv, a
                            blank for txt, as the window's spacer box)
  --std-error               add the groups' standard error
  --std-dev                 add the groups' standard deviation
  --n                       add the number of wells of each group
  --app-dir DIR             the application folder holding the plate files
                            (default: the folder of this program when it
                            holds config.dat, else ~/.local/share/bandora,
                            else the installed copy)

Per-well export:
  --per-well                write one file per well instead of the report:
                            30-minute steps stamped with the date and time,
                            counted from the run start the folder name
                            (ddmmyyyy_hhmm) spells, else from now. Prints
                            the path of every file.

Exports for other analysis tools (instead of the report; together or alone):
  --dam DIR                 the monitor files of the activity-monitor tools
                            (damr, ShinyR-DAM, VANESSA-DAM): 32 wells per
                            file, one line per minute, and DIR/metadata.csv
  --long FILE               one CSV row per well and bin (--bin minutes)
                            for pandas, R and spreadsheets

Re-analysis from the raw signals (the real-time files 0.bin, 1.bin, ...):
  --reanalyze               count the activity again before the report
  --method 0|1|2            0 Threshold+Binary, 1 Threshold Avrg,
                            2 uOrganism (Motility Index)
  --threshold T             sensitivity, 1.1 to 6.0 (1.8 for C. elegans,
                            2.8 for zebrafish larvae)
  --lapse-hours H           analyse the records whose elapsed-minute field
                            is below H x 60 (default 24; less than 5
                            minutes means the first hour)
  --replace                 analyse every record and replace the counts of
                            counts.bin with the new ones (the old file stays
                            whole until the new one is complete)

  --help                    show this text

Messages go to standard error. Exit status: 0 written; 1 not written (no
counts.bin, no plate file, unreadable files, counts.bin not replaced,
nothing to report: the recording ended before its first bin or, for
--per-well, before its first 30 minutes);
2 wrong command line; 3 written, but a setup file of the experiment was
damaged and defaults were taken (the messages say which).
)";

// Messages to standard error; every question is answered Yes, since the
// command line already said what to do.
class StderrOperator final : public Operator {
public:
    Answer ask(const QString& text, Buttons buttons) override
    {
        std::fprintf(stderr, "bandora-report: %s\n", qPrintable(text));
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }
    QString prompt(const QString& text, const QString&) override
    {
        std::fprintf(stderr, "bandora-report: %s\n", qPrintable(text));
        return {};
    }
};

struct Arguments {
    QString folder;
    QString appDir;
    QString bin = QStringLiteral("30");
    ReportOptions options;
    bool separatorGiven = false;
    bool perWell = false;
    bool reanalyze = false;
    std::optional<int> method;
    std::optional<double> threshold;
    std::optional<QString> lapseHours;
    bool replace = false;
    bool help = false;
    QString damDir;
    QString longFile;
};

int UsageError(const QString& text)
{
    std::fprintf(stderr, "bandora-report: %s\nTry 'bandora-report --help'.\n", qPrintable(text));
    return kUsage;
}

// Parses the command line; returns an exit status when it is wrong.
std::optional<int> Parse(const QStringList& args, Arguments& a)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        auto value = [&](QString& out) {
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        QString v;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            a.help = true;
        } else if (arg == QLatin1String("--bin")) {
            double minutes = 0;
            if (!value(a.bin) || !ParseNumber(a.bin, minutes))
                return UsageError(QStringLiteral("--bin needs a number of minutes"));
        } else if (arg == QLatin1String("--layout")) {
            if (!value(v))
                return UsageError(QStringLiteral("--layout needs rows, list or array"));
            if (v == QLatin1String("rows"))
                a.options.Layout = ReportLayout::Rows;
            else if (v == QLatin1String("list"))
                a.options.Layout = ReportLayout::List;
            else if (v == QLatin1String("array"))
                a.options.Layout = ReportLayout::Array;
            else
                return UsageError(QStringLiteral("unknown layout '%1': rows, list or array").arg(v));
        } else if (arg == QLatin1String("--type")) {
            if (!value(v))
                return UsageError(QStringLiteral("--type needs csv or txt"));
            if (v == QLatin1String("csv"))
                a.options.FileType = ReportFileType::Csv;
            else if (v == QLatin1String("txt"))
                a.options.FileType = ReportFileType::Txt;
            else
                return UsageError(QStringLiteral("unknown file type '%1': csv or txt").arg(v));
        } else if (arg == QLatin1String("--separator")) {
            if (!value(a.options.Separator))
                return UsageError(QStringLiteral("--separator needs a text"));
            a.separatorGiven = true;
        } else if (arg == QLatin1String("--std-error")) {
            a.options.StdError = true;
        } else if (arg == QLatin1String("--std-dev")) {
            a.options.StdDev = true;
        } else if (arg == QLatin1String("--n")) {
            a.options.WellCount = true;
        } else if (arg == QLatin1String("--app-dir")) {
            if (!value(a.appDir))
                return UsageError(QStringLiteral("--app-dir needs a folder"));
        } else if (arg == QLatin1String("--per-well")) {
            a.perWell = true;
        } else if (arg == QLatin1String("--reanalyze")) {
            a.reanalyze = true;
        } else if (arg == QLatin1String("--method")) {
            if (!value(v) || (v != QLatin1String("0") && v != QLatin1String("1") && v != QLatin1String("2")))
                return UsageError(QStringLiteral("--method needs 0, 1 or 2"));
            a.method = v.toInt();
        } else if (arg == QLatin1String("--threshold")) {
            double t = 0;
            if (!value(v) || !ParseNumber(v, t) || !ThresholdInRange(t))
                return UsageError(QStringLiteral("--threshold needs a number from 1.1 to 6.0"));
            a.threshold = t;
        } else if (arg == QLatin1String("--lapse-hours")) {
            double h = 0;
            if (!value(v) || !ParseNumber(v, h))
                return UsageError(QStringLiteral("--lapse-hours needs a number of hours"));
            a.lapseHours = v;
        } else if (arg == QLatin1String("--dam")) {
            if (!value(a.damDir) || a.damDir.isEmpty())
                return UsageError(QStringLiteral("--dam needs a folder"));
        } else if (arg == QLatin1String("--long")) {
            if (!value(a.longFile) || a.longFile.isEmpty())
                return UsageError(QStringLiteral("--long needs a file"));
        } else if (arg == QLatin1String("--replace")) {
            a.replace = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return UsageError(QStringLiteral("unknown option '%1'").arg(arg));
        } else if (a.folder.isEmpty()) {
            a.folder = arg;
        } else {
            return UsageError(QStringLiteral("one experiment folder only ('%1' is a second)").arg(arg));
        }
    }
    if (a.help)
        return std::nullopt;
    if (a.folder.isEmpty())
        return UsageError(QStringLiteral("no experiment folder given"));
    if (a.perWell && a.reanalyze)
        return UsageError(QStringLiteral("--per-well and --reanalyze go in separate runs"));
    if ((!a.damDir.isEmpty() || !a.longFile.isEmpty()) && (a.perWell || a.reanalyze))
        return UsageError(QStringLiteral("--dam and --long go in runs of their own"));
    const bool reanalysisOption = a.method || a.threshold || a.lapseHours || a.replace;
    if (reanalysisOption && !a.reanalyze)
        return UsageError(QStringLiteral("--method, --threshold, --lapse-hours and --replace go with --reanalyze"));
    if (a.reanalyze && (!a.method || !a.threshold))
        return UsageError(QStringLiteral("--reanalyze needs --method and --threshold"));
    if (a.lapseHours && a.replace)
        return UsageError(QStringLiteral("--lapse-hours and --replace exclude each other"));
    if (!a.separatorGiven && a.options.FileType == ReportFileType::Txt)
        a.options.Separator = QStringLiteral(" ");
    return std::nullopt;
}

void PrintPath(const QString& path) { std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path))); }

int Finish(bool written, const SettingsReadResult& settings) { return !written ? kFailed : settings.UsedDefaults ? kFellBack : kDone; }

// --dam and --long: both are tried; the status is the worst of the two.
int Export(const Arguments& a, Operator& op)
{
    bool failed = false, fellBack = false;
    if (!a.damDir.isEmpty()) {
        const DamResult dam = ExportDam(a.folder, a.appDir, a.damDir, op);
        for (const QString& file : dam.Files)
            PrintPath(file);
        if (!dam.Ok)
            std::fprintf(stderr, "bandora-report: %s\n", qPrintable(dam.Error));
        failed |= !dam.Ok;
        fellBack |= dam.UsedDefaults;
    }
    if (!a.longFile.isEmpty()) {
        const LongTableResult table = WriteLongTable(a.folder, a.appDir, a.bin, a.longFile, op);
        if (table.Ok)
            PrintPath(a.longFile);
        else
            std::fprintf(stderr, "bandora-report: %s\n", qPrintable(table.Error));
        failed |= !table.Ok;
        fellBack |= table.UsedDefaults;
    }
    return failed ? kFailed : fellBack ? kFellBack : kDone;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Arguments a;
    if (const auto status = Parse(QCoreApplication::arguments(), a))
        return *status;
    if (a.help) {
        std::fputs(kHelp, stdout);
        return kDone;
    }
    a.appDir = ExistingAppFolder(SystemAppFolderPlaces(a.appDir, QCoreApplication::applicationDirPath()));
    if (!QFileInfo(a.folder).isDir()) {
        std::fprintf(stderr, "bandora-report: %s: no such folder\n", qPrintable(a.folder));
        return kFailed;
    }

    StderrOperator op;
    ExperimentSettings settings;
    const QString runNotice = ManifestWarning(ReadRunManifest(a.folder));
    if (!runNotice.isEmpty())
        std::fprintf(stderr, "bandora-report: %s\n", qPrintable(runNotice));
    const QDateTime now = QDateTime::currentDateTime();

    if (!a.damDir.isEmpty() || !a.longFile.isEmpty())
        return Export(a, op);

    if (a.perWell) {
        PerWellRequest request;
        request.Folder = a.folder;
        request.AppDir = a.appDir;
        request.Now = now;
        request.DateSeparator = DateSeparator();
        request.TimeSeparator = TimeSeparator();
        request.StopWithoutPlate = true;
        const PerWellResult result = ExportPerWell(request, settings, op);
        for (const QString& file : result.Files)
            PrintPath(file);
        return Finish(result.Status == PerWellStatus::Written, result.Settings);
    }

    if (a.reanalyze) {
        ReanalysisRequest request;
        request.Folder = a.folder;
        request.AppDir = a.appDir;
        request.Method = *a.method;
        request.Threshold = *a.threshold;
        request.Replace = a.replace;
        if (a.replace) {
            request.TimeLimit = kReplaceTimeLimit;
        } else {
            const LapseLimit lapse = LapseLimitFromHours(a.lapseHours.value_or(QStringLiteral("24")));
            if (lapse.ShownHours)
                std::fprintf(stderr, "bandora-report: a lapse below 5 minutes: the first %s hour is analysed\n",
                             qPrintable(*lapse.ShownHours));
            request.TimeLimit = lapse.Minutes;
        }
        request.BinSizeText = a.bin;
        request.Options = a.options;
        request.Date = ReportDateText(now);
        request.StopWithoutPlate = true;
        const ReanalysisResult result = ReanalyzeRawData(request, settings, op);
        if (!result.ReportPath.isEmpty())
            PrintPath(result.ReportPath);
        if (result.Records < result.RecordsInTime)
            std::fprintf(stderr, "bandora-report: the real-time files end after record %lld of %lld\n",
                         qint64(result.Records), qint64(result.RecordsInTime));
        return Finish(result.Status == ReanalysisStatus::Written, result.Settings);
    }

    ReportRequest request;
    request.Folder = a.folder;
    request.AppDir = a.appDir;
    request.BinSizeText = a.bin;
    request.Options = a.options;
    request.Date = ReportDateText(now);
    request.StopWithoutPlate = true;
    const ReportResult result = GenerateReport(request, settings, op);
    if (result.Status == ReportStatus::Written)
        PrintPath(result.Path);
    if (result.PartialRecord)
        std::fprintf(stderr, "bandora-report: counts.bin ends in part of a record, which was left out\n");
    return Finish(result.Status == ReportStatus::Written, result.Settings);
}
