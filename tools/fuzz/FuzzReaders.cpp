// libFuzzer targets for every reader of a stored file. One program serves all
// targets: its name, fuzz_<target>, names the file whose bytes the fuzzer
// makes (see kTargets), and the input is written under that name into a scratch
// program folder, project folder or experiment folder whose other files are
// sound, then read by the code that reads it in the program.
//
// A target fails on a crash, a sanitizer report, a hang (-timeout) or an
// allocation beyond -rss_limit_mb; a clean message and defaults are the
// expected answer to a damaged file.

#include "core/analysis/PerWellExport.h"
#include "core/analysis/RawReanalysis.h"
#include "core/analysis/ReportGenerator.h"
#include "core/common/Operator.h"
#include "core/offline/ExperimentBrowser.h"
#include "core/offline/ExperimentJoin.h"
#include "core/offline/GroupActivity.h"
#include "core/offline/OfflineExperiment.h"
#include "core/offline/RealTimeStore.h"
#include "core/storage/CalibrationFile.h"
#include "core/storage/ChannelTableFiles.h"
#include "core/storage/ConfigFile.h"
#include "core/storage/CountsFile.h"
#include "core/storage/PlateDerivation.h"
#include "core/storage/PlateFiles.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RealTimeFile.h"
#include "core/storage/RecordSyntax.h"
#include "core/storage/SetupFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>

using namespace bandora;

namespace {

// Every message is dropped; every question is answered Yes, as the report
// tool does.
class QuietOperator final : public Operator {
public:
    Answer ask(const QString&, Buttons buttons) override
    {
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }
    QString prompt(const QString&, const QString&) override { return {}; }
};

// The scratch folders, made once per process: a program folder with the
// shipped plate files and config.dat, project 1 in it and one experiment of
// that project holding a sound copy of the project files and three records.
struct Scratch {
    QTemporaryDir root;
    QString app, project, experiment;
    QuietOperator op;

    Scratch()
    {
        app = root.path();
        project = QDir(app).filePath(QStringLiteral("p00001"));
        experiment = QDir(project).filePath(QStringLiteral("05122026_1000"));
        QDir().mkpath(experiment);
        WriteShippedPlateFiles(app);
        ProjectSetup setup;
        setup.Num_proj = 1;
        setup.RT_Buffer = 1; // real-time records of 1,540 bytes: small enough to fuzz
        setup.Plate_format = QStringLiteral("w6"); // six per-well files per input, not 96
        for (int ch = 0; ch < kChannels; ++ch)
            setup.ChannelGroup[ch] = qint16(ch % 4);
        SaveProject(setup, project);
        SaveProject(setup, experiment);
        ProgramConfig config;
        SaveConfig(app, config, op);
    }

    void Put(const QString& folder, const char* name, const uint8_t* data, size_t size) const
    {
        QFile file(QDir(folder).filePath(QString::fromLatin1(name)));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
            std::fprintf(stderr, "fuzz: cannot write %s\n", name);
            std::abort();
        }
    }

    // Puts the project's own copy of a file back after a target changed it.
    void Restore(const QString& folder, const char* name) const
    {
        const QString path = QDir(folder).filePath(QString::fromLatin1(name));
        QFile::remove(path);
        QFile::copy(QDir(project).filePath(QString::fromLatin1(name)), path);
    }
};

Scratch& Folders()
{
    static Scratch scratch;
    return scratch;
}

ProjectContext Context(Scratch& s, const QString& folder, bool mayRestore)
{
    ProjectContext ctx;
    ctx.appDir = s.app;
    ctx.projectFolder = folder;
    ctx.op = &s.op;
    ctx.mayRestore = mayRestore;
    return ctx;
}

// A report, a per-well export and the offline window's group activity of the
// experiment as it now stands: they read the project files, the plate and
// counts.bin.
void ReadExperiment(Scratch& s)
{
    ExperimentSettings settings;
    ReportRequest report;
    report.Folder = s.experiment;
    report.AppDir = s.app;
    report.BinSizeText = QStringLiteral("30");
    report.StopWithoutPlate = true;
    GenerateReport(report, settings, s.op);

    ExperimentSettings perWellSettings;
    PerWellRequest perWell;
    perWell.Folder = s.experiment;
    perWell.AppDir = s.app;
    perWell.StopWithoutPlate = true;
    ExportPerWell(perWell, perWellSettings, s.op);

    OfflineExperiment offline;
    ReadOfflineExperiment(s.experiment, s.app, 1, s.op, offline);
    ComputeGroupActivity(s.experiment, offline, 0);
}

void WithExperimentFile(const char* name, const uint8_t* data, size_t size)
{
    Scratch& s = Folders();
    s.Put(s.experiment, name, data, size);
    ReadExperiment(s);
    ExperimentInfoText(s.experiment, QStringLiteral("05122026_1000"), 1, s.op);
}

void WithProjectTable(const char* name, void (*load)(ProjectSetup&, const ProjectContext&), const uint8_t* data,
                      size_t size)
{
    Scratch& s = Folders();
    s.Put(s.project, name, data, size);
    ProjectSetup setup;
    setup.Num_proj = 1;
    load(setup, Context(s, s.project, false));
}

void FuzzConfig(const uint8_t* data, size_t size)
{
    Scratch& s = Folders();
    s.Put(s.app, "config.dat", data, size);
    ProgramConfig config;
    LoadConfig(s.app, config, s.op);
}

