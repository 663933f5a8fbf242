#pragma once

// The program in a folder of its own, with its windows wired as main() wires
// them, a scripted operator and a test clock: the rig of the tests that start
// the whole program against the virtual instrument.

#include "core/AppState.h"
#include "gui/FrmInit.h"
#include "gui/FrmMain.h"
#include "gui/SerialInstrumentSteps.h"
#include "gui/Startup.h"
#include "sim/VirtualInstrument.h"
#include "support/Files.h"
#include "support/ScriptedOperator.h"
#include "support/TestClock.h"
#include "support/WidgetInput.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

namespace bandora::test {

struct ProgramRig {
    // Prepares the folder: the staged program files (files already there are
    // kept), config.dat naming `port`, and with deadPorts the ports COM1 to
    // COM15 leading nowhere, so a port scan never touches a device of the machine.
    ProgramRig(const QString& folder, int port, bool deadPorts) : dir(folder)
    {
        const QDir staged(QStringLiteral(BANDORA_APP_DIR));
        for (const QString& name : staged.entryList({QStringLiteral("*.dat")}, QDir::Files))
            if (!QFile::exists(dir.filePath(name)))
                WriteAll(dir.filePath(name), ReadAll(staged.filePath(name)));
        WriteAll(dir.filePath("config.dat"),
                 "\"Config: <Actual_Project_Number>, <Last_Project>,<Serial_COM>,<Restart_Time>\"\r\n0,0,"
                     + QByteArray::number(port) + ",0\r\n");
        QDir().mkpath(dir.filePath("ports"));
        if (deadPorts)
            for (int n = 1; n <= 15; ++n)
                QFile::link(dir.filePath("nothing-here"), dir.filePath(QStringLiteral("ports/COM%1").arg(n)));
    }

    ~ProgramRig()
    {
        startup.reset();
        main.reset();
        instrument.reset();
    }

    // The windows, not yet started.
    void Build(bool simulate)
    {
        state = std::make_unique<AppState>(dir.path(), op, clock, events);
        instrument = std::make_unique<SerialInstrumentSteps>(*state, simulate);
        main = std::make_unique<FrmMain>(*state, *instrument);
        splash = std::make_unique<FrmInit>();
        QObject::connect(splash.get(), &FrmInit::newsShown, [this](const QString& t) { splashTexts << t; });
        startup = std::make_unique<Startup>(*state, *main, *splash, *instrument, SplashTimings{1, 1});
    }

    Startup::Result Start(bool simulate)
    {
        Build(simulate);
        return startup->Run(QString());
    }

    // Project 3 in its folder, as the setup window would have saved it, with
    // manual calibration and neither calibration nor zero at a run's start.
    void ProjectThreeWithoutCalibration()
    {
        state->project.Num_proj = 3;
        state->projectFolder = dir.filePath("proj3");
        QDir().mkpath(state->projectFolder);
        Child<QAction>(*main, "mncal_on")->trigger();
        Child<QCheckBox>(*main, "mnCalibra")->setChecked(false);
        Child<QCheckBox>(*main, "mnZero")->setChecked(false);
    }

    // The virtual instrument's outputs once they settle on `expected` (it
    // answers on a thread of its own).
    quint8 OutputsSoon(quint8 expected)
    {
        QElapsedTimer t;
        t.start();
        quint8 now = instrument->Simulated()->Outputs();
        while (now != expected && t.elapsed() < 2000) {
            QThread::msleep(5);
            now = instrument->Simulated()->Outputs();
        }
        return now;
    }

    QDir dir;
    ScriptedOperator op;
    TestClock clock;
    TestEventPump events;
    std::unique_ptr<AppState> state;
    std::unique_ptr<SerialInstrumentSteps> instrument;
    std::unique_ptr<FrmMain> main;
    std::unique_ptr<FrmInit> splash;
    std::unique_ptr<Startup> startup;
    QStringList splashTexts;
};

// A temporary program folder, first among the bases of a rig that needs one.
struct TemporaryFolder {
    QTemporaryDir tmp;
};

} // namespace bandora::test
