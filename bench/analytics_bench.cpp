// The analytics of a long recording, as a biologist runs them after a
// two-week experiment on a full plate:
//   - every analysis of a 14-day counts.bin of a 384-well plate (80,640
//     records of 15 s): the minute series read from the file, the well
//     status, the activity curves, rest, and both periodograms of every
//     well and group (target: under 2 s on one core);
//   - the analytics view drawing its curves, actogram and periodogram again
//     at the size it has on a 1366 x 768 screen (target: under 100 ms).

#include "charts/AnalyticsCharts.h"
#include "core/analytics/Analytics.h"
#include "core/common/Operator.h"
#include "core/storage/PlateDerivation.h"
#include "core/storage/PlateFiles.h"
#include "core/storage/ProjectFiles.h"
#include "gui/AnalyticsView.h"
#include "gui/ChartView.h"
#include "sim/DemoRecording.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <stdexcept>

using namespace bandora;

namespace {

class SilentOperator final : public Operator {
    Answer ask(const QString&, Buttons) override { return Answer::Ok; }
    QString prompt(const QString&, const QString& answer) override { return answer; }
};

// Project 1 on the 384-well plate, four groups of 96 wells, lights on 9 to
// 21, and 14 days recorded with a day/night rhythm and a few wells that stop.
struct TwoWeeks {
    TwoWeeks()
    {
        WriteShippedPlateFiles(app);
        ProjectSetup project;
        PlateFormat plate;
        project.Num_proj = 1;
        project.Plate_format = QStringLiteral("w384");
        project.MenuParam[2] = {1, 9, 21, 0, 0, 0};
        if (LoadPlateNoFallback(project.Plate_format, plate, app))
            throw std::runtime_error("no plate");
        for (int ch = 0; ch < kChannels; ++ch)
            project.ChannelGroup[ch] = plate.ChannelWell[ch] < 0 ? -1 : qint16(plate.ChannelWell[ch] / 96);
        const QString projectFolder = QDir(app).filePath(QStringLiteral("p00001"));
        QDir().mkpath(projectFolder);
        SaveProject(project, projectFolder);
        DemoRecording demo;
        demo.ProjectFolder = projectFolder;
        demo.FolderName = QStringLiteral("01122026_0800");
        demo.BufferCycles = 14 * 24 * 60 * 4;
        demo.SaveReal = false;
        demo.DayNight = true;
        demo.StoppingWells = 6;
        if (!RecordDemoExperiment(demo, project, plate))
            throw std::runtime_error("cannot record");
        folder = QDir(projectFolder).filePath(demo.FolderName);
    }
    QTemporaryDir dir;
    QString app = dir.path();
    QString folder;
};

TwoWeeks& Data()
{
    static TwoWeeks data;
    return data;
}

} // namespace

static void BM_AllAnalysesOf14DaysOn384Wells(benchmark::State& state)
{
    TwoWeeks& d = Data();
    SilentOperator op;
    qint64 samples = 0;
    for (auto _ : state) {
        const SeriesLoad load = LoadMinuteSeries(d.folder, d.app, op);
        if (!load.Ok)
            throw std::runtime_error(load.Error.toStdString());
        const AnalyticsResult r = RunAnalytics(load.Series, {});
        benchmark::DoNotOptimize(r.WellPeriodograms.data());
        samples = load.Series.Samples;
    }
    state.counters["minutes"] = double(samples);
}
BENCHMARK(BM_AllAnalysesOf14DaysOn384Wells)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The picture of the tab on show drawn again, as a resize does: 0 curves,
// 1 actogram of a group's mean, 2 periodograms of a group's mean.
static void BM_AnalyticsViewRedraw(benchmark::State& state)
{
    TwoWeeks& d = Data();
    SilentOperator op;
    AnalyticsView view(d.app, op);
    view.resize(1366, 740);
    view.show();
    if (!view.Open(d.folder))
        throw std::runtime_error("cannot open");
    ChartView* chart = std::array{view.chartCurves, view.chartActogram, view.chartPeriodogram}[size_t(state.range(0))];
    view.tabs->setCurrentWidget(chart);
    QApplication::processEvents();
    for (auto _ : state)
        chart->Redraw();
    state.SetLabel(QStringLiteral("%1, %2 x %3")
                       .arg(view.tabs->tabText(view.tabs->currentIndex()))
                       .arg(chart->width())
                       .arg(chart->height())
                       .toStdString());
}
BENCHMARK(BM_AnalyticsViewRedraw)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
