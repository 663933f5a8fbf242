// bandora-analyze: the analytics of a recorded experiment from a script, the
// same numbers and pictures as the offline window's analytics view. Run it
// with --help for the options.

#include "charts/AnalyticsCharts.h"
#include "core/analytics/AnalyticsCsv.h"
#include "core/common/ToolCommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

using namespace bandora;

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1; // nothing written; 2: the command line is wrong

const char kDescription[] = R"(
Analyses the recorded experiment in FOLDER (counts.bin, the experiment's own
project files, the start from the folder name ddmmyyyy_hhmm) and writes into
DIR: groups.csv, wells.csv, rest.csv, bouts.csv, periodogram.csv,
periods.csv, qc.csv, actogram.png, curves.png, periodogram.png and
summary.pdf. Prints the path of every file written; wells left out of the
group statistics and subjects without a periodogram are listed on standard
error. Exit status: 0 written, 1 nothing written (the reason on standard
error), 2 wrong command line.)";

const char kProgram[] = "bandora-analyze";

int Usage(const QString& text) { return UsageError(kProgram, text); }

int Failed(const QString& text)
{
    std::fprintf(stderr, "bandora-analyze: %s\n", qPrintable(text));
    return kFailed;
}

} // namespace

int main(int argc, char** argv)
{
    // The pictures need fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("the experiment folder"));
    parser.addOptions({
        {QStringLiteral("out"), QStringLiteral("the folder the files go to (made when missing)"), QStringLiteral("DIR")},
        {QStringLiteral("app-dir"), QStringLiteral("the application folder with the plate files (default: the folder of this program)"),
         QStringLiteral("DIR")},
        {QStringLiteral("bin"), QStringLiteral("bin of the curves and actograms in minutes (default 30)"), QStringLiteral("MIN")},
        {QStringLiteral("rest-minutes"), QStringLiteral("still minutes a rest bout needs (default 1; 5 for flies)"),
         QStringLiteral("R")},
        {QStringLiteral("period-min"), QStringLiteral("shortest period tested in hours (default 16)"), QStringLiteral("H")},
        {QStringLiteral("period-max"), QStringLiteral("longest period tested in hours (default 32)"), QStringLiteral("H")},
        {QStringLiteral("period-step"), QStringLiteral("step between periods in hours (default 0.1)"), QStringLiteral("H")},
        {QStringLiteral("alpha"), QStringLiteral("significance level of the periodograms (default 0.01)"), QStringLiteral("A")},
        {QStringLiteral("exclude-inactive"), QStringLiteral("leave inactive and noisy wells out of the group statistics")},
    });
    if (!parser.parse(QCoreApplication::arguments()))
        return Usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return kDone;
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() != 1)
        return Usage(folders.isEmpty() ? QStringLiteral("no experiment folder given")
                                       : QStringLiteral("one experiment folder only"));
    if (!parser.isSet(QStringLiteral("out")))
        return Usage(QStringLiteral("--out DIR is needed"));
    AnalyticsOptions o;
    o.ExcludeInactive = parser.isSet(QStringLiteral("exclude-inactive"));
    if (!ReadNumber(parser, QStringLiteral("bin"), o.BinMinutes))
        return Usage(QStringLiteral("--bin needs a whole number of minutes"));
    if (!ReadNumber(parser, QStringLiteral("rest-minutes"), o.RestMinutes))
        return Usage(QStringLiteral("--rest-minutes needs a whole number of minutes"));
    if (!ReadNumber(parser, QStringLiteral("period-min"), o.PeriodMinHours) ||
        !ReadNumber(parser, QStringLiteral("period-max"), o.PeriodMaxHours) ||
        !ReadNumber(parser, QStringLiteral("period-step"), o.PeriodStepHours))
        return Usage(QStringLiteral("--period-min, --period-max and --period-step need hours"));
    if (!ReadNumber(parser, QStringLiteral("alpha"), o.Alpha))
        return Usage(QStringLiteral("--alpha needs a number"));
    if (const QString problem = o.Problem(); !problem.isEmpty())
        return Usage(problem);

    const QString folder = folders.front();
    const QString appDir = parser.isSet(QStringLiteral("app-dir")) ? parser.value(QStringLiteral("app-dir"))
                                                                   : QCoreApplication::applicationDirPath();
    if (!QFileInfo(folder).isDir())
        return Failed(QStringLiteral("%1: no such folder").arg(folder));
    StderrOperator op(kProgram);
    const SeriesLoad load = LoadMinuteSeries(folder, appDir, op);
    if (!load.Ok)
        return Failed(load.Error);
    const MinuteSeries& s = load.Series;
    const AnalyticsResult r = RunAnalytics(s, o);

    const QString out = parser.value(QStringLiteral("out"));
    if (!QDir().mkpath(out))
        return Failed(QStringLiteral("%1 can't be made").arg(QDir::toNativeSeparators(out)));
    const CsvWriteResult csv = WriteAnalyticsTables(out, s, r);
    for (const QString& f : csv.Files)
        std::printf("%s\n", qPrintable(QDir::toNativeSeparators(f)));
    if (!csv.Error.isEmpty())
        return Failed(csv.Error);

    const QDir dir(out);
    std::vector<int> groups;
    for (int g = 0; g < s.Groups(); ++g)
        if (!r.GroupWells[size_t(g)].empty())
            groups.push_back(g);
    const int panels = std::max<int>(1, int(groups.size()));
    std::vector<Actogram> actograms;
    for (int g : groups)
        actograms.push_back(GroupActogram(s, r, g));
    if (actograms.empty() && s.Wells() > 0)
        actograms.push_back(WellActogram(s, o, 0));
    const int days = actograms.empty() ? 1 : actograms.front().Days;
    struct Picture {
        QString name;
        QSize size;
        charts::Painting paint;
    };
    const std::vector<Picture> pictures{
        {QStringLiteral("curves.png"), QSize(1400, 600),
         [&](QPainter& p, const QRectF& a) { charts::DrawCurves(p, a, s, r); }},
        {QStringLiteral("actogram.png"), QSize(1000, panels * std::clamp(60 + 26 * days, 200, 900)),
         [&](QPainter& p, const QRectF& a) {
             const double h = a.height() / double(std::max<size_t>(1, actograms.size()));
             for (size_t i = 0; i < actograms.size(); ++i)
                 charts::DrawActogram(p, QRectF(a.left(), a.top() + double(i) * h, a.width(), h), actograms[i]);
         }},
        {QStringLiteral("periodogram.png"), QSize(1400, panels * 320),
         [&](QPainter& p, const QRectF& a) {
             const double h = a.height() / panels;
             for (size_t i = 0; i < groups.size(); ++i) {
                 const SubjectPeriodograms& sp = r.GroupPeriodograms[size_t(groups[i])];
                 const double top = a.top() + double(i) * h;
                 charts::DrawPeriodogram(p, QRectF(a.left(), top, a.width() / 2, h), r.Periods, sp, PeriodMethod::ChiSquare);
                 charts::DrawPeriodogram(p, QRectF(a.center().x(), top, a.width() / 2, h), r.Periods, sp,
                                         PeriodMethod::LombScargle);
             }
             if (groups.empty() && s.Wells() > 0)
                 charts::DrawPeriodogram(p, a, r.Periods, r.WellPeriodograms[0], PeriodMethod::LombScargle);
         }},
    };
    for (const Picture& pic : pictures) {
        const QString path = dir.filePath(pic.name);
        if (const QString error = charts::SavePng(path, pic.size, pic.paint); !error.isEmpty())
            return Failed(error);
        std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path)));
    }
    const QString pdf = dir.filePath(QStringLiteral("summary.pdf"));
    if (const QString error = charts::SaveSummaryPdf(pdf, s, r); !error.isEmpty())
        return Failed(error);
    std::printf("%s\n", qPrintable(QDir::toNativeSeparators(pdf)));

    if (s.Resolution > 1)
        std::fprintf(stderr, "bandora-analyze: resolution %d minutes (buffer cycles longer than a minute)\n", s.Resolution);
    for (const GroupExclusion& e : r.Excluded)
        std::fprintf(stderr, "bandora-analyze: %s left out of %s: %s\n", qPrintable(s.WellInfo[size_t(e.Well)].Label),
                     qPrintable(s.GroupLabel(e.Group)), qPrintable(e.Reason));
    for (int g : groups)
        if (const SubjectPeriodograms& sp = r.GroupPeriodograms[size_t(g)]; !sp.Refusal.isEmpty())
            std::fprintf(stderr, "bandora-analyze: no periodogram for %s: %s\n", qPrintable(sp.Subject),
                         qPrintable(sp.Refusal));
    return kDone;
}
