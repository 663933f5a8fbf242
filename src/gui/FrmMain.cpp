#include "FrmMain.h"

#include "FrmAbout.h"
#include "FrmReport.h"
#include "FrmSetup.h"
#include "InstrumentSteps.h"
#include "PictureBox.h"
#include "core/AppState.h"
#include "core/common/Clock.h"
#include "core/common/EventPump.h"
#include "core/common/Operator.h"
#include "core/storage/ConfigFile.h"
#include "core/storage/CountsFile.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RecordSyntax.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QUrl>

namespace bandora {

namespace {

const QString kTitle = QStringLiteral("<Bandora> Acquisition Software  --------> Main");

QString Tenths(int tenths) { return QString::number(tenths / 10.0, 'f', 1); }

} // namespace

FrmMain::FrmMain(AppState& state, InstrumentSteps& instrument, QWidget* parent)
    : QMainWindow(parent), state_(state), instrument_(instrument)
{
    setObjectName(QStringLiteral("Frm_Main"));
    setWindowTitle(kTitle);
    Timeradq.setObjectName(QStringLiteral("Timeradq"));
    Timeradq.setInterval(5);
    BuildMenus();
    BuildControls();
    ConnectActions();
    resize(1280, 720);
}

FrmMain::~FrmMain() = default;

void FrmMain::ConnectActions()
{
    for (QAction* com : mncom1)
        connect(com, &QAction::triggered, this, [this, com] { ChooseComPort(com->property("index").toInt()); });
    connect(mncal_on, &QAction::triggered, this, [this] { SetManualCalibration(true); });
    connect(mncal_off, &QAction::triggered, this, [this] { SetManualCalibration(false); });
    connect(mn_factory, &QAction::triggered, this, [this] { NotAvailable(QStringLiteral("Factory Settings")); });
    connect(mnstatustest, &QAction::triggered, this, [this] { NotAvailable(QStringLiteral("Test DEVICE")); });
    connect(mncontent, &QAction::triggered, this, &FrmMain::OpenHelp);
    connect(mnabout, &QAction::triggered, this, &FrmMain::ShowAbout);
    connect(mnexit, &QAction::triggered, this, &QWidget::close);

    connect(CmdPlay, &QPushButton::clicked, this, &FrmMain::StartRun);
    connect(Cmdreport, &QPushButton::clicked, this, &FrmMain::ReportCommand);
    connect(CmdSetup, &QPushButton::clicked, this, &FrmMain::OpenSetup);
    const std::pair<QPushButton*, QString> later[] = {
        {CmdPause, QStringLiteral("Pause")},
        {CmdStop, QStringLiteral("Stop")},
        {CmdOffline, QStringLiteral("The offline window")},
        {cmd_calibra, QStringLiteral("Fast CALIB")},
        {Cmd_autozero, QStringLiteral("Fast ZERO")},
        {Cmd_readblank, QStringLiteral("Read Blank")},
        {cmd_luz, QStringLiteral("Light control")},
        {cmd_frio, QStringLiteral("Temperature control")},
        {cmd_ontemp, QStringLiteral("Temperature control")},
        {Cmd_settemp, QStringLiteral("Temperature control")},
    };
    for (const auto& [button, what] : later)
        connect(button, &QPushButton::clicked, this, [this, what = what] { NotAvailable(what); });

    connect(cmd_cyclepulse, &QPushButton::clicked, this, [this] { frm_pulse->setVisible(frm_pulse->isHidden()); });
    connect(CheckRT, &QCheckBox::toggled, Framereal, &QWidget::setVisible);
    connect(mnCalibra, &QCheckBox::toggled, this, &FrmMain::OnAutoCalibrationToggled);
    connect(mnZero, &QCheckBox::toggled, this, &FrmMain::OnAutoZeroToggled);

    // The channel choice and the zoom come with the live display.
    for (QWidget* w : std::initializer_list<QWidget*>{Cmdzoom_plus, Cmdzoom_minus, Combofila, Combocol, txtsub,
                                                      combogrup, lstgrup})
        w->setEnabled(false);
}

void FrmMain::NotAvailable(const QString& what)
{
    state_.op.inform(QStringLiteral("%1: not available in this version yet.").arg(what));
}

// --- start-up -------------------------------------------------------------

void FrmMain::SetInitialToolCaptions()
{
    cmd_frio->setText(QStringLiteral("FRIO"));
    cmd_ontemp->setText(QStringLiteral("OFF"));
    cmd_luz->setText(QStringLiteral("OFF"));
    Chk_lenabled->setChecked(true);
    frm_autotext->hide();
}

void FrmMain::ShowToolFrames()
{
    // Only the value 1 shows a frame here, as the start-up has always done.
    frm_mn1->setVisible(state_.project.Menu1 == 1);
    frm_mn2->setVisible(state_.project.Menu2 == 1);
    frm_mn3->setVisible(state_.project.Menu3 == 1);
}

void FrmMain::FillOrganismControls()
{
    static const QString kSizeClasses[] = {QStringLiteral("size <100um"), QStringLiteral("size 0.1-1mm"),
                                           QStringLiteral("size >1mm")};
    const int organism = state_.project.MenuParam[1][0];
    if (organism >= 0 && organism < Cmb_organism->count()) {
        Cmb_organism->setCurrentIndex(organism);
    } else {
        // Older projects name the organism by its size class.
        Cmb_organism->setCurrentIndex(-1);
        Cmb_organism->setPlaceholderText(organism >= 7 && organism <= 9 ? kSizeClasses[organism - 7] : QString());
    }
    const int snrx10 = state_.project.MenuParam[1][3];
    if (snrx10 > 0)
        txt_snr_umbral->setText(Tenths(snrx10));
}

void FrmMain::FillToolControls()
{
    auto& light = state_.project.MenuParam[2];
    auto& temperature = state_.project.MenuParam[3];
    const auto& calibration = state_.project.MenuParam[1];

    mnCalibra->setChecked(calibration[1] != 0);
    mnZero->setChecked(calibration[2] != 0);

    const bool lightSchedule = light[0] == 1;
    Chk_lenabled->setChecked(lightSchedule);
    if (light[1] == 0 && light[2] == 0) {
        light[1] = 9;
        light[2] = 21;
    }
    txt_lon->setText(QString::number(light[1]));
    txt_loff->setText(QString::number(light[2]));
    frm_pulse->hide();
    if (lightSchedule) {
        txt_pulsetimes->setText(QString::number(light[3]));
        txt_pulseon->setText(Tenths(light[4]));
        txt_pulseoff->setText(Tenths(light[5]));
        const bool pulses = light[3] >= 1;
        frm_pulse->setVisible(pulses);
        txt_lon->setEnabled(!pulses);
        txt_loff->setEnabled(!pulses);
    }

    Chk_tenabled->setChecked(temperature[0] == 1);
    if (temperature[1] < 20 || temperature[1] > 500)
        temperature[1] = 200;
    txttemp->setText(Tenths(temperature[1]));
}

void FrmMain::FillDurationList()
{
    combo_minutes->clear();
    combo_minutes->addItems({QStringLiteral("15"), QStringLiteral("30"), QStringLiteral("60"), QStringLiteral("120"),
                             QStringLiteral("180"), QStringLiteral("240"), QStringLiteral("360"),
                             QStringLiteral("480"), QStringLiteral("720"), QStringLiteral("1440")});
    combo_minutes->setCurrentIndex(1);
}

void FrmMain::ResetCycleBuffers()
{
    // The acquisition cycle sizes its per-channel ring buffers (channels 0 to
    // 384, RT_Buffer samples) and clears its per-channel counts here.
}

void FrmMain::PreparePlotArea()
{
    // The live display prepares its plot scales and refills the row, column
    // and group lists here.
    lstgrup->clear();
}

void FrmMain::ShowProjectName()
{
    txt_projecto->setText(QStringLiteral("%1_%2").arg(state_.project.Num_proj).arg(state_.project.Name));
}

void FrmMain::CheckComPort(int n)
{
    for (QAction* com : mncom1)
        com->setChecked(com->property("index").toInt() == n);
}

void FrmMain::ClearSignalPlot()
{
    CmdPause->setEnabled(false);
    Picreal->clear();
}

void FrmMain::ClearActivityPlots()
{
    Picact->clear();
    picturetime->clear();
}

// --- actions ----------------------------------------------------------------

void FrmMain::StartRun()
{
    // The run control replaces this with the start of an experiment; the
    // offline refusal stays its first word on a workstation without the link.
    if (state_.OfflineMode) {
        state_.op.inform(QStringLiteral(
            "Acquisition not allowed in OFFLINE MODE. Connect the equipment and restart the program."));
        return;
    }
    NotAvailable(QStringLiteral("Acquisition"));
}

void FrmMain::SetManualCalibration(bool on)
{
    manualCalibration_ = on;
    Cmd_readblank->setVisible(on);
    if (!on) {
        // Without manual calibration every run calibrates and zeroes itself.
        mnCalibra->setChecked(true);
        mnZero->setChecked(true);
    }
    mnCalibra->setEnabled(on);
    mnZero->setEnabled(on);
    if (!on && setup_)
        setup_->TickCalibrationControl();
    mncal_on->setChecked(on);
    mncal_off->setChecked(!on);
}

void FrmMain::OnAutoCalibrationToggled(bool checked)
{
    state_.project.MenuParam[1][1] = checked ? 1 : 0;
    cmd_calibra->setEnabled(!checked);
}

void FrmMain::OnAutoZeroToggled(bool checked)
{
    state_.project.MenuParam[1][2] = checked ? 1 : 0;
    Cmd_autozero->setEnabled(!checked);
}

void FrmMain::ChooseComPort(int n)
{
    CheckComPort(n);
    // Only stored: the port in use changes at the next start.
    state_.config.Serial_COM = static_cast<qint16>(n);
    SaveConfig(state_.appDir, state_.config, state_.op);
}

QAction* FrmMain::ComPortAction(int n) const { return n >= 1 && n <= mncom1.size() ? mncom1[n - 1] : nullptr; }

void FrmMain::OpenHelp()
{
    // Looked up in the program folder rather than the current directory, so
    // the manual opens however the program was started. A missing viewer is
    // not an error worth a message.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QDir(state_.appDir).absoluteFilePath(QStringLiteral("bdr_help.pdf"))));
}

void FrmMain::ShowAbout()
{
    if (!about_)
        about_ = new FrmAbout(this);
    about_->show();
    about_->raise();
    about_->activateWindow();
}

FrmReport* FrmMain::ReportWindow() const { return report_.data(); }

void FrmMain::ReportCommand()
{
    if (!report_)
        report_ = new FrmReport(state_, this);
    report_->SetBinSize(combo_minutes->currentText());
    if (experimentFolderName_.isEmpty())
        return;
    const QString folder = QDir::toNativeSeparators(QDir(state_.projectFolder).filePath(experimentFolderName_));
    if (!QFileInfo(CountsFilePath(folder)).isFile()) {
        state_.op.inform(QStringLiteral("Activity file not Found"));
        return;
    }
    report_->SetInputFolder(folder);
    report_->show();
    report_->raise();
    report_->activateWindow();
}

void FrmMain::OpenSetup()
{
    if (!setup_) {
        setup_ = new FrmSetup(state_, *this, this);
        // It takes the main window's place on the screen.
        setup_->setGeometry(geometry());
    }
    setup_->SetDescription(Txt_description->text());
    setup_->show();
    setup_->raise();
    setup_->activateWindow();
    hide();
}

FrmSetup* FrmMain::SetupWindow() const { return setup_.data(); }

void FrmMain::setMainDescription(const QString& text) { Txt_description->setText(text); }

void FrmMain::showMainWindow()
{
    show();
    raise();
    activateWindow();
}

bool FrmMain::showOfflineWindow()
{
    // The offline window is not built yet; the setup window says so and
    // comes back here.
    return false;
}

void FrmMain::showToolFrame(int tool, bool shown)
{
    switch (tool) {
    case 1:
        frm_mn1->setVisible(shown);
        break;
    case 2:
        frm_mn2->setVisible(shown);
        frm_pulse->setVisible(shown);
        Chk_lenabled->setChecked(shown);
        break;
    case 3:
        frm_mn3->setVisible(shown);
        break;
    default:
        break;
    }
}

void FrmMain::Activate()
{
    if (!Timeradq.isActive()) {
        ShowProjectName();
        // The acquisition cycle re-creates its buffers for the current
        // RT_Buffer, resets every channel's count and level and clears the
        // threshold-setting flag; the live display redraws its plots.
        ResetCycleBuffers();
    }
    CmdMain->setFocus();
}

void FrmMain::Shutdown()
{
    if (ended_)
        return;
    if (!state_.OfflineMode) {
        const QString question = QStringLiteral("Update values to project %1_%2 before Exit?")
                                     .arg(state_.project.Num_proj)
                                     .arg(state_.project.Name);
        if (state_.op.ask(question, Buttons::YesNo) == Answer::Yes) {
            try {
                SaveProject(state_.project, state_.projectFolder);
            } catch (const RecordError& e) {
                // The operator asked for the save: say it did not happen
                // instead of ending as if it had.
                state_.op.inform(QStringLiteral("Error saving project %1_%2 (%3)")
                                     .arg(state_.project.Num_proj)
                                     .arg(state_.project.Name, QString::fromUtf8(e.what())));
            }
            state_.clock.pause(300);
            state_.events.processEvents();
            state_.clock.pause(300);
        }
        instrument_.ClosePort(state_);
    }
    ended_ = true;
    if (about_)
        about_->close();
    Q_EMIT programEnded();
}

void FrmMain::closeEvent(QCloseEvent* event)
{
    // The start-up still steps the splash: the program ends once it is up.
    if (!startupFinished_) {
        event->ignore();
        return;
    }
    Shutdown();
    event->accept();
}

void FrmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Activate();
}

} // namespace bandora
