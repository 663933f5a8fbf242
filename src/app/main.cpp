// The program: reads the command line, builds the program state and the
// windows, runs the start-up and then the window event loop.

#include "core/AppState.h"
#include "core/common/ApplicationEventPump.h"
#include "core/common/Clock.h"
#include "gui/CommandLine.h"
#include "gui/FrmInit.h"
#include "gui/FrmMain.h"
#include "gui/SerialInstrumentSteps.h"
#include "gui/QtOperator.h"
#include "gui/Startup.h"
#include "gui/StopSignals.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bandora"));
    QApplication::setQuitOnLastWindowClosed(false);

    const bandora::CommandLine line = bandora::ParseCommandLine(QApplication::arguments().mid(1));
    if (line.help || !line.error.isEmpty()) {
        if (!line.error.isEmpty())
            std::fprintf(stderr, "bandora: %s\n", qPrintable(line.error));
        std::fputs(qPrintable(bandora::CommandLineUsage()), line.help ? stdout : stderr);
        return line.help ? 0 : 2;
    }

    const QString appDir =
        QDir(line.appDir.isEmpty() ? QApplication::applicationDirPath() : line.appDir).absolutePath();

    bandora::QtOperator op;
    bandora::SystemClock clock;
    bandora::ApplicationEventPump events;
    bandora::AppState state(appDir, op, clock, events);
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
    return QApplication::exec();
}
