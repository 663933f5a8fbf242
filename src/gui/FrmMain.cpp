#include "FrmMain.h"

#include "ActionStatus.h"
#include "ChannelSelectors.h"
#include "DeviceTestView.h"
#include "FrmAbout.h"
#include "FrmFactory.h"
#include "FrmReport.h"
#include "FrmOffline.h"
#include "FrmSetup.h"
#include "InstrumentSteps.h"
#include "LivePlots.h"
#include "OrganismPanel.h"
#include "PictureBox.h"
#include "PlateMapPanel.h"
#include "RunBar.h"
#include "ToolPanels.h"
#include "core/AppState.h"
#include "core/common/Clock.h"
#include "core/common/EventPump.h"
#include "core/common/Operator.h"
#include "core/storage/ConfigFile.h"
#include "core/storage/CountsFile.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RecordSyntax.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace bandora {

namespace {

const QString kTitle = QStringLiteral("<Bandora> Acquisition Software  --------> Main");

} // namespace

FrmMain::FrmMain(AppState& state, InstrumentSteps& instrument, QWidget* parent)
    : QMainWindow(parent), state_(state), instrument_(instrument), cycle_(state.project.setup.RT_Buffer),
      linkOutputs_(state.instrument), tools_(state.project.setup, linkOutputs_, state.services.clock)
{
    setObjectName(QStringLiteral("Frm_Main"));
    setWindowTitle(kTitle);
    Timeradq.setObjectName(QStringLiteral("Timeradq"));
    BuildMenus();
    BuildControls();
    plots_ = new LivePlots(state_, cycle_, *Picreal, *Picact, *picturetime, runBar_->TimeBox(), this);
    plots_->SetPlateMap(frm_platemap);
    plots_->SetRunTimeLabel(&runBar_->RunTimeLabel());
    deviceTest_ = new DeviceTestView(state_, *Picact, *picturetime, *plots_, this);
    acquisition_ = std::make_unique<AcquisitionCycle>(state_, cycle_, tools_, *plots_, recorder_);
    calibration_ = std::make_unique<Calibration>(state_, cycle_, static_cast<RunWindow&>(*this));
    run_ = std::make_unique<RunControl>(state_, cycle_, tools_, *plots_, recorder_, *calibration_,
                                        static_cast<RunWindow&>(*this));
    calibration_->stopRun = [this] { StopRun(RunStopReason::CalibrationFailed); };
    acquisition_->hooks.StopTimer = [this] { Timeradq.stop(); };
    acquisition_->hooks.Report = [this] { ReportFinishedExperiment(); };
    acquisition_->hooks.StopRun = [this] { StopRun(RunStopReason::LapseEnd); };
    acquisition_->hooks.DiskSpaceStatus = [this](const QString& text) { ShowLowSpace(text); };
    acquisition_->hooks.Caption = [this](const QString& text) { ShowCalibrating(text); };
    acquisition_->hooks.RecordingStatus = [this](const QString& reason) { ShowRecordingProblem(reason); };
    acquisition_->hooks.LinkStatus = [this](const QString& problem) { ShowLinkProblem(problem); };
    acquisition_->hooks.AutoAdjust = [this](std::array<bool, kChannelTable>& done) {
        calibration_->RunAutoAdjust(done);
    };
    connect(&Timeradq, &QTimer::timeout, this, [this] { acquisition_->OnAcquisitionTick(); });
    ConnectActions();
    resize(1280, 720);
}

LiveDisplay& FrmMain::Display() { return *plots_; }

FrmMain::~FrmMain()
{
    // The factory window is a window of its own that shows this one again
    // when it closes: it must not outlive it.
    delete factory_.data();
}

