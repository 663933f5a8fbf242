#pragma once

#include "SetupHost.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace bandora {

struct AppState;
class FrmAbout;
class FrmReport;
class FrmSetup;
class InstrumentSteps;
class PictureBox;

// The main acquisition window. Its controls carry the object names the rest
// of the program (and the tests) look them up by. The start-up sequence fills
// it step by step through the public operations below; the run control, the
// live display and the device tools attach to its controls later.
//
// The port menu entries COM1..COM15 form one family named "mncom1", each
// carrying its port number in the property "index" (see ComPortAction).
class FrmMain : public QMainWindow, private SetupHost {
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
    // Hooks of the acquisition cycle and the live display: per-channel ring
    // buffers sized by RT_Buffer, the plot area and the group list. Empty
    // until those parts exist.
    void ResetCycleBuffers();
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
    // Until the run control exists it only refuses or says so.
    void StartRun();
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
    // Help > Content and Help > About.
    void OpenHelp();
    void ShowAbout();
    // Cmdreport, and the end of a run: hands the experiment recorded last to
    // the report window (created once, loaded hidden) with the bin size of
    // combo_minutes and shows it without blocking; "Activity file not Found"
    // when the experiment has no counts.bin. Nothing happens while no run
    // has been started.
    void ReportCommand();
    // The bare name (ddmmyyyy_hhmm) of the experiment folder of the run
    // started last; the run start sets it.
    void SetExperimentFolderName(const QString& name) { experimentFolderName_ = name; }
    const QString& ExperimentFolderName() const { return experimentFolderName_; }
    // The end of a recording run: the report window opens on its folder.
    void ReportOnExperiment(const QString& name)
    {
        SetExperimentFolderName(name);
        ReportCommand();
    }
    // The one report window, or null before the first report command.
    FrmReport* ReportWindow() const;
    // Re-reads the project into the window when it becomes active again.
    void Activate();
    // Asks about saving (online only), closes the port and ends the program.
    void Shutdown();

    QAction* ComPortAction(int n) const;
    QTimer& AcquisitionTimer() { return Timeradq; }

Q_SIGNALS:
    // The shutdown has finished: the program is to end now.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildMenus();
    void BuildControls();
    QWidget* BuildRunBar();
    QWidget* BuildExperimentBar();
    QWidget* BuildDisplayArea();
    QWidget* BuildToolColumn();
    QGroupBox* BuildCalibrationFrame();
    QGroupBox* BuildLightFrame();
    QGroupBox* BuildTemperatureFrame();
    void ConnectActions();
    void NotAvailable(const QString& what);
    void OnAutoCalibrationToggled(bool checked);
    void OnAutoZeroToggled(bool checked);

    AppState& state_;
    InstrumentSteps& instrument_;
    bool startupFinished_ = false;
    bool ended_ = false;
    bool manualCalibration_ = false;
    QPointer<FrmAbout> about_;
    QPointer<FrmReport> report_;
    QString experimentFolderName_;
    QPointer<FrmSetup> setup_;

    // What the setup window asks of this window.
    void setMainDescription(const QString& text) override;
    void showMainWindow() override;
    bool showOfflineWindow() override;
    void showToolFrame(int tool, bool shown) override;

    // The acquisition cycle's timer; it belongs to the window, as its ring
    // buffers do. Nothing starts it until the acquisition cycle exists.
    QTimer Timeradq;

public:
    // Controls, named as the rest of the program knows them.
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

    QPushButton* CmdPlay = nullptr;
    QPushButton* CmdPause = nullptr;
    QPushButton* CmdStop = nullptr;
    QPushButton* CmdSetup = nullptr;
    QPushButton* CmdOffline = nullptr;
    QPushButton* Cmdreport = nullptr;
    QPushButton* CmdMain = nullptr;

    QLineEdit* txt_projecto = nullptr;
    QLineEdit* Txt_description = nullptr;
    QLineEdit* Txt_time = nullptr;
    QComboBox* combo_minutes = nullptr;

    QGroupBox* Framereal = nullptr;
    PictureBox* Picreal = nullptr;
    PictureBox* Picact = nullptr;
    PictureBox* picturetime = nullptr;
    QLineEdit* txtzoom = nullptr;
    QPushButton* Cmdzoom_plus = nullptr;
    QPushButton* Cmdzoom_minus = nullptr;
    QCheckBox* CheckRT = nullptr;
    QComboBox* Combofila = nullptr;
    QComboBox* Combocol = nullptr;
    QLineEdit* txtsub = nullptr;
    QComboBox* combogrup = nullptr;
    QListWidget* lstgrup = nullptr;
    QLabel* lblcanal = nullptr;

    QGroupBox* frm_mn1 = nullptr;
    QComboBox* Cmb_organism = nullptr;
    QLabel* lbl_umbral = nullptr;
    QLineEdit* txt_snr_umbral = nullptr;
    QCheckBox* mnCalibra = nullptr;
    QCheckBox* mnZero = nullptr;
    QPushButton* cmd_calibra = nullptr;
    QPushButton* Cmd_autozero = nullptr;
    QPushButton* Cmd_readblank = nullptr;

    QGroupBox* frm_mn2 = nullptr;
    QPushButton* cmd_luz = nullptr;
    QFrame* shape_light = nullptr;
    QCheckBox* Chk_lenabled = nullptr;
    QLineEdit* txt_lon = nullptr;
    QLineEdit* txt_loff = nullptr;
    QPushButton* cmd_cyclepulse = nullptr;
    QFrame* frm_pulse = nullptr;
    QLineEdit* txt_pulsetimes = nullptr;
    QLineEdit* txt_pulseon = nullptr;
    QLineEdit* txt_pulseoff = nullptr;

    QGroupBox* frm_mn3 = nullptr;
    QPushButton* cmd_frio = nullptr;
    QPushButton* cmd_ontemp = nullptr;
    QFrame* shape_temp = nullptr;
    QCheckBox* Chk_tenabled = nullptr;
    QLineEdit* txttemp = nullptr;
    QPushButton* Cmd_settemp = nullptr;

    QFrame* frm_autotext = nullptr;
};

} // namespace bandora
