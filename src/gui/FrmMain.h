#pragma once

#include "DesktopOpener.h"
#include "OfflineHost.h"
#include "SetupHost.h"
#include "core/acquisition/AcquisitionCycle.h"
#include "core/acquisition/Calibration.h"
#include "core/acquisition/RunControl.h"
#include "core/acquisition/RunWindow.h"
#include "core/storage/ExperimentRecorder.h"
#include "core/acquisition/CycleState.h"
#include "core/tools/LightTemperatureControl.h"
#include "core/tools/LinkOutputSender.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <memory>

class QAction;
class QFrame;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;

namespace bandora {

struct AppState;
class ChannelSelectors;
class DeviceTestView;
class FrmAbout;
class FrmFactory;
class FrmReport;
class FrmOffline;
class FrmSetup;
class InstrumentSteps;
class LiveDisplay;
class LivePlots;
class ActionStatus;
class PlateMapPanel;
class OrganismPanel;
class PictureBox;
class RunBar;
class ToolPanels;

// The main acquisition window, made of panels that own their controls: the
// run bar across the top (RunBar), the live display with the channel choice
// (ChannelSelectors), and the tool column (OrganismPanel, ToolPanels) above
// the plate map. Every control carries the object name the rest of the
// program, the tests and users' scripts look it up by. The start-up sequence fills
// it step by step through the public operations below. It owns the
// acquisition cycle's state, the live display drawn from it (LivePlots, with
// the channel choice of ChannelSelectors) and the light and temperature
// outputs (LightTemperatureControl, shown by ToolPanels).
//
// The port menu entries COM1..COM15 form one family named "mncom1", each
// carrying its port number in the property "index" (see ComPortAction).
class FrmMain : public QMainWindow, private SetupHost, private OfflineHost, private RunWindow {
    Q_OBJECT
public:
    FrmMain(AppState& state, InstrumentSteps& instrument, QWidget* parent = nullptr);
    ~FrmMain() override;

    // --- start-up, in the order the start-up sequence calls them ---------

    // Captions of the light and temperature buttons before the project is
    // known: "FRIO", "OFF", "OFF", light schedule ticked, automatic text hidden.
    void SetInitialToolCaptions();
    // frm_mn1..frm_mn3 shown or hidden from the project's Menu1..Menu3.
    void ShowToolFrames();
    // The organism list and the threshold box from the project.
    void FillOrganismControls();
    // Calibration and zero check boxes, light hours and pulses, temperature
    // set point from the project (stored hours 0/0 become 9/21, a set point
    // outside 2.0..50.0 degrees becomes 20.0).
    void FillToolControls();
    // combo_minutes: 15 .. 1440 minutes, 30 selected.
    void FillDurationList();
    // The per-channel ring buffers sized by RT_Buffer and cleared.
    void ResetCycleBuffers();
    // The row, column and group lists refilled (FillSelectors).
    void PreparePlotArea();
    // txt_projecto = project number "_" project name.
    void ShowProjectName();
    // The check mark of the port menu on entry n (none for 16).
    void CheckComPort(int n);
    // The live display before the first run: CmdPause disabled, the
    // real-time plot cleared, then the activity plot and the time bar.
    void ClearSignalPlot();
    void ClearActivityPlots();
    // Closing is refused until the start-up has shown the window and ended.
    void SetStartupFinished(bool finished) { startupFinished_ = finished; }

    // --- actions ---------------------------------------------------------

    // CmdPlay: starts an experiment (also run by the start-up for "/run").
    void StartRun();
    // CmdPause and CmdStop.
    void PauseRun();
    void StopRun(RunStopReason reason = RunStopReason::OperatorStop);
    // The report action at the end of a run's lapse, on the finished
    // experiment.
    void ReportFinishedExperiment();
    // Fast CALIB, Fast ZERO and Read Blank.
    void FastCalibration();
    void FastZero();
    void ReadBlank();
    // The main window's notice that recording is failing; empty hides it.
    // Each failure is also written on standard error.
    void ShowRecordingProblem(const QString& reason) override;
    // The same notice saying that less than an hour of records fits on the
    // disk; empty hides it.
    void ShowLowSpace(const QString& text);
    // The notice that the instrument is not answering; empty hides it.
    void ShowLinkProblem(const QString& problem);

