#pragma once

// The program in a temporary folder of its own, its windows wired as main()
// wires them, with a scripted operator and a test clock. The windows talk to a
// scripted instrument, or over the serial line (with the virtual instrument
// inside the program when simulating).

#include "core/AppState.h"
#include "gui/FrmInit.h"
#include "gui/FrmMain.h"
#include "gui/InstrumentSteps.h"
#include "gui/SerialInstrumentSteps.h"
#include "gui/Startup.h"
#include "sim/VirtualInstrument.h"
#include "support/Files.h"
#include "support/QtPrinters.h"
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
#include <stdexcept>

namespace bandora::test {

// The instrument as the start-up sees it: answers or not, and counts what
// was asked of it.
class ScriptedInstrument final : public InstrumentSteps {
public:
    void FindInstrument(AppState& state, const std::function<void(const QString&)>&) override
    {
        ++searches;
        if (failSearch)
            throw std::runtime_error("port layer broke");
        state.instrument.OfflineMode = !online;
    }
    void ReadFactoryCalibration(AppState& state) override
    {
        ++factoryReads;
        offsetSeenByRead = state.instrument.factory.Offset;
        slopeSeenByRead = state.instrument.factory.Slope;
    }
    void ClosePort(AppState&) override { ++portCloses; }

    bool online = false;
    bool failSearch = false;
    int searches = 0;
    int factoryReads = 0;
    int portCloses = 0;
    double offsetSeenByRead = -1;
    double slopeSeenByRead = -1;
};

struct ProgramRig {
    // Copies the staged program folder (config.dat, plate files, project 0)
    // unless told to leave the folder empty.
    explicit ProgramRig(bool withAppFiles = true) : dir(tmp.path())
    {
        if (withAppFiles) {
            const QDir staged(QStringLiteral(BANDORA_APP_DIR));
            for (const QString& name : staged.entryList({QStringLiteral("*.dat")}, QDir::Files))
                WriteAll(dir.filePath(name), ReadAll(staged.filePath(name)));
        }
    }

    // For the serial line: config.dat names `port`, and with deadPorts the
    // ports COM1 to COM15 lead nowhere, so a port scan never touches a device
    // of the machine.
    void SerialPorts(int port, bool deadPorts)
    {
        WriteConfig("0,0," + QByteArray::number(port) + ",0");
        QDir().mkpath(dir.filePath("ports"));
        if (deadPorts)
            for (int n = 1; n <= 15; ++n)
                QFile::link(dir.filePath("nothing-here"), dir.filePath(QStringLiteral("ports/COM%1").arg(n)));
    }

    // Builds the state and the windows around the scripted instrument; call
    // after arranging the folder.
    Startup::Result Start(const QString& switchLine = QString(), const std::function<void()>& arrange = {})
    {
        state = std::make_unique<AppState>(dir.path(), op, clock, events);
        if (arrange)
            arrange();
        Build(instrument);
        return startup->Run(switchLine);
    }

    // The same over the serial line.
    Startup::Result StartOnSerialLine(bool simulate)
    {
        state = std::make_unique<AppState>(dir.path(), op, clock, events);
        serial = std::make_unique<SerialInstrumentSteps>(*state, simulate);
        Build(*serial);
        return startup->Run(QString());
    }

    void WriteConfig(const QByteArray& values)
    {
        WriteAll(dir.filePath(QStringLiteral("config.dat")),
                 "\"Config: <Actual_Project_Number>, <Last_Project>,<Serial_COM>,<Restart_Time>\"\r\n" + values +
                     "\r\n");
    }

    // Project 3 in its folder, as the setup window would have saved it, with
    // manual calibration and neither calibration nor zero at a run's start.
    void ProjectThreeWithoutCalibration()
    {
        state->project.setup.Num_proj = 3;
        state->project.folder = dir.filePath("proj3");
        QDir().mkpath(state->project.folder);
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
        quint8 now = serial->Simulated()->Outputs();
        while (now != expected && t.elapsed() < 2000) {
            QThread::msleep(5);
            now = serial->Simulated()->Outputs();
        }
        return now;
    }

    QTemporaryDir tmp;
    QDir dir;
    ScriptedOperator op;
    TestClock clock;
    TestEventPump events;
    ScriptedInstrument instrument;
    std::unique_ptr<AppState> state;
    std::unique_ptr<SerialInstrumentSteps> serial;
    std::unique_ptr<FrmMain> main;
    std::unique_ptr<FrmInit> splash;
    std::unique_ptr<Startup> startup;
    QStringList splashTexts;
    int ended = 0;

private:
    void Build(InstrumentSteps& steps)
    {
        main = std::make_unique<FrmMain>(*state, steps);
        splash = std::make_unique<FrmInit>();
        QObject::connect(splash.get(), &FrmInit::newsShown, [this](const QString& t) { splashTexts << t; });
        QObject::connect(main.get(), &FrmMain::programEnded, [this] { ++ended; });
        startup = std::make_unique<Startup>(*state, *main, *splash, steps, SplashTimings{1, 1});
    }
};

} // namespace bandora::test
