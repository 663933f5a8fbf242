// Reports on a two-week recording and the re-analysis of raw signals.
//
// BM_Report: the report of a 14-day activity file (a record every 15 s,
// about 80,600 records, 62 MB) on the 96-well plate with twelve groups, in
// each layout with bins of 30 minutes. Counters: the report's size and the
// process's peak memory during the report against the file's size (the
// target: under 0.5 s, and a peak under twice the file).
//
// BM_Reanalysis: one real-time file of 11 records of the 384-well plate
// counted again on 1 and 2 cores, in wall time; bytes/s is the rate of raw
// signals read and analysed (the target: 100 MB/s), items/s the buffer
// cycles per second.

#include "BeamSignal.h"

#include "core/analysis/RawReanalysis.h"
#include "core/analysis/ReportGenerator.h"
#include "core/common/Operator.h"
#include "core/storage/ChannelTableFiles.h"
#include "core/storage/CountsFile.h"
#include "core/storage/ExperimentRecorder.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RealTimeFile.h"
#include "core/storage/RecordSyntax.h"
#include "core/storage/SetupFile.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <ctime>
#include <fstream>
#include <random>
#include <string>

using namespace bandora;

namespace {

class QuietOperator final : public Operator {
public:
    Answer ask(const QString&, Buttons) override { return Answer::Ok; }
    QString prompt(const QString&, const QString&) override { return {}; }
};

// Peak resident memory of the process in bytes (VmHWM), after resetting it
// when the system allows.
bool ResetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return bool(clear);
}

// CPU time of every thread of the process, in seconds.
double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double PeakMemoryBytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) * 1024.0;
    return 0.0;
}

// An experiment folder on a shipped plate, channels in 12 groups.
struct Experiment {
    explicit Experiment(const QString& plate = QStringLiteral("w96f"))
    {
        appDir = dir.filePath(QStringLiteral("app"));
        folder = dir.filePath(QStringLiteral("05012026_0930"));
        QDir().mkpath(appDir);
        QDir().mkpath(folder);
        const QString file = plate + QStringLiteral(".dat");
        QFile::copy(QDir(QStringLiteral(BANDORA_DATA_DIR)).filePath(file), QDir(appDir).filePath(file));
        ProjectSetup p;
        p.Plate_format = plate;
        WriteSetupFile(p, folder);
        for (int ch = 0; ch < kChannels; ++ch) // two grid columns (one well column) to a group
            p.ChannelGroup[ch] = qint16(ch / 32);
        for (int g = 0; g < 12; ++g)
            p.GroupName[g] = QStringLiteral("Strain%1").arg(g);
        WriteChannelTables(p, folder);
    }

    QTemporaryDir tmp;
    QDir dir{tmp.path()};
    QString appDir;
    QString folder;
};

// 14 days, a record every 15 s: the elapsed-minute field wraps every day.
Experiment& FourteenDays()
{
    static Experiment* e = [] {
        auto* x = new Experiment;
        QFile file(CountsFilePath(x->folder));
        file.open(QIODevice::WriteOnly);
        std::mt19937 rng(3);
        std::poisson_distribution<int> events(4.0);
        std::array<qint16, kChannelTable> counts{};
        std::array<char, kCountsRecordBytes> record;
        QByteArray chunk;
        const int records = 14 * 1440 * 4;
        for (int r = 0; r < records; ++r) {
            for (int c = 0; c < kChannels; ++c)
                counts[c] = qint16(events(rng));
            counts[kChannels] = qint16(240 + r % 20);
            EncodeCountsRecord((r / 4) % 1440, counts, record);
            chunk.append(record.data(), kCountsRecordBytes);
            if (chunk.size() > (1 << 22)) {
                file.write(chunk);
                chunk.clear();
            }
        }
        file.write(chunk);
        return x;
    }();
    return *e;
}

void BM_Report(benchmark::State& state)
{
    Experiment& e = FourteenDays();
    const double fileBytes = double(QFileInfo(CountsFilePath(e.folder)).size());
    ReportOptions options;
    options.Layout = ReportLayout(state.range(0));
    options.StdError = options.StdDev = options.WellCount = true;
    QuietOperator op;
    const bool resettable = ResetPeakMemory();
    double reportBytes = 0;
    for (auto _ : state) {
        ExperimentSettings settings;
        const ReportResult r =
            GenerateReport(ReportRequest{e.folder, e.appDir, QStringLiteral("30"), options, QStringLiteral("now")},
                           settings, op);
        if (r.Status != ReportStatus::Written)
            state.SkipWithError("report not written");
        reportBytes = double(QFileInfo(r.Path).size());
    }
    state.counters["file_MB"] = fileBytes / 1e6;
    state.counters["report_MB"] = reportBytes / 1e6;
    state.counters["peak_MB"] = PeakMemoryBytes() / 1e6;
    state.counters["peak_per_file"] = PeakMemoryBytes() / fileBytes;
    state.SetLabel(resettable ? "peak since this benchmark began" : "peak of the whole process");
}
BENCHMARK(BM_Report)->ArgName("layout")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// One real-time file of 11 records and its counts, on the 384-well plate:
// every channel is analysed.
Experiment& ElevenRecords()
{
    static Experiment* e = [] {
        auto* x = new Experiment(QStringLiteral("w384"));
        ExperimentRecorder recorder;
        recorder.Start(x->folder);
        std::array<qint16, kChannelTable> counts{};
        for (int r = 0; r < 11; ++r)
            recorder.RecordBufferCycle(true, bench::BeamSignals(500, unsigned(r + 1)), r / 4, counts);
        return x;
    }();
    return *e;
}

void BM_Reanalysis(benchmark::State& state)
{
    Experiment& e = ElevenRecords();
    QuietOperator op;
    ReanalysisRequest request;
    request.Folder = e.folder;
    request.AppDir = e.appDir;
    request.Method = int(state.range(1));
    request.Threshold = 1.8;
    request.TimeLimit = 1440;
    request.BinSizeText = QStringLiteral("2");
    request.Date = QStringLiteral("now");
    request.Threads = int(state.range(0));
    const double cpuStart = ProcessCpuSeconds();
    for (auto _ : state) {
        ExperimentSettings settings;
        const ReanalysisResult r = ReanalyzeRawData(request, settings, op);
        if (r.Status != ReanalysisStatus::Written || r.Records != 11)
            state.SkipWithError("re-analysis failed");
    }
    state.SetItemsProcessed(state.iterations() * 11);
    state.SetBytesProcessed(state.iterations() * 11 * RealTimeRecordBytes(500));
    // The work of all cores together: on an idle machine the wall time is
    // about this divided by the cores, whatever else runs on a busy one.
    const double cpuAll = ProcessCpuSeconds() - cpuStart;
    state.counters["cpu_all_ms"] = 1e3 * cpuAll / double(state.iterations());
    state.counters["MB_per_cpu_s"] = double(11 * RealTimeRecordBytes(500)) * double(state.iterations()) / cpuAll / 1e6;
    state.SetLabel("items/s = buffer cycles per second");
}
// Wall time: the helper core's work does not show in the calling thread's CPU time.
BENCHMARK(BM_Reanalysis)
    ->ArgNames({"cores", "method"})
    ->ArgsProduct({{1, 2}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
