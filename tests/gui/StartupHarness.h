#pragma once

// A program folder in a temporary directory with the windows and the start-up
// wired to a scripted operator, a test clock and a scripted instrument.

#include "core/AppState.h"
#include "gui/FrmInit.h"
#include "gui/FrmMain.h"
#include "gui/InstrumentSteps.h"
#include "gui/Startup.h"
#include "support/Files.h"
#include "support/QtPrinters.h"
#include "support/ScriptedOperator.h"
#include "support/TestClock.h"
#include "support/WidgetInput.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>
#include <stdexcept>

namespace bandora::test {

// The instrument as the start-up sees it: answers or not, and counts what
// was asked of it.
class ScriptedInstrument final : public InstrumentSteps {
public:
    void FindInstrument(AppState& state, const std::function<void(const QString&)>& splashText) override
    {
        ++searches;
        if (failSearch)
            throw std::runtime_error("port layer broke");
        for (const QString& t : searchTexts)
            splashText(t);
        state.OfflineMode = !online;
    }
    void ReadFactoryCalibration(AppState& state) override
    {
        ++factoryReads;
        offsetSeenByRead = state.factory.Offset;
        slopeSeenByRead = state.factory.Slope;
    }
    void ClosePort(AppState&) override { ++portCloses; }

    bool online = false;
    bool failSearch = false;
    QStringList searchTexts;
    int searches = 0;
    int factoryReads = 0;
    int portCloses = 0;
    double offsetSeenByRead = -1;
    double slopeSeenByRead = -1;
};

struct StartupHarness {
    // Copies the staged program folder (config.dat, plate files, project 0)
    // unless told to leave the folder empty.
    explicit StartupHarness(bool withAppFiles = true)
    {
        if (withAppFiles) {
            const QDir staged(QStringLiteral(BANDORA_APP_DIR));
            for (const QString& name : staged.entryList({QStringLiteral("*.dat")}, QDir::Files))
                WriteAll(dir.filePath(name), ReadAll(staged.filePath(name)));
        }
    }

    QString appDir() const { return dir.path(); }

    // Builds the state and the windows; call after arranging the folder.
    Startup::Result Start(const QString& switchLine = QString(), const std::function<void()>& arrange = {})
    {
        state = std::make_unique<AppState>(appDir(), op, clock, events);
        if (arrange)
            arrange();
        main = std::make_unique<FrmMain>(*state, instrument);
        splash = std::make_unique<FrmInit>();
        QObject::connect(splash.get(), &FrmInit::newsShown, [this](const QString& t) { splashTexts << t; });
        QObject::connect(main.get(), &FrmMain::programEnded, [this] { ++ended; });
        startup = std::make_unique<Startup>(*state, *main, *splash, instrument, SplashTimings{1, 1});
        return startup->Run(switchLine);
    }

    void WriteConfig(const QByteArray& values)
    {
        WriteAll(dir.filePath(QStringLiteral("config.dat")),
                 "\"Config: <Actual_Project_Number>, <Last_Project>,<Serial_COM>,<Restart_Time>\"\r\n" + values +
                     "\r\n");
    }

    QTemporaryDir dir;
    ScriptedOperator op;
    TestClock clock;
    TestEventPump events;
    ScriptedInstrument instrument;
    std::unique_ptr<AppState> state;
    std::unique_ptr<FrmMain> main;
    std::unique_ptr<FrmInit> splash;
    std::unique_ptr<Startup> startup;
    QStringList splashTexts;
    int ended = 0;
};

} // namespace bandora::test
