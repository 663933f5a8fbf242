// bandora-report: the report window's reports from a script. It writes the
// same files as the window with the same settings (one implementation of the
// binning and the layouts serves both), prints the path of each file written
// and opens nothing. Run it with --help for the options.

#include "core/analysis/PerWellExport.h"
#include "core/analysis/RawReanalysis.h"
#include "core/analysis/ReportGenerator.h"
#include "core/common/ToolCommandLine.h"
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

const char kProgram[] = "bandora-report";

// The options that take a value, and what each needs when it is missing or
// wrong ("--bin needs a number of minutes").
const struct {
    const char* name;
    const char* needs;
} kValued[] = {
    {"bin", "a number of minutes"}, {"layout", "rows, list or array"},      {"type", "csv or txt"},
    {"separator", "a text"},        {"app-dir", "a folder"},                {"method", "0, 1 or 2"},
    {"threshold", "a number from 1.1 to 6.0"}, {"lapse-hours", "a number of hours"},
    {"dam", "a folder"},            {"long", "a file"},
};
const char* const kSwitches[] = {"std-error", "std-dev", "n", "per-well", "reanalyze", "replace"};

struct Arguments {
    QString folder;
    QString appDir;
    QString bin = QStringLiteral("30");
    ReportOptions options;
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

int UsageError(const QString& text) { return bandora::UsageError(kProgram, text); }

int Needs(const QString& option)
{
    for (const auto& o : kValued)
        if (option == QLatin1String(o.name))
            return UsageError(QStringLiteral("--%1 needs %2").arg(option, QLatin1String(o.needs)));
    return UsageError(QStringLiteral("--%1 needs a value").arg(option));
}

// Sets `out` to what `word` selects among `choices`; false when it is none of them.
template <typename T> bool Choose(const QString& word, std::initializer_list<std::pair<const char*, T>> choices, T& out)
{
    for (const auto& [w, choice] : choices)
        if (word == QLatin1String(w)) {
            out = choice;
            return true;
        }
    return false;
}

// Parses the command line; returns an exit status when it is wrong.
std::optional<int> Parse(const QStringList& args, Arguments& a)
{
    QList<QCommandLineOption> options{HelpOption()};
    for (const auto& o : kValued)
        options << QCommandLineOption(QLatin1String(o.name), QString(), QStringLiteral("value"));
    for (const char* name : kSwitches)
        options << QCommandLineOption(QLatin1String(name));
    OptionReader line(options);
    const OptionReader::Mistakes mistakes = line.Read(args);
    if (!mistakes.unknown.isEmpty())
        return UsageError(QStringLiteral("unknown option '%1'").arg(mistakes.unknown.front()));
    if (!mistakes.missingValue.isEmpty())
        return Needs(mistakes.missingValue);
    const QStringList folders = line.positional();
    if (folders.size() > 1)
        return UsageError(QStringLiteral("one experiment folder only ('%1' is a second)").arg(folders[1]));
    a.folder = folders.value(0);
    const auto given = [&](const char* name) { return line.isSet(QLatin1String(name)); };
    const auto value = [&](const char* name) { return line.value(QLatin1String(name)); };

    a.help = given("help");
    if (given("bin")) {
        a.bin = value("bin");
        if (!NumberIn(a.bin))
            return Needs(QStringLiteral("bin"));
    }
    if (given("layout") && !Choose(value("layout"), {{"rows", ReportLayout::Rows}, {"list", ReportLayout::List},
                                                     {"array", ReportLayout::Array}}, a.options.Layout))
        return UsageError(QStringLiteral("unknown layout '%1': rows, list or array").arg(value("layout")));
    if (given("type") &&
        !Choose(value("type"), {{"csv", ReportFileType::Csv}, {"txt", ReportFileType::Txt}}, a.options.FileType))
        return UsageError(QStringLiteral("unknown file type '%1': csv or txt").arg(value("type")));
    if (given("separator"))
        a.options.Separator = value("separator");
    else if (a.options.FileType == ReportFileType::Txt)
        a.options.Separator = QStringLiteral(" ");
    a.options.StdError = given("std-error");
    a.options.StdDev = given("std-dev");
    a.options.WellCount = given("n");
    a.appDir = value("app-dir");
    a.perWell = given("per-well");
    a.reanalyze = given("reanalyze");
    a.replace = given("replace");
    if (given("method") && !Choose(value("method"), {{"0", 0}, {"1", 1}, {"2", 2}}, a.method.emplace()))
        return Needs(QStringLiteral("method"));
    if (given("threshold")) {
        a.threshold = NumberIn(value("threshold"));
        if (!a.threshold || !ThresholdInRange(*a.threshold))
            return Needs(QStringLiteral("threshold"));
    }
    if (given("lapse-hours")) {
        a.lapseHours = value("lapse-hours");
        if (!NumberIn(*a.lapseHours))
            return Needs(QStringLiteral("lapse-hours"));
    }
    for (auto [name, out] : {std::pair{"dam", &a.damDir}, std::pair{"long", &a.longFile}})
        if (given(name) && (*out = value(name)).isEmpty())
            return Needs(QLatin1String(name));

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

    StderrOperator op(kProgram);
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