    RunControl& Run() { return *run_; }
    AcquisitionCycle& Acquisition() { return *acquisition_; }
    // Advanced > Manual_Calibration > ON / OFF.
    void SetManualCalibration(bool on);
    bool ManualCalibration() const { return manualCalibration_; }
    // Settings > COM Ports > COMn: stores the port for the next start.
    void ChooseComPort(int n);
    // CmdSetup: shows the setup window without blocking, with the
    // description of the next experiment, and hides this window. The setup
    // window is made on first use and kept, hidden, until its close box.
    void OpenSetup();
    // The setup window while it exists (the run start hides it).
    FrmSetup* SetupWindow() const;
    // CmdOffline (and the start-up in offline mode, and the setup window's
    // "OffLine"): shows the offline window, gives the setup window the
    // description of the next experiment and hides this window. The offline
    // window is made on first use and kept, hidden, until its close box.
    void OpenOffline();
    // The offline window while it exists.
    FrmOffline* OfflineWindow() const;
    // The experiment folder name selected in the offline window's browser,
    // from which the per-well export stamps its lines; empty when the window
    // does not exist or lists projects.
    QString OfflineSelectedExperiment() const;
    // Files the windows hand to the desktop go through this opener; tests
    // put one in that opens nothing.
    void SetDesktopOpener(DesktopOpener& opener) { opener_ = &opener; }
    // The report window opened on an experiment folder with a bin size.
    void OpenReportOn(const QString& experimentFolder, int binMinutes);
    // Help > Content and Help > About.
    void OpenHelp();
    void ShowAbout();
    // Cmdreport, and the end of a recording run: hands the experiment
    // recorded last (ExperimentFolderName of the run state) to the report
    // window, created once and loaded hidden, with the bin size of
    // combo_minutes, and shows it without blocking; "Activity file not
    // Found" when the experiment has no counts.bin. While no run has been
    // started the window only takes the bin size and stays hidden.
    void ReportCommand();
    // The one report window, or null before the first report command.
    FrmReport* ReportWindow() const;
    // Re-reads the project into the window when it becomes active again.
    void Activate();
    // Advanced > Test DEVICE and Advanced > Factory Settings.
    void StartDeviceTest();
    void OpenFactory();
    DeviceTestView& DeviceTester() { return *deviceTest_; }
    // The factory window while it is open.
    FrmFactory* FactoryWindow() const;
    // Asks about saving (online only), closes the port and ends the program.
    void Shutdown();
    // The system asks the program to end (SIGTERM, SIGINT: logout, shutdown,
    // Ctrl+C): a run is stopped as CmdStop stops it, nothing is asked, the
    // port is closed and the program ends.
    void EndBySignal();
    // The status bar's line that says what the last action did.
    ActionStatus& StatusLine();

    QAction* ComPortAction(int n) const;
    QTimer& AcquisitionTimer() { return Timeradq; }

    // --- what the acquisition cycle and the run control work with ---------

    CycleState& Cycle() { return cycle_; }
    LiveDisplay& Display();
    LivePlots& Plots() { return *plots_; }
    LightTemperatureControl& Tools() { return tools_; }
    ChannelSelectors& Selectors() { return *selectors_; }
    OrganismPanel& Organism() { return *organism_; }
    ToolPanels& ToolPanel() { return *toolPanels_; }
    // Where SetOutputs goes: the serial link, unless told otherwise (tests).
    void SetOutputSender(OutputSender& sender) { tools_.SetSender(sender); }
    // The row, column and group lists from the plate and the groups, the
    // first of each selected (also after the setup window changed them).
    void FillSelectors();

Q_SIGNALS:
    // The shutdown has finished: the program is to end now.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    FrmReport& LoadReportWindow();
    void ShowReportOn(const QString& experimentFolder);
    void BuildMenus();
    void BuildControls();
    QWidget* BuildDisplayArea();
    QWidget* BuildToolColumn();
    void ConnectActions();
    void ShowZoom();
    void ShowRecordingNotice();
    void EndProgram(bool askToSave);
    // An experiment runs, is paused or reads its blank.
    bool RunGoing() const;
    // CmdPause's caption and the time counter's label as the run stands.
    void FollowRunState();
    // The lettering grows with the window beyond the smallest screen it is
    // laid out for, so a large screen shows the same window, larger.
    void ScaleToWindow();
    void SizeToFont();