void FrmMain::ConnectActions()
{
    for (QAction* com : mncom1)
        connect(com, &QAction::triggered, this, [this, com] { ChooseComPort(com->property("index").toInt()); });
    connect(mncal_on, &QAction::triggered, this, [this] { SetManualCalibration(true); });
    connect(mncal_off, &QAction::triggered, this, [this] { SetManualCalibration(false); });
    connect(mn_factory, &QAction::triggered, this, &FrmMain::OpenFactory);
    connect(mnstatustest, &QAction::triggered, this, &FrmMain::StartDeviceTest);
    connect(mncontent, &QAction::triggered, this, &FrmMain::OpenHelp);
    connect(mnabout, &QAction::triggered, this, &FrmMain::ShowAbout);
    connect(mnexit, &QAction::triggered, this, &QWidget::close);

    connect(runBar_, &RunBar::startPressed, this, &FrmMain::StartRun);
    connect(runBar_, &RunBar::reportPressed, this, &FrmMain::ReportCommand);
    connect(runBar_, &RunBar::pausePressed, this, &FrmMain::PauseRun);
    connect(runBar_, &RunBar::stopPressed, this, [this] { StopRun(RunStopReason::OperatorStop); });
    connect(runBar_, &RunBar::setupPressed, this, &FrmMain::OpenSetup);
    connect(runBar_, &RunBar::offlinePressed, this, &FrmMain::OpenOffline);
    connect(organism_, &OrganismPanel::fastCalibrationPressed, this, &FrmMain::FastCalibration);
    connect(organism_, &OrganismPanel::fastZeroPressed, this, &FrmMain::FastZero);
    connect(organism_, &OrganismPanel::readBlankPressed, this, &FrmMain::ReadBlank);
    connect(selectors_, &ChannelSelectors::channelChosen, plots_, &LivePlots::SelectChannel);
    connect(selectors_, &ChannelSelectors::realTimeToggled, Framereal, &QWidget::setVisible);
    connect(frm_platemap, &PlateMapPanel::wellChosen, selectors_, &ChannelSelectors::SelectWell);
    connect(Cmdzoom_plus, &QPushButton::clicked, this, [this] {
        plots_->ZoomIn();
        ShowZoom();
    });
    connect(Cmdzoom_minus, &QPushButton::clicked, this, [this] {
        plots_->ZoomOut();
        ShowZoom();
    });
}

void FrmMain::ShowZoom() { txtzoom->setText(QString::number(plots_->Zoom())); }

void FrmMain::StartDeviceTest() { deviceTest_->Start(); }

void FrmMain::OpenFactory()
{
    if (!factory_)
        factory_ = FrmFactory::Open(state_, *this);
}

FrmFactory* FrmMain::FactoryWindow() const { return factory_; }

// --- start-up -------------------------------------------------------------

void FrmMain::SetInitialToolCaptions()
{
    toolPanels_->SetInitialCaptions();
    frm_autotext->hide();
}

void FrmMain::ShowToolFrames()
{
    // Only the value 1 shows a frame here, as the start-up has always done.
    organism_->setVisible(state_.project.setup.Menu1 == 1);
    toolPanels_->ShowLightFrame(state_.project.setup.Menu2 == 1);
    toolPanels_->ShowTemperatureFrame(state_.project.setup.Menu3 == 1);
}

void FrmMain::FillOrganismControls() { organism_->Fill(); }

void FrmMain::FillToolControls()
{
    organism_->FillCalibrationSwitches();
    toolPanels_->Fill();
}

void FrmMain::FillDurationList() { runBar_->FillDurationList(); }

void FrmMain::ResetCycleBuffers()
{
    cycle_.Dimension(state_.project.setup.RT_Buffer);
    cycle_.ResetChannels();
}

void FrmMain::PreparePlotArea() { FillSelectors(); }

void FrmMain::FillSelectors() { selectors_->FillSelectors(); }

void FrmMain::ShowProjectName()
{
    runBar_->ShowProjectName(QStringLiteral("%1_%2").arg(state_.project.setup.Num_proj).arg(state_.project.setup.Name));
}

void FrmMain::CheckComPort(int n)
{
    for (QAction* com : mncom1)
        com->setChecked(com->property("index").toInt() == n);
}

void FrmMain::ClearSignalPlot()
{
    runBar_->EnablePause(false);
    plots_->ResetSignalPlot();
}

void FrmMain::ClearActivityPlots()
{
    plots_->ResetActivityPanel();
    picturetime->clear();
}

// --- actions ----------------------------------------------------------------

void FrmMain::StartRun()
{
    ShowRecordingProblem(QString());
    ShowLowSpace(QString());
    ShowLapseSpaceNotice(QString());
    run_->StartRun();
    FollowRunState();
}

void FrmMain::PauseRun()
{
    run_->PauseRun();
    FollowRunState();
}

void FrmMain::StopRun(RunStopReason reason)
{
    // The wells the plate map flags as still go on record with the run.
    if (run_->Journal().Open()) {
        auto& still = run_->Journal().Manifest().StillWells;
        still.clear();
        for (const InactiveWell& w : frm_platemap->InactiveWells())
            still.push_back({w.label, w.since});
    }
    run_->StopRun(reason);
    FollowRunState();
}

