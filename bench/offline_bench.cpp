// The offline window on a large recording, as on an office computer studying
// weeks of data:
//   - opening a page of five real-time files of 11 records (21 MB) and
//     drawing the channel signals of a well (target: under 0.3 s);
//   - the group activity of a well over a 14-day counts.bin (80,640 records
//     of 15 s) read, binned and drawn (target: under 0.5 s);
//   - the memory the open window holds with a page loaded and drawn
//     (target: under 100 MB), as the counter window_MB.

#include "core/AppState.h"
#include "core/common/ApplicationEventPump.h"
#include "core/common/Clock.h"
#include "core/common/Operator.h"
#include "core/offline/GroupActivity.h"
#include "core/offline/RealTimeStore.h"
#include "core/storage/PlateDerivation.h"
#include "core/storage/PlateFiles.h"
#include "core/storage/ProjectFiles.h"
#include "gui/DesktopOpener.h"
#include "gui/FrmOffline.h"
#include "gui/OfflineHost.h"
#include "gui/OfflinePlots.h"
#include "gui/PictureBox.h"
#include "sim/DemoRecording.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

using namespace bandora;

namespace {

// A program folder with the shipped plates and project 1 on a 96-well plate
// with groups, holding a one-page experiment with real-time files and a
// 14-day experiment with only its activity file.
struct Recordings {
    Recordings()
    {
        WriteShippedPlateFiles(app);
        project.Num_proj = 1;
        project.Name = QStringLiteral("bench");
        project.Plate_format = QStringLiteral("w96f");
        if (LoadPlateNoFallback(project.Plate_format, plate, app))
            throw std::runtime_error("no plate");
        for (int ch = 0; ch < kChannels; ++ch)
            project.ChannelGroup[ch] = plate.ChannelWell[ch] < 0 ? -1 : qint16(plate.ChannelWell[ch] / 24);
        projectFolder = QDir(app).filePath(QStringLiteral("p00001"));
        QDir().mkpath(projectFolder);
        SaveProject(project, projectFolder);
        Record(QStringLiteral("05122026_1000"), 55, true);
        Record(QStringLiteral("01122026_0800"), 14 * 24 * 60 * 4, false);
    }
    void Record(const QString& name, int cycles, bool real)
    {
        DemoRecording demo;
        demo.ProjectFolder = projectFolder;
        demo.FolderName = name;
        demo.BufferCycles = cycles;
        demo.SaveReal = real;
        if (!RecordDemoExperiment(demo, project, plate))
            throw std::runtime_error("cannot record");
    }
    QString Page() const { return QDir(projectFolder).filePath(QStringLiteral("05122026_1000")); }
    QString Weeks() const { return QDir(projectFolder).filePath(QStringLiteral("01122026_0800")); }

    QTemporaryDir dir;
    QString app = dir.path();
    QString projectFolder;
    ProjectSetup project;
    PlateFormat plate;
};

Recordings& Data()
{
    static Recordings data;
    return data;
}

// The plot of the window on a 1366 x 768 screen.
QImage PlotImage() { return QImage(1040, 620, QImage::Format_RGB32); }

double ResidentMB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

class NoHost final : public OfflineHost {
    void showMainWindow() override {}
    void showSetupWindow() override {}
    void openReportWindow(const QString&, int) override {}
};

class NoOpener final : public DesktopOpener {
    bool open(const QString&) override { return true; }
};

} // namespace

// First, while nothing else has left freed memory in the process.
static void BM_OpenWindowMemory(benchmark::State& state)
{
    Recordings& d = Data();
    const double before = ResidentMB();
    double held = 0;
    for (auto _ : state) {
        SystemClock clock;
        ApplicationEventPump events;
        struct Silent final : Operator {
            Answer ask(const QString&, Buttons) override { return Answer::Ok; }
            QString prompt(const QString&, const QString&) override { return {}; }
        } op;
        AppState app(d.app, op, clock, events);
        NoHost host;
        NoOpener opener;
        auto window = std::make_unique<FrmOffline>(app, host, opener);
        window->resize(1366, 740);
        window->show();
        QApplication::processEvents();
        window->lstBrowser->setCurrentRow(0);
        window->BrowserOpen();
        const auto items = window->lstBrowser->findItems(QStringLiteral("05122026_1000"), Qt::MatchExactly);
        window->lstBrowser->setCurrentItem(items.front());
        window->BrowserOpen();
        window->ShowChannelSignal();
        window->ShowAnalysis();
        window->ShowGroupActivity();
        QApplication::processEvents();
        held = ResidentMB() - before;
    }
    state.counters["window_MB"] = held;
}
BENCHMARK(BM_OpenWindowMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

static void BM_OpenPageAndDrawChannelSignal(benchmark::State& state)
{
    Recordings& d = Data();
    OfflineExperiment e;
    e.Project = d.project;
    e.Plate = d.plate;
    QImage image = PlotImage();
    RealTimeStore store;
    for (auto _ : state) {
        store.Release(); // each opening sizes the store anew, as the window does
        const PageLoad load = LoadRealTimePage(store, d.Page(), 1, 500);
        SignalPlotInput in;
        in.Store = &store;
        in.Beams = WellBeams(d.plate, 10);
        in.MaxBeam = d.plate.MaxBeam;
        in.WellText = QStringLiteral("C2");
        DrawChannelSignals(image, in);
        benchmark::DoNotOptimize(load.RecordsRead);
    }
    state.SetLabel("5 files x 11 records, 21 MB");
}
BENCHMARK(BM_OpenPageAndDrawChannelSignal)->Unit(benchmark::kMillisecond);

static void BM_GroupActivityOver14Days(benchmark::State& state)
{
    Recordings& d = Data();
    OfflineExperiment e;
    e.Project = d.project;
    e.Plate = d.plate;
    QImage image = PlotImage();
    qint64 records = 0;
    for (auto _ : state) {
        const auto activity = ComputeGroupActivity(d.Weeks(), e, 34);
        DrawGroupActivity(image, {&*activity, QStringLiteral("C3"), QStringLiteral("001_Group1")});
        records = activity->Records;
    }
    state.counters["records"] = double(records);
}
BENCHMARK(BM_GroupActivityOver14Days)->Unit(benchmark::kMillisecond);

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