    AppState& state_;
    InstrumentSteps& instrument_;
    bool startupFinished_ = false;
    bool ended_ = false;
    bool manualCalibration_ = false;
    // What the recording notice says, most urgent first.
    QString recordingProblem_;
    QString lowSpace_;
    QString lapseShortfall_;
    QScrollArea* toolScroll_ = nullptr;
    double baseFontPoints_ = 0;
    double fontScale_ = 1.0;
    QPointer<FrmAbout> about_;
    QPointer<FrmReport> report_;
    QPointer<FrmSetup> setup_;
    QPointer<FrmOffline> offline_;
    SystemDesktopOpener systemOpener_;
    DesktopOpener* opener_ = &systemOpener_;

    // What the setup window asks of this window.
    void setMainDescription(const QString& text) override;
    void showMainWindow() override;
    void showOfflineWindow() override;
    void showToolFrame(int tool, bool shown) override;
    // What the offline window asks of this window (showMainWindow above too).
    void showSetupWindow() override;
    void openReportWindow(const QString& experimentFolder, int binMinutes) override;

    // What the run control and calibration ask of this window.
    void StartTimer() override;
    void StopTimer() override;
    void StopDeviceTest() override;
    void ShowRunning(bool running) override;
    void LockForBlank() override;
    QString DescriptionText() const override;
    QString SnrText() const override;
    QString TemperatureText() const override;
    void ShowStatus(const QString& text) override;
    void ShowRunLabel(const QString& text) override;
    void ShowCalibrating(const QString& text) override;
    void ScaleProgress(int width, int height) override;
    void ProgressMark(int x) override;
    bool DeviceTestRunning() const override;
    void ShowLapseSpaceNotice(const QString& text) override;

    // The acquisition cycle's timer; it belongs to the window, as its ring
    // buffers do. Nothing starts it until the acquisition cycle exists.
    QTimer Timeradq;
    CycleState cycle_;
    LinkOutputSender linkOutputs_;
    LightTemperatureControl tools_;
    LivePlots* plots_ = nullptr;
    ChannelSelectors* selectors_ = nullptr;
    OrganismPanel* organism_ = nullptr;
    ToolPanels* toolPanels_ = nullptr;
    DeviceTestView* deviceTest_ = nullptr;
    QPointer<FrmFactory> factory_;
    ExperimentRecorder recorder_;
    // Made once the live display exists.
    std::unique_ptr<AcquisitionCycle> acquisition_;
    std::unique_ptr<Calibration> calibration_;
    std::unique_ptr<RunControl> run_;

    // The controls the window keeps for itself; the panels own theirs.
    QAction* mncontent = nullptr;
    QAction* mnabout = nullptr;
    QAction* mnexit = nullptr;
    QAction* mn_factory = nullptr;
    QAction* mnstatustest = nullptr;
    QAction* mncal_on = nullptr;
    QAction* mncal_off = nullptr;
    QMenu* mn_commports = nullptr;
    QMenu* mn_manualcal = nullptr;
    QList<QAction*> mncom1; // index 0 is COM1

    RunBar* runBar_ = nullptr;
    QGroupBox* Framereal = nullptr;
    PictureBox* Picreal = nullptr;
    PictureBox* Picact = nullptr;
    PictureBox* picturetime = nullptr;
    QLineEdit* txtzoom = nullptr;
    QPushButton* Cmdzoom_plus = nullptr;
    QPushButton* Cmdzoom_minus = nullptr;
    QFrame* frm_autotext = nullptr;
    PlateMapPanel* frm_platemap = nullptr;
};

} // namespace bandora
