#include "Startup.h"

#include "FrmInit.h"
#include "FrmMain.h"
#include "FrmOffline.h"
#include "InstrumentSteps.h"
#include "CommandLine.h"
#include "core/AppState.h"
#include "core/common/Operator.h"
#include "core/storage/ConfigFile.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/WorkingFolder.h"

#include <QEventLoop>
#include <QScreen>

#include <exception>

namespace bandora {

namespace {
const QString kStarting = QStringLiteral("STARTING........... ");
}

Startup::Startup(AppState& state, FrmMain& main, FrmInit& splash, InstrumentSteps& instrument,
                 SplashTimings timings)
    : state_(state), main_(main), splash_(splash), instrument_(instrument), timings_(timings)
{
    Timerinicio.setObjectName(QStringLiteral("Timerinicio"));
    Timerinicio.setInterval(timings_.firstMs);
    connect(&Timerinicio, &QTimer::timeout, this, &Startup::OnTimerinicio);
}

Startup::Result Startup::Run(const QString& switchLine)
{
    state_.StartupStage = 0;
    state_.instrument.OfflineMode = false;
    // The run control clears its recording and threshold-setting flags here.
    autoRun_ = IsAutoRunSwitch(switchLine);
    state_.run.AutoRun = autoRun_;
    main_.SetInitialToolCaptions();

    // Without config.dat the installation is incomplete: stop before anything
    // is shown or written, so a wrong folder is never turned into one.
    if (!ConfigFileExists(state_.project.appDir)) {
        state_.services.op.inform(QStringLiteral("Config file not found: Check correct software installation"));
        return Result::MissingConfig;
    }

    try {
        RunStages();
        return Result::Running;
    } catch (const std::exception&) {
        // Whatever broke, the operator learns the stage it broke in.
    } catch (...) {
    }
    Timerinicio.stop();
    splash_.hide();
    main_.hide();
    state_.services.op.inform(QStringLiteral("Error loading INIT parameters #ERROR:%1").arg(state_.StartupStage));
    return Result::Failed;
}

void Startup::RunStages()
{
    state_.StartupStage = 1;
    LoadConfig(state_.project.appDir, state_.project.config, state_.services.op);
    state_.StartupStage = 2;
    state_.project.folder = DecideProjectFolder(state_.project.appDir, state_.project.config);

    state_.StartupStage = 3;
    splash_.show();
    splash_.raise();
    main_.hide();
    RunSplashStep(0);
    state_.project.setup.Num_proj = state_.project.config.Actual_Project_Number;
    ProjectContext project;
    project.appDir = state_.project.appDir;
    project.projectFolder = state_.project.folder;
    project.op = &state_.services.op;
    project.splashStatus = [this](const QString& text) { splash_.ShowNews(text); };
    LoadProject(state_.project.setup, state_.project.plate, project);

    state_.StartupStage = 4;
    RunSplashStep(1);
    main_.ShowToolFrames();
    main_.FillOrganismControls();

    state_.StartupStage = 5;
    main_.FillToolControls();
    main_.SetManualCalibration(false);
    main_.FillDurationList();
    main_.ResetCycleBuffers();
    main_.PreparePlotArea();
    main_.ShowProjectName();
    instrument_.FindInstrument(state_, [this](const QString& text) { splash_.ShowNews(text); });
    main_.CheckComPort(state_.project.config.Serial_COM);

    state_.StartupStage = 6;
    splash_.ShowNews(kStarting + QStringLiteral("Reading Factory Calibration..."));
    state_.instrument.factory.Offset = 0.0;
    state_.instrument.factory.Slope = 0.219;
    if (!state_.instrument.OfflineMode)
        instrument_.ReadFactoryCalibration(state_);
    RunSplashStep(2);

    main_.ClearSignalPlot();
    state_.StartupStage = 7;
    main_.ClearActivityPlots();

    Timerinicio.setInterval(timings_.laterMs);
    RunSplashStep(3);

    state_.StartupStage = 8;
    if (state_.instrument.OfflineMode)
        ShowOfflineWindow();
    else
        ShowMainWindow();

    Timerinicio.setInterval(timings_.laterMs);
    RunSplashStep(4);

    state_.StartupStage = 9;
    main_.SetStartupFinished(true);
    if (autoRun_)
        main_.StartRun();
}

void Startup::ShowMainWindow()
{
    // Without a window manager (a kiosk, a virtual display) maximising
    // does nothing: take the screen's free area in any case.
    if (const QScreen* screen = main_.screen())
        main_.resize(screen->availableGeometry().size());
    main_.showMaximized();
    main_.raise();
    main_.activateWindow();
}

void Startup::ShowOfflineWindow()
{
    // Without an instrument only recordings can be studied: the offline
    // window comes up in the main window's place and the main window stays
    // hidden until the operator asks for it.
    if (const QScreen* screen = main_.screen())
        main_.setGeometry(screen->availableGeometry());
    main_.OpenOffline();
    if (FrmOffline* offline = main_.OfflineWindow())
        offline->showMaximized();
}

void Startup::RunSplashStep(int n)
{
    SplashStep = static_cast<qint16>(n);
    SplashStepDone = false;
    Timerinicio.start();
    QEventLoop wait;
    const auto done = connect(&Timerinicio, &QTimer::timeout, &wait, &QEventLoop::quit);
    while (!SplashStepDone) {
        if (wait.exec() != 0) {
            // The application is being told to quit and no longer runs
            // event loops: do the step now rather than wait for a timer
            // that will never fire.
            OnTimerinicio();
        }
    }
    disconnect(done);
}

void Startup::OnTimerinicio()
{
    Timerinicio.stop();
    PerformSplashStep(SplashStep);
    SplashStepDone = true;
}

void Startup::PerformSplashStep(int n)
{
    switch (n) {
    case 0:
        splash_.ShowNews(kStarting + QStringLiteral("Reading Configuration..."));
        break;
    case 1:
        splash_.ShowNews(kStarting + QStringLiteral("Opening Communication Port..."));
        break;
    case 2:
        splash_.ShowNews(kStarting + (state_.instrument.OfflineMode ? QStringLiteral("Starting Offline Session...")
                                                         : QStringLiteral("Communication OK...")));
        break;
    case 3:
        splash_.repaint();
        break;
    default:
        splash_.hide();
        break;
    }
}

} // namespace bandora
