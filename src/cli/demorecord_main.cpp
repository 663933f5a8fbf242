// bandora-demorecord APPDIR [--project N] [--plate NAME] [--folder ddmmyyyy_hhmm]
//                    [--cycles N] [--seconds S] [--no-real] [--name TEXT] [--seed N]
//                    [--day-night] [--stop-wells N]
//
// Records a demonstration experiment without an instrument, for trying the
// offline window and the reports: the project folder p0000N of APPDIR (made
// with three groups of wells when it has no setup.dat yet) receives the
// experiment folder with its copy of the project files, subproj.dat,
// counts.bin and, unless --no-real, the real-time files. A buffer cycle is
// taken to last S seconds (15 by default). --day-night switches the project's
// light schedule on (9:00 to 21:00 unless it has hours of its own) and has the
// organisms rest while the light is off; --stop-wells N has N wells stop
// moving on the second day. For example, two parts of a run:
//
//     bandora-demorecord build/default/app --folder 05122026_1000 --cycles 480
//     bandora-demorecord build/default/app --folder 05122026_1200 --cycles 480 --seed 2

#include "core/common/ToolCommandLine.h"
#include "core/storage/PlateFiles.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RecordSyntax.h"
#include "core/storage/SetupFile.h"
#include "core/storage/WorkingFolder.h"
#include "sim/DemoRecording.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

using namespace bandora;

namespace {

int Usage(std::FILE* to = stderr)
{
    std::fprintf(to, "usage: bandora-demorecord APPDIR [--project N] [--plate NAME] [--folder ddmmyyyy_hhmm]\n"
                         "                          [--cycles N] [--seconds S] [--no-real] [--name TEXT] [--seed N]\n"
                         "                          [--day-night] [--stop-wells N]\n");
    return 2;
}

// Three groups of three plate columns each; the rest of the plate is free.
void DemoGroups(ProjectSetup& project, const PlateFormat& plate)
{
    const QString names[] = {QStringLiteral("control"), QStringLiteral("drug 10uM"), QStringLiteral("drug 50uM")};
    const int columnsPerGroup = qMax(1, plate.Columns / 4);
    for (int g = 0; g < 3; ++g)
        project.GroupName[g + 1] = names[g];
    for (int ch = 0; ch < kChannels; ++ch) {
        const int well = plate.ChannelWell[ch];
        const int group = well < 0 ? 3 : well / qMax<int>(plate.Rows, 1) / columnsPerGroup;
        project.ChannelGroup[ch] = qint16(group < 3 ? group + 1 : -1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QList<QCommandLineOption> options{QCommandLineOption(QStringLiteral("help")),
                                      QCommandLineOption(QStringLiteral("no-real")),
                                      QCommandLineOption(QStringLiteral("day-night"))};
    for (const char* name : {"project", "plate", "folder", "cycles", "seconds", "name", "seed", "stop-wells"})
        options << QCommandLineOption(QLatin1String(name), QString(), QStringLiteral("value"));
    OptionReader line(options);
    const OptionReader::Mistakes mistakes = line.Read(app.arguments());
    if (line.isSet(QStringLiteral("help"))) {
        std::fputs("Records a demonstration experiment without an instrument into project N\n"
                   "(default 1) of the application folder APPDIR.\n", stdout);
        Usage(stdout);
        return 0;
    }
    if (mistakes.any() || line.positional().size() != 1)
        return Usage();
    const QString appDir = line.positional().front();
    int number = 1, cycles = 60, stopWells = 0;
    unsigned seed = 1;
    double seconds = 15.0;
    const bool saveReal = !line.isSet(QStringLiteral("no-real"));
    const bool dayNight = line.isSet(QStringLiteral("day-night"));
    const QString plateName = line.isSet(QStringLiteral("plate")) ? line.value(QStringLiteral("plate")) : QStringLiteral("w96f");
    const QString folderName = line.isSet(QStringLiteral("folder")) ? line.value(QStringLiteral("folder"))
                                   : QDateTime::currentDateTime().toString(QStringLiteral("ddMMyyyy_hhmm"));
    const QString name = line.isSet(QStringLiteral("name")) ? line.value(QStringLiteral("name")) : QStringLiteral("demo");
    if (!ReadNumber(line, QStringLiteral("project"), number) || !ReadNumber(line, QStringLiteral("cycles"), cycles) ||
        !ReadNumber(line, QStringLiteral("seconds"), seconds) || !ReadNumber(line, QStringLiteral("seed"), seed) ||
        !ReadNumber(line, QStringLiteral("stop-wells"), stopWells))
        return Usage();
    if (number < 1 || number > 99999 || cycles < 1 || seconds <= 0 || stopWells < 0)
        return Usage();
    for (const QString& entry : {folderName, plateName})
        if (!IsPlainEntryName(entry)) {
            std::fprintf(stderr, "bandora-demorecord: '%s' is no plain name (no separators, not \"..\")\n",
                         qPrintable(entry));
            return Usage();
        }

    // Messages of the project loaders go to standard error; questions are answered No.
    StderrOperator op("bandora-demorecord", Answer::No);
    ProjectSetup project;
    PlateFormat plate;
    project.Num_proj = qint16(number);
    const QString projectFolder = QDir(appDir).filePath(ProjectFolderName(number));
    if (QFileInfo(QDir(projectFolder).filePath(QStringLiteral("setup.dat"))).isFile()) {
        LoadProject(project, plate, {appDir, projectFolder, &op, {}, true});
    } else {
        if (const auto error = LoadPlateNoFallback(plateName, plate, appDir)) {
            std::fprintf(stderr, "bandora-demorecord: plate %s: %s\n", qPrintable(plateName), qPrintable(*error));
            return 1;
        }
        project.Name = QStringLiteral("demo larvae");
        project.Plate_format = plateName;
        project.Working_folder = DefaultWorkingFolder(appDir, number);
        DemoGroups(project, plate);
        try {
            QDir().mkpath(projectFolder);
            SaveProject(project, projectFolder);
        } catch (const RecordError& e) {
            std::fprintf(stderr, "bandora-demorecord: %s\n", e.what());
            return 1;
        }
    }

    if (dayNight) {
        auto& light = project.MenuParam[2];
        light[0] = 1;
        if (light[1] == 0 && light[2] == 0) {
            light[1] = 9;
            light[2] = 21;
        }
    }

    DemoRecording demo;
    demo.ProjectFolder = projectFolder;
    demo.FolderName = folderName;
    demo.Name = name;
    demo.Description = QStringLiteral("recorded without an instrument");
    demo.BufferCycles = cycles;
    demo.SecondsPerCycle = seconds;
    demo.SaveReal = saveReal;
    demo.Seed = seed;
    demo.DayNight = dayNight;
    demo.StoppingWells = stopWells;
    if (const AppendResult result = RecordDemoExperiment(demo, project, plate); !result) {
        std::fprintf(stderr, "bandora-demorecord: %s\n", qPrintable(result.Error));
        return 1;
    }
    std::printf("%s\n", qPrintable(QDir::toNativeSeparators(QDir(projectFolder).filePath(folderName))));
    return 0;
}