void FrmMain::FollowRunState()
{
    // The pause button resumes a paused run; the time counter's label only
    // holds while the run is paused.
    const bool paused = state_.run.State == AcquisitionState::Paused;
    runBar_->ShowPaused(paused);
    // A time counter stopped by the pause: the end of the run moves on with
    // the clock, so the line beside Time says so instead of an end time.
    if (paused && state_.run.TimeCounterPaused)
        plots_->ShowElapsed(state_.run.PausedElapsedMs, qint32(state_.run.PausedElapsedMs / 60000),
                            state_.project.setup.Aq_lapse);
}

void FrmMain::ReportFinishedExperiment()
{
    // A Monitor run has no experiment to report on.
    if (state_.run.Recording)
        ReportCommand();
}

void FrmMain::FastCalibration()
{
    ShowStatus(QStringLiteral("<AUTOCALIBRATION>"));
    state_.run.SnrThreshold = NumericValue(organism_->FactorText());
    calibration_->RunCalibration();
    ShowStatus(QString());
}

void FrmMain::FastZero()
{
    ShowStatus(QStringLiteral("<AUTOCALIBRATION>"));
    state_.run.SnrThreshold = NumericValue(organism_->FactorText());
    calibration_->RunAutoZero();
    ShowStatus(QString());
}

void FrmMain::ReadBlank() { calibration_->StartBlankReading(); }

namespace {

// Written on standard error when it changes to a new text, so a log of the
// program's output tells when recording failed and when it came back.
void EchoChange(QString& held, const QString& text, const char* prefix, const char* cleared)
{
    if (text == held)
        return;
    if (!text.isEmpty())
        std::fprintf(stderr, "%s%s\n", prefix, qPrintable(text));
    else if (cleared)
        std::fprintf(stderr, "%s\n", cleared);
    std::fflush(stderr);
    held = text;
}

} // namespace

void FrmMain::ShowRecordingProblem(const QString& reason)
{
    EchoChange(recordingProblem_, reason, "RECORDING IS FAILING: ", "Recording works again.");
    ShowRecordingNotice();
}

void FrmMain::ShowLowSpace(const QString& text)
{
    EchoChange(lowSpace_, text, "LOW DISK SPACE: ", nullptr);
    ShowRecordingNotice();
}

void FrmMain::ShowLapseSpaceNotice(const QString& text)
{
    EchoChange(lapseShortfall_, text, "LOW DISK SPACE: ", nullptr);
    ShowRecordingNotice();
}

void FrmMain::ShowRecordingNotice()
{
    QString text;
    if (!recordingProblem_.isEmpty())
        text = QStringLiteral("RECORDING IS FAILING: ") + recordingProblem_;
    else if (!lowSpace_.isEmpty())
        text = QStringLiteral("LOW DISK SPACE: ") + lowSpace_;
    else if (!lapseShortfall_.isEmpty())
        text = QStringLiteral("LOW DISK SPACE: ") + lapseShortfall_;
    runBar_->ShowRecordingNotice(text);
}

bool FrmMain::DeviceTestRunning() const { return deviceTest_->Test().Running(); }

void FrmMain::ShowLinkProblem(const QString& problem)
{
    // Said on standard error too, as every message is: an unattended run
    // leaves a trace of when the instrument went away and came back.
    std::fprintf(stderr, "%s\n", qPrintable(problem.isEmpty() ? QStringLiteral("The instrument answers again.") : problem));
    runBar_->ShowLinkNotice(problem);
}

void FrmMain::StopDeviceTest() { deviceTest_->Stop(); }

void FrmMain::StartTimer()
{
    // The zero's progress no longer holds once the run ticks.
    if (runBar_->CalibratingText().startsWith(QStringLiteral("AutoZero")))
        ShowCalibrating(QString());
    Timeradq.setInterval(30);
    Timeradq.start();
}

void FrmMain::StopTimer() { Timeradq.stop(); }

void FrmMain::ShowRunning(bool running)
{
    runBar_->ShowRunning(running);
    organism_->ShowRunning(running);
    if (running && setup_)
        setup_->hide();
}

void FrmMain::LockForBlank()
{
    runBar_->LockForBlank();
    if (setup_)
        setup_->hide();
}

QString FrmMain::DescriptionText() const { return runBar_->Description(); }
QString FrmMain::SnrText() const { return organism_->FactorText(); }
QString FrmMain::TemperatureText() const { return toolPanels_->TemperatureText(); }

void FrmMain::ShowStatus(const QString& text) { runBar_->ShowStatus(text); }

void FrmMain::ShowRunLabel(const QString& text) { runBar_->ShowRunLabel(text); }

void FrmMain::ShowCalibrating(const QString& text) { runBar_->ShowCalibrating(text); }

void FrmMain::ScaleProgress(int width, int height)
{
    Q_UNUSED(height);
    runBar_->ScaleProgress(width);
}