void FuzzSetup(const uint8_t* data, size_t size)
{
    Scratch& s = Folders();
    s.Put(s.project, "setup.dat", data, size);
    ProjectSetup setup;
    setup.Num_proj = 1;
    LoadSetupFile(setup, Context(s, s.project, false));
    PlateFormat plate;
    LoadPlate(setup, plate, s.app, s.op);
    ReadProjectHeader(s.project, 1, s.op, false);
    s.Put(s.experiment, "setup.dat", data, size);
    ReadExperiment(s);
    s.Restore(s.experiment, "setup.dat");
}

void FuzzGroups(const uint8_t* data, size_t size)
{
    WithProjectTable("groups.dat", LoadGroupNames, data, size);
    WithExperimentFile("groups.dat", data, size);
    Folders().Restore(Folders().experiment, "groups.dat");
}

void FuzzChannelGroups(const uint8_t* data, size_t size)
{
    WithProjectTable("chgroup.dat", LoadChannelGroups, data, size);
    WithExperimentFile("chgroup.dat", data, size);
    Folders().Restore(Folders().experiment, "chgroup.dat");
}

void FuzzPlate(const uint8_t* data, size_t size)
{
    Scratch& s = Folders();
    s.Put(s.app, "wfuzz.dat", data, size);
    ProjectSetup setup;
    setup.Plate_format = QStringLiteral("wfuzz");
    PlateFormat plate;
    LoadPlate(setup, plate, s.app, s.op);
    PlateFormat applied;
    ApplyPlate(QStringLiteral("wfuzz"), setup, applied, s.app, s.op);
    // The experiment's plate is this file: the report's geometry comes from it.
    s.Put(s.app, "w6.dat", data, size);
    ReadExperiment(s);
    WriteShippedPlateFiles(s.app);
}

// Three sound records of counts, then the fuzzer's bytes as the real-time
// file 0.bin (the experiment's RT_Buffer is 1): the offline window's page
// load and a re-analysis that replaces counts.bin.
void FuzzRealTime(const uint8_t* data, size_t size)
{
    Scratch& s = Folders();
    QByteArray counts(3 * kCountsRecordBytes, '\0');
    s.Put(s.experiment, "counts.bin", reinterpret_cast<const uint8_t*>(counts.constData()), size_t(counts.size()));
    s.Put(s.experiment, "0.bin", data, size);
    static RealTimeStore store;
    if (!store.IsAllocated())
        store.Allocate();
    LoadRealTimePage(store, s.experiment, 1, 1);
    RealTimeFileReader reader(RealTimeFilePath(s.experiment, 0), 1);
    SampleTable samples;
    for (qint64 k = 0; k <= reader.RecordCount(); ++k)
        reader.Read(k, samples);
    ExperimentSettings settings;
    ReanalysisRequest request;
    request.Folder = s.experiment;
    request.AppDir = s.app;
    request.Method = int(size % 3);
    request.Replace = true;
    request.TimeLimit = kReplaceTimeLimit;
    request.BinSizeText = QStringLiteral("30");
    request.Threads = 1;
    request.StopWithoutPlate = true;
    ReanalyzeRawData(request, settings, s.op);
    QFile::remove(RealTimeFilePath(s.experiment, 0));
}

void FuzzCalibration(const uint8_t* data, size_t size)
{
    Scratch& s = Folders();
    s.Put(s.app, "calvalue.dat", data, size);
    ChannelSettingTable pinHole{}, gain{};
    try {
        ReadCalibrationValues(CalibrationFilePath(s.app), pinHole, gain);
    } catch (const RecordError&) {
    }
}

void FuzzSubproject(const uint8_t* data, size_t size)
{
    Scratch& s = Folders();
    s.Put(s.experiment, "subproj.dat", data, size);
    ExperimentInfoText(s.experiment, QStringLiteral("05122026_1000"), 1, s.op);
    // A join reads the subproj.dat of a folder it might reuse.
    const QString joint = QDir(s.project).filePath(QStringLiteral("06122026_1000"));
    QDir().mkpath(joint);
    s.Put(joint, "subproj.dat", data, size);
    JoinExperiments(s.project, {QStringLiteral("05122026_1000")},
                    QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    QDir(joint).removeRecursively();
}

const std::map<std::string, std::function<void(const uint8_t*, size_t)>> kTargets = {
    {"config", FuzzConfig},
    {"setup", FuzzSetup},
    {"status", [](const uint8_t* d, size_t n) { WithProjectTable("status.dat", LoadChannelEnabled, d, n); }},
    {"threshld", [](const uint8_t* d, size_t n) { WithProjectTable("threshld.dat", LoadChannelThresholds, d, n); }},
    {"groups", FuzzGroups},
    {"chgroup", FuzzChannelGroups},
    {"subproj", FuzzSubproject},
    {"plate", FuzzPlate},
    {"counts", [](const uint8_t* d, size_t n) { WithExperimentFile("counts.bin", d, n); }},
    {"realtime", FuzzRealTime},
    {"calvalue", FuzzCalibration},
};

const std::function<void(const uint8_t*, size_t)>* gTarget = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    const std::string program = QFileInfo(QString::fromLocal8Bit((*argv)[0])).fileName().toStdString();
    const std::string prefix = "fuzz_";
    const auto found = program.rfind(prefix, 0) == 0 ? kTargets.find(program.substr(prefix.size())) : kTargets.end();
    if (found == kTargets.end()) {
        std::fprintf(stderr, "fuzz: %s names no target (fuzz_config, fuzz_counts, ...)\n", program.c_str());
        std::abort();
    }
    gTarget = &found->second;
    Folders();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    (*gTarget)(data, size);
    return 0;
}
