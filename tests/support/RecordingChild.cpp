// A program that records against the virtual instrument until it is killed:
// the crash tests start it, kill it with SIGKILL at random moments and look
// at what it left. bandora_recording_child PROJECT_FOLDER

#include "e2e/RunRig.h"

#include <QCoreApplication>

#include <cstdio>

using namespace bandora;
using namespace bandora::test;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bandora_recording_child PROJECT_FOLDER\n");
        return 2;
    }
    RunRig r;
    r.state.project.folder = QString::fromLocal8Bit(argv[1]);
    r.state.project.setup.RT_Buffer = 50;
    r.state.project.setup.Aq_lapse = 30;
    r.Start(QStringLiteral("killed"));
    if (!r.window.timerOn)
        return 1;
    std::fprintf(stdout, "%s\n", qPrintable(r.state.run.ExperimentFolderName));
    std::fflush(stdout);
    while (r.window.timerOn)
        r.Ticks(1000);
    return 0;
}