void FrmMain::ProgressMark(int x) { runBar_->ProgressMark(x); }

void FrmMain::SetManualCalibration(bool on)
{
    manualCalibration_ = on;
    state_.run.ManualCalibration = on;
    organism_->SetManualCalibration(on);
    if (!on && setup_)
        setup_->TickCalibrationControl();
    mncal_on->setChecked(on);
    mncal_off->setChecked(!on);
}

void FrmMain::ChooseComPort(int n)
{
    CheckComPort(n);
    // Only stored: the port in use changes at the next start.
    state_.project.config.Serial_COM = static_cast<qint16>(n);
    SaveConfig(state_.project.appDir, state_.project.config, state_.services.op);
}

QAction* FrmMain::ComPortAction(int n) const { return n >= 1 && n <= mncom1.size() ? mncom1[n - 1] : nullptr; }

void FrmMain::OpenHelp()
{
    // Looked up in the program folder rather than the current directory, so
    // the manual opens however the program was started.
    const QString path = QDir(state_.project.appDir).absoluteFilePath(QStringLiteral("bdr_help.pdf"));
    if (!QFileInfo(path).isFile()) {
        StatusLine().Problem(QStringLiteral("The manual is missing: %1 is not there.").arg(QDir::toNativeSeparators(path)),
                             state_.project.appDir);
        return;
    }
    if (StatusLine().Open(path))
        StatusLine().Done(QStringLiteral("Manual opened"), path);
}

ActionStatus& FrmMain::StatusLine() { return ActionStatus::Of(*this, opener_); }

void FrmMain::ShowAbout()
{
    if (!about_)
        about_ = new FrmAbout(this);
    about_->show();
    about_->raise();
    about_->activateWindow();
}

FrmReport* FrmMain::ReportWindow() const { return report_.data(); }

FrmReport& FrmMain::LoadReportWindow()
{
    if (!report_) {
        report_ = new FrmReport(state_, *opener_, this);
        // The per-well export stamps its lines from the offline window's
        // experiment when the folder's own name does not tell the run start.
        report_->SetSelectedExperimentSource([this] { return OfflineSelectedExperiment(); });
    }
    return *report_;
}

void FrmMain::ShowReportOn(const QString& experimentFolder)
{
    if (!QFileInfo(CountsFilePath(experimentFolder)).isFile()) {
        state_.services.op.inform(QStringLiteral("Activity file not Found"));
        return;
    }
    report_->SetInputFolder(QDir::toNativeSeparators(experimentFolder));
    report_->show();
    report_->raise();
    report_->activateWindow();
}

void FrmMain::ReportCommand()
{
    LoadReportWindow().SetBinSize(runBar_->BinMinutes());
    if (state_.run.ExperimentFolderName.isEmpty())
        return;
    ShowReportOn(QDir(state_.project.folder).filePath(state_.run.ExperimentFolderName));
}

void FrmMain::OpenSetup()
{
    if (!setup_) {
        setup_ = new FrmSetup(state_, *this, this);
        // It takes the main window's place on the screen.
        setup_->setGeometry(geometry());
    }
    setup_->SetDescription(runBar_->Description());
    setup_->show();
    setup_->raise();
    setup_->activateWindow();
    hide();
}

FrmSetup* FrmMain::SetupWindow() const { return setup_.data(); }

void FrmMain::setMainDescription(const QString& text) { runBar_->SetDescription(text); }

void FrmMain::showMainWindow()
{
    show();
    raise();
    activateWindow();
}

void FrmMain::showOfflineWindow() { OpenOffline(); }

void FrmMain::OpenOffline()
{
    if (!offline_) {
        offline_ = new FrmOffline(state_, *this, *opener_, this);
        // It takes the main window's place on the screen.
        offline_->setGeometry(geometry());
    }
    if (setup_)
        setup_->SetDescription(runBar_->Description());
    offline_->show();
    offline_->raise();
    offline_->activateWindow();
    hide();
}

FrmOffline* FrmMain::OfflineWindow() const { return offline_.data(); }

QString FrmMain::OfflineSelectedExperiment() const
{
    return offline_ ? offline_->SelectedExperimentName() : QString();
}

void FrmMain::showSetupWindow() { OpenSetup(); }

void FrmMain::openReportWindow(const QString& experimentFolder, int binMinutes)
{
    OpenReportOn(experimentFolder, binMinutes);
}

void FrmMain::OpenReportOn(const QString& experimentFolder, int binMinutes)
{
    LoadReportWindow().SetBinSize(QString::number(binMinutes));
    ShowReportOn(experimentFolder);
}

