// The program: reads the command line, builds the program state and the
// windows, runs the start-up and then the window event loop.

#include "core/AppState.h"
#include "core/common/ApplicationEventPump.h"
#include "core/common/Clock.h"
#include "core/storage/ApplicationFolder.h"
#include "gui/CommandLine.h"
#include "gui/FrmInit.h"
#include "gui/FrmMain.h"
#include "gui/SerialInstrumentSteps.h"
#include "gui/QtOperator.h"
#include "gui/Startup.h"
#include "gui/StopSignals.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <cstdio>

namespace {

// --help, --version and a malformed line are answered before any window
// system is touched, so they work on a machine without a display (the man
// pages are made from --help at build time). Returns -1 to go on.
int AnswerWithoutWindows(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const bandora::CommandLine line = bandora::ParseCommandLine(arguments);
    if (line.version) {
        std::fputs(qPrintable(bandora::VersionLine()), stdout);
        return 0;
    }
    if (line.help || !line.error.isEmpty()) {
        if (!line.error.isEmpty())
            std::fprintf(stderr, "bandora: %s\n", qPrintable(line.error));
        std::fputs(qPrintable(bandora::CommandLineUsage()), line.help ? stdout : stderr);
        return line.help ? 0 : 2;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (const int answered = AnswerWithoutWindows(argc, argv); answered >= 0)
        return answered;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bandora"));
    QApplication::setApplicationVersion(QStringLiteral(BANDORA_PACKAGE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    // Qt has taken its own options (-platform, ...) out of the arguments by now.
    const bandora::CommandLine line = bandora::ParseCommandLine(QApplication::arguments().mid(1));

    bandora::QtOperator op;
    const bandora::AppFolderChoice folder =
        bandora::ResolveAppFolder(bandora::SystemAppFolderPlaces(line.appDir, QApplication::applicationDirPath()));
    if (!folder.error.isEmpty()) {
        op.inform(folder.error);
        return 1;
    }
    if (!folder.notice.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(folder.notice));

    bandora::SystemClock clock;
    bandora::ApplicationEventPump events;
    bandora::AppState state(folder.dir, op, clock, events);
    bandora::SerialInstrumentSteps instrument(state, line.simulate);
    instrument.SetDoorCycle(line.doorCycle);

    bandora::FrmMain main(state, instrument);
    bandora::FrmInit splash;
    QObject::connect(&main, &bandora::FrmMain::programEnded, &app, [] { QCoreApplication::exit(0); });

    // Logout, shutdown and Ctrl+C end the program as Exit does, without a
    // question: a run is stopped with its outputs off and the virtual
    // instrument's port link is removed on the way out.
    bool running = false;
    bandora::StopSignals stopSignals;
    QObject::connect(&stopSignals, &bandora::StopSignals::stopRequested, &main, [&] {
        if (running)
            main.EndBySignal();
    });

    bandora::Startup startup(state, main, splash, instrument);
    if (startup.Run(line.rest) != bandora::Startup::Result::Running)
        return 1;
    running = true;
    if (stopSignals.Received()) {
        // Asked to end while it was starting.
        main.EndBySignal();
        return 0;
    }
    // Scripts and the package check wait for this line: the windows are up.
    std::fprintf(stderr, "bandora: started in %s, %s\n", qPrintable(QDir::toNativeSeparators(folder.dir)),
                 state.instrument.OfflineMode
                     ? "offline"
                     : qPrintable(QStringLiteral("online on COM%1").arg(state.project.config.Serial_COM)));
    // Said once, after the start-up, without holding it up: the folder the
    // projects and experiments now go to.
    if (!folder.notice.isEmpty()) {
        auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Bandora"), folder.notice,
                                    QMessageBox::Ok, QApplication::activeWindow());
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        box->show();
    }
    return QApplication::exec();
}
