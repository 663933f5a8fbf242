// bandora-sim: a virtual instrument for the unmodified program. It opens a
// pseudo-terminal, links it as ports/COMn of the application folder (where
// the program looks for port n) and answers until interrupted.

#include "SimCommandLine.h"
#include "VirtualInstrument.h"

#include "core/storage/PlateFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <pthread.h>
#endif

using namespace bandora;

namespace {

// The plate in the instrument: the plate file of the application folder, or
// one of the built-in formats.
bool ChoosePlate(const sim::SimCommandLine& command, PlateFormat& plate, QString& error)
{
    const auto problem = LoadPlateNoFallback(command.plate, plate, command.appDir);
    if (!problem)
        return true;
    if (command.plate == "w384" || command.plate == "w96u" || command.plate == "w96f") {
        plate = BuiltInPlate(command.plate);
        return true;
    }
    error = QStringLiteral("plate %1: %2").arg(command.plate, *problem);
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    sim::SimCommandLine command;
    QString error;
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    if (!sim::ParseSimCommandLine(arguments, command, error)) {
        err << "bandora-sim: " << error << Qt::endl;
        return 2;
    }
    if (command.help) {
        QTextStream(stdout) << sim::SimUsage();
        return 0;
    }
    PlateFormat plate;
    if (!ChoosePlate(command, plate, error)) {
        err << "bandora-sim: " << error << Qt::endl;
        return 2;
    }

#if defined(Q_OS_UNIX)
    // Interruptions are taken by this thread alone (sigwait below), so the
    // instrument's own thread must not see them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
#endif

    sim::VirtualInstrument instrument(command.options, plate);
    instrument.SetDoorOpen(command.doorOpen);
    QString warning;
    if (!instrument.Start(&warning)) {
        err << "bandora-sim: " << warning << Qt::endl;
        return 1;
    }
    if (!warning.isEmpty())
        err << "bandora-sim: " << warning << Qt::endl;
    if (!instrument.LinkPort(command.appDir, command.port, &error)) {
        err << "bandora-sim: " << error << Qt::endl;
        return 1;
    }
    err << "bandora-sim: instrument on " << instrument.DevicePath() << ", linked as "
        << QDir(command.appDir).filePath(QStringLiteral("ports/COM%1").arg(command.port))
        << "; Ctrl+C stops it." << Qt::endl;

#if defined(Q_OS_UNIX)
    int received = 0;
    sigwait(&stopSignals, &received);
#endif
    const qint64 frames = instrument.FramesReceived();
    instrument.Stop();
    err << "bandora-sim: stopped after " << frames << " frames." << Qt::endl;
    return 0;
}