void FrmMain::showToolFrame(int tool, bool shown)
{
    switch (tool) {
    case 1:
        organism_->setVisible(shown);
        break;
    case 2:
        toolPanels_->ShowLightTool(shown);
        break;
    case 3:
        toolPanels_->ShowTemperatureFrame(shown);
        break;
    default:
        break;
    }
}

void FrmMain::Activate()
{
    // A run paused with its time counter has no timer either; its buffers
    // and counts must survive the window coming back to the front.
    if (!Timeradq.isActive() && state_.run.State == AcquisitionState::Stopped) {
        ShowProjectName();
        // The acquisition cycle re-creates its buffers for the current
        // RT_Buffer, resets every channel's count and level and clears the
        // threshold-setting flag; the live display redraws its plots.
        ResetCycleBuffers();
        // Activation is how a plate or groups changed in the setup window
        // arrive; the operator's choice of channel stays otherwise.
        if (selectors_->ListsOutdated())
            FillSelectors();
        plots_->RefreshView();
        plots_->ResetSignalPlot();
    }
    runBar_->FocusMain();
}

bool FrmMain::RunGoing() const { return Active(state_.run.State) || Timeradq.isActive(); }

void FrmMain::Shutdown() { EndProgram(true); }

void FrmMain::EndBySignal()
{
    if (ended_)
        return;
    if (RunGoing())
        StopRun(RunStopReason::ProgramClosed);
    EndProgram(false);
}

void FrmMain::EndProgram(bool askToSave)
{
    if (ended_)
        return;
    // A run still going when the program ends is stopped here, so its
    // manifest says how it ended and the outputs do not stay switched on.
    if (RunGoing())
        StopRun(RunStopReason::ProgramClosed);
    if (!state_.instrument.OfflineMode && askToSave) {
        const QString question = QStringLiteral("Update values to project %1_%2 before Exit?")
                                     .arg(state_.project.setup.Num_proj)
                                     .arg(state_.project.setup.Name);
        if (state_.services.op.ask(question, Buttons::YesNo) == Answer::Yes) {
            try {
                SaveProject(state_.project.setup, state_.project.folder);
            } catch (const RecordError& e) {
                // The operator asked for the save: say it did not happen
                // instead of ending as if it had.
                state_.services.op.inform(QStringLiteral("Error saving project %1_%2 (%3)")
                                              .arg(state_.project.setup.Num_proj)
                                              .arg(state_.project.setup.Name, QString::fromUtf8(e.what())));
            }
            state_.services.clock.pause(300);
            state_.services.events.processEvents();
            state_.services.clock.pause(300);
        }
    }
    if (!state_.instrument.OfflineMode)
        instrument_.ClosePort(state_);
    ended_ = true;
    if (about_)
        about_->close();
    if (offline_)
        offline_->hide();
    Q_EMIT programEnded();
}

void FrmMain::closeEvent(QCloseEvent* event)
{
    // The start-up still steps the splash: the program ends once it is up.
    if (!startupFinished_) {
        event->ignore();
        return;
    }
    // Closing must not leave the instrument heating with nobody to regulate
    // it: a run is stopped (outputs off, records closed) before the exit.
    if (RunGoing() && !ended_) {
        if (state_.services.op.ask(QStringLiteral("An experiment is running. Stop it and exit?"), Buttons::YesNo) !=
            Answer::Yes) {
            event->ignore();
            return;
        }
        StopRun(RunStopReason::ProgramClosed);
    }
    Shutdown();
    event->accept();
}

void FrmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    ScaleToWindow();
}

void FrmMain::ScaleToWindow()
{
    // Laid out for 1366 x 768; up to half as large again on larger screens.
    constexpr double kSmallestWidth = 1366, kSmallestHeight = 768, kMostScale = 1.5;
    const double scale =
        std::clamp(std::min(width() / kSmallestWidth, height() / kSmallestHeight), 1.0, kMostScale);
    // Steps of a tenth, so a window dragged by hand does not relay out at
    // every pixel.
    const double stepped = std::floor(scale * 10) / 10;
    if (stepped == fontScale_)
        return;
    fontScale_ = stepped;
    if (baseFontPoints_ <= 0)
        baseFontPoints_ = font().pointSizeF();
    if (baseFontPoints_ <= 0)
        return; // a font sized in pixels stays as it is
    QFont f = font();
    f.setPointSizeF(baseFontPoints_ * fontScale_);
    setFont(f);
    SizeToFont();
}

void FrmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Activate();
}

} // namespace bandora
