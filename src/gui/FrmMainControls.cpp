// Construction of the main window's menus and controls. The behaviour lives
// in FrmMain.cpp; this file only decides what is where.

#include "FrmMain.h"

#include "PictureBox.h"
#include "PlateMapPanel.h"
#include "WidgetHelpers.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace bandora {

namespace {

// A scroll area that asks for the height of what it holds, again whenever
// that changes, so the room below it goes to the plate map; only a screen too
// low for both makes it scroll.
class FittingScroll final : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override
    {
        QSize hint = QScrollArea::sizeHint();
        if (widget())
            hint.setHeight(widget()->sizeHint().height() + 2 * frameWidth());
        return hint;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == widget() && event->type() == QEvent::LayoutRequest)
            updateGeometry();
        return QScrollArea::eventFilter(watched, event);
    }
};

} // namespace

void FrmMain::BuildMenus()
{
    QMenuBar* bar = menuBar();

    QMenu* settings = bar->addMenu(QStringLiteral("Settings"));
    settings->setObjectName(QStringLiteral("mnsettings"));
    mn_commports = settings->addMenu(QStringLiteral("COM Ports"));
    mn_commports->setObjectName(QStringLiteral("mn_commports"));
    for (int n = 1; n <= 15; ++n) {
        QAction* com = mn_commports->addAction(QStringLiteral("COM%1").arg(n));
        com->setObjectName(QStringLiteral("mncom1"));
        com->setProperty("index", n);
        com->setCheckable(true);
        mncom1 << com;
    }

    QMenu* advanced = bar->addMenu(QStringLiteral("Advanced"));
    advanced->setObjectName(QStringLiteral("mnadvanced"));
    mn_manualcal = advanced->addMenu(QStringLiteral("Manual_Calibration"));
    mn_manualcal->setObjectName(QStringLiteral("mn_manualcal"));
    mncal_on = Named(mn_manualcal->addAction(QStringLiteral("ON")), "mncal_on");
    mncal_off = Named(mn_manualcal->addAction(QStringLiteral("OFF")), "mncal_off");
    mncal_on->setCheckable(true);
    mncal_off->setCheckable(true);
    mn_factory = Named(advanced->addAction(QStringLiteral("Factory Settings")), "mn_factory");
    mnstatustest = Named(advanced->addAction(QStringLiteral("Test DEVICE")), "mnstatustest");

    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("mnhelp"));
    mncontent = Named(help->addAction(QStringLiteral("Content")), "mncontent");
    mnabout = Named(help->addAction(QStringLiteral("About")), "mnabout");

    mnexit = Named(bar->addAction(QStringLiteral("Exit")), "mnexit");
}

void FrmMain::BuildControls()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(6);
    layout->addWidget(BuildRunBar());
    layout->addWidget(BuildExperimentBar());

    auto* body = new QHBoxLayout;
    body->setSpacing(8);
    body->addWidget(BuildDisplayArea(), 1);
    body->addWidget(BuildToolColumn(), 0);
    layout->addLayout(body, 1);
    setCentralWidget(central);
    SizeToFont();
}

QWidget* FrmMain::BuildRunBar()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);

    CmdPlay = Button("CmdPlay", QStringLiteral("Start"), bar);
    CmdPause = Button("CmdPause", QStringLiteral("Pause"), bar);
    CmdStop = Button("CmdStop", QStringLiteral("Stop"), bar);
    CmdSetup = Button("CmdSetup", QStringLiteral("Setup"), bar);
    CmdOffline = Button("CmdOffline", QStringLiteral("Offline"), bar);
    Cmdreport = Button("Cmdreport", QStringLiteral("Report"), bar);
    CmdMain = Button("CmdMain", QStringLiteral("Main"), bar);

    CmdPlay->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    CmdPause->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
    CmdStop->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    for (QPushButton* b : {CmdPlay, CmdPause, CmdStop, CmdSetup, CmdOffline, Cmdreport, CmdMain})
        MarkRunButton(b);
    // The main button is where the focus rests between actions; it has no
    // action of its own.
    CmdMain->setFlat(true);

    row->addWidget(CmdPlay);
    row->addWidget(CmdPause);
    row->addWidget(CmdStop);
    row->addSpacing(18);
    row->addWidget(CmdSetup);
    row->addWidget(CmdOffline);
    row->addWidget(Cmdreport);
    row->addSpacing(12);
    lbl_status = Named(new QLabel(bar), "lbl_status");
    lbl_status->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    lbl_status->hide();
    lbl_timecounter = Named(new QLabel(bar), "lbl_timecounter");
    lbl_calibrating = Named(new QLabel(bar), "lbl_calibrating");
    lbl_calibrating->hide();
    pic_calibra = Named(new QProgressBar(bar), "pic_calibra");
    pic_calibra->setTextVisible(false);
    pic_calibra->setMaximumWidth(160);
    pic_calibra->hide();
    lbl_recording = Named(new QLabel(bar), "lbl_recording");
    lbl_recording->setStyleSheet(QStringLiteral("color: white; background: #c00000; font-weight: bold; padding: 2px;"));
    lbl_recording->setWordWrap(true);
    lbl_recording->hide();
    lbl_link = Named(new QLabel(bar), "lbl_link");
    lbl_link->setStyleSheet(lbl_recording->styleSheet());
    lbl_link->setWordWrap(true);
    lbl_link->hide();
    row->addWidget(lbl_status);
    row->addWidget(lbl_timecounter);
    row->addWidget(lbl_calibrating);
    row->addWidget(pic_calibra);
    row->addWidget(lbl_recording, 1);
    row->addWidget(lbl_link, 1);
    row->addStretch(1);
    row->addWidget(CmdMain);
    return bar;
}

QWidget* FrmMain::BuildExperimentBar()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);

    txt_projecto = Box("txt_projecto", bar);
    txt_projecto->setReadOnly(true);
    Txt_description = Box("Txt_description", bar);
    Txt_description->setPlaceholderText(QStringLiteral("description of the next experiment"));
    Txt_time = Box("Txt_time", bar, 16);
    Txt_time->setReadOnly(true);
    Txt_time->setAlignment(Qt::AlignCenter);
    combo_minutes = Named(new QComboBox(bar), "combo_minutes");
    combo_minutes->setMinimumContentsLength(5);

    row->addWidget(new QLabel(QStringLiteral("Project:"), bar));
    row->addWidget(txt_projecto, 2);
    row->addSpacing(10);
    row->addWidget(new QLabel(QStringLiteral("Description:"), bar));
    row->addWidget(Txt_description, 5);
    row->addSpacing(10);
    row->addWidget(new QLabel(QStringLiteral("Time:"), bar));
    row->addWidget(Txt_time);
    lbl_runtime = Named(new QLabel(bar), "lbl_runtime");
    row->addWidget(lbl_runtime);
    row->addSpacing(10);
    row->addWidget(new QLabel(QStringLiteral("Minutes:"), bar));
    row->addWidget(combo_minutes);
    return bar;
}

QWidget* FrmMain::BuildDisplayArea()
{
    auto* area = new QWidget(this);
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);

    // The sweeping signal of the selected channel.
    Framereal = Named(new QGroupBox(QStringLiteral("Real-time signal"), area), "Framereal");
    auto* realLayout = new QVBoxLayout(Framereal);
    realLayout->setContentsMargins(6, 4, 6, 6);
    Picreal = Named(new PictureBox(Framereal), "Picreal");
    Picreal->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    realLayout->addWidget(Picreal, 1);
    auto* zoomRow = new QHBoxLayout;
    Cmdzoom_minus = Button("Cmdzoom_minus", QStringLiteral("-"), Framereal);
    Cmdzoom_plus = Button("Cmdzoom_plus", QStringLiteral("+"), Framereal);
    txtzoom = Box("txtzoom", Framereal, 3);
    txtzoom->setText(QStringLiteral("0"));
    txtzoom->setReadOnly(true);
    txtzoom->setAlignment(Qt::AlignCenter);
    for (QPushButton* b : {Cmdzoom_minus, Cmdzoom_plus})
        MarkSquare(b);
    zoomRow->addWidget(new QLabel(QStringLiteral("Zoom:"), Framereal));
    zoomRow->addWidget(Cmdzoom_minus);
    zoomRow->addWidget(txtzoom);
    zoomRow->addWidget(Cmdzoom_plus);
    zoomRow->addStretch(1);
    realLayout->addLayout(zoomRow);
    column->addWidget(Framereal, 3);

    // The activity bars of channel, well and group beside the channel choice.
    auto* lower = new QHBoxLayout;
    lower->setSpacing(8);
    auto* activity = new QGroupBox(QStringLiteral("Activity"), area);
    auto* activityLayout = new QVBoxLayout(activity);
    activityLayout->setContentsMargins(6, 4, 6, 6);
    Picact = Named(new PictureBox(activity), "Picact");
    Picact->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    activityLayout->addWidget(Picact);
    lower->addWidget(activity, 3);

    auto* channel = new QGroupBox(QStringLiteral("Channel"), area);
    auto* grid = new QGridLayout(channel);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    Combofila = Named(new QComboBox(channel), "Combofila");
    Combocol = Named(new QComboBox(channel), "Combocol");
    Combofila->setMinimumContentsLength(2);
    Combocol->setMinimumContentsLength(2);
    txtsub = Box("txtsub", channel, 3);
    txtsub->setText(QStringLiteral("0"));
    lblcanal = Named(new QLabel(QStringLiteral("0"), channel), "lblcanal");
    lblcanal->setFrameShape(QFrame::StyledPanel);
    combogrup = Named(new QComboBox(channel), "combogrup");
    combogrup->setMinimumContentsLength(12);
    lstgrup = Named(new QListWidget(channel), "lstgrup");
    CheckRT = Named(new QCheckBox(QStringLiteral("Real-time plot"), channel), "CheckRT");
    CheckRT->setChecked(true);
    grid->addWidget(Caption(QStringLiteral("Row:"), channel, right), 0, 0);
    grid->addWidget(Combofila, 0, 1);
    grid->addWidget(Caption(QStringLiteral("Column:"), channel, right), 0, 2);
    grid->addWidget(Combocol, 0, 3);
    grid->addWidget(Caption(QStringLiteral("Beam:"), channel, right), 1, 0);
    grid->addWidget(txtsub, 1, 1);
    grid->addWidget(Caption(QStringLiteral("Channel:"), channel, right), 1, 2);
    grid->addWidget(lblcanal, 1, 3);
    grid->addWidget(Caption(QStringLiteral("Group:"), channel, right), 2, 0);
    grid->addWidget(combogrup, 2, 1, 1, 3);
    grid->addWidget(lstgrup, 3, 0, 1, 4);
    grid->addWidget(CheckRT, 4, 0, 1, 4);
    grid->setRowStretch(3, 1);
    lower->addWidget(channel, 1);
    column->addLayout(lower, 2);

    // How far the programmed lapse has run.
    auto* progress = new QHBoxLayout;
    progress->addWidget(new QLabel(QStringLiteral("Progress:"), area));
    picturetime = Named(new PictureBox(area), "picturetime");
    picturetime->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    progress->addWidget(picturetime, 1);
    column->addLayout(progress);
    return area;
}

QWidget* FrmMain::BuildToolColumn()
{
    auto* tools = new QWidget;
    auto* column = new QVBoxLayout(tools);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addWidget(BuildCalibrationFrame());
    column->addWidget(BuildLightFrame());
    column->addWidget(BuildTemperatureFrame());

    frm_autotext = Named(new QFrame(tools), "frm_autotext");
    frm_autotext->setFrameShape(QFrame::StyledPanel);
    new QVBoxLayout(frm_autotext);
    frm_autotext->hide();
    column->addWidget(frm_autotext);
    column->addStretch(1);

    // On a low screen the three tool frames may not all fit: they scroll
    // rather than squeeze the plots.
    toolScroll_ = new FittingScroll(this);
    toolScroll_->setObjectName(QStringLiteral("tool_scroll"));
    toolScroll_->setWidget(tools);
    toolScroll_->setWidgetResizable(true);
    toolScroll_->setFrameShape(QFrame::NoFrame);
    toolScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    toolScroll_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);

    // The wells at a glance under the tool frames: the map keeps the room
    // its wells need to be read, and the tool frames scroll when the rest
    // is too low for them.
    auto* right = new QWidget(this);
    auto* rightColumn = new QVBoxLayout(right);
    rightColumn->setContentsMargins(0, 0, 0, 0);
    rightColumn->setSpacing(6);
    frm_platemap = new PlateMapPanel(state_, right);
    rightColumn->addWidget(toolScroll_, 0);
    rightColumn->addWidget(frm_platemap, 1);
    return right;
}

void FrmMain::SizeToFont()
{
    FitToFont(this);
    const QFontMetrics m = fontMetrics();
    Txt_time->setMinimumWidth(Txt_time->maximumWidth());
    txt_projecto->setMinimumWidth(m.horizontalAdvance(QLatin1Char('M')) * 14);
    txt_projecto->setMaximumWidth(txt_projecto->minimumWidth() * 2);
    lblcanal->setMinimumWidth(m.horizontalAdvance(QStringLiteral("0000")) + 12);
    picturetime->setFixedHeight(m.height() + 4);
    // Nested layouts keep the sizes they worked out before; they all work
    // them out again for the new lettering.
    for (QWidget* w : findChildren<QWidget*>())
        w->updateGeometry();
    for (QLayout* l : findChildren<QLayout*>())
        l->invalidate();
    // The tool column is as wide as its widest panel needs, never squeezed.
    // (Asked of the panels themselves: the column's own layout may still
    // hold their sizes from before the lettering changed.)
    const int widest = std::max({frm_mn1->sizeHint().width(), frm_mn2->sizeHint().width(),
                                 frm_mn3->sizeHint().width(), frm_autotext->sizeHint().width()});
    const int columnWidth = widest + toolScroll_->verticalScrollBar()->sizeHint().width() + 4;
    toolScroll_->setFixedWidth(columnWidth);
    frm_platemap->setMaximumWidth(columnWidth);
}

QGroupBox* FrmMain::BuildCalibrationFrame()
{
    frm_mn1 = Named(new QGroupBox(QStringLiteral("Calibration:")), "frm_mn1");
    auto* grid = new QGridLayout(frm_mn1);
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setVerticalSpacing(4);

    Cmb_organism = Named(new QComboBox(frm_mn1), "Cmb_organism");
    Cmb_organism->addItems({QStringLiteral("C elegans(>L4)"), QStringLiteral("Zebrafish(Larvae)"),
                            QStringLiteral("Customized")});
    lbl_umbral = Named(new QLabel(QStringLiteral(">>>>"), frm_mn1), "lbl_umbral");
    txt_snr_umbral = Box("txt_snr_umbral", frm_mn1, 5);
    txt_snr_umbral->setText(QStringLiteral("1.7"));
    mnCalibra = Named(new QCheckBox(QStringLiteral("Auto   Calibration"), frm_mn1), "mnCalibra");
    mnZero = Named(new QCheckBox(QStringLiteral("Auto   Zero"), frm_mn1), "mnZero");
    cmd_calibra = Button("cmd_calibra", QStringLiteral("Fast CALIB"), frm_mn1);
    Cmd_autozero = Button("Cmd_autozero", QStringLiteral("Fast ZERO"), frm_mn1);
    Cmd_readblank = Button("Cmd_readblank", QStringLiteral("Read Blank"), frm_mn1);

    grid->addWidget(new QLabel(QStringLiteral("Organism:"), frm_mn1), 0, 0);
    grid->addWidget(Cmb_organism, 0, 1, 1, 2);
    grid->addWidget(lbl_umbral, 1, 0);
    grid->addWidget(txt_snr_umbral, 1, 1);
    grid->addWidget(mnCalibra, 2, 0, 1, 2);
    grid->addWidget(cmd_calibra, 2, 2);
    grid->addWidget(mnZero, 3, 0, 1, 2);
    grid->addWidget(Cmd_autozero, 3, 2);
    grid->addWidget(Cmd_readblank, 4, 2);
    return frm_mn1;
}

QGroupBox* FrmMain::BuildLightFrame()
{
    frm_mn2 = Named(new QGroupBox(QStringLiteral("Light Ctrl:")), "frm_mn2");
    auto* column = new QVBoxLayout(frm_mn2);
    column->setContentsMargins(6, 4, 6, 6);
    column->setSpacing(4);

    auto* switches = new QHBoxLayout;
    cmd_luz = Button("cmd_luz", QStringLiteral("OFF"), frm_mn2);
    shape_light = Lamp("shape_light", Qt::red, frm_mn2);
    Chk_lenabled = Named(new QCheckBox(QStringLiteral("Schedule"), frm_mn2), "Chk_lenabled");
    switches->addWidget(cmd_luz);
    switches->addWidget(shape_light);
    switches->addSpacing(8);
    switches->addWidget(Chk_lenabled);
    switches->addStretch(1);
    column->addLayout(switches);

    auto* hours = new QHBoxLayout;
    txt_lon = Box("txt_lon", frm_mn2, 3);
    txt_loff = Box("txt_loff", frm_mn2, 3);
    hours->addWidget(new QLabel(QStringLiteral("ON hour:"), frm_mn2));
    hours->addWidget(txt_lon);
    hours->addSpacing(8);
    hours->addWidget(new QLabel(QStringLiteral("OFF hour:"), frm_mn2));
    hours->addWidget(txt_loff);
    hours->addStretch(1);
    column->addLayout(hours);

    cmd_cyclepulse = Button("cmd_cyclepulse", QStringLiteral("Cycle/Pulse"), frm_mn2);
    column->addWidget(cmd_cyclepulse, 0, Qt::AlignLeft);

    frm_pulse = Named(new QFrame(frm_mn2), "frm_pulse");
    frm_pulse->setFrameShape(QFrame::StyledPanel);
    auto* pulses = new QFormLayout(frm_pulse);
    pulses->setContentsMargins(6, 4, 6, 4);
    txt_pulsetimes = Box("txt_pulsetimes", frm_pulse, 4);
    txt_pulseon = Box("txt_pulseon", frm_pulse, 7);
    txt_pulseoff = Box("txt_pulseoff", frm_pulse, 7);
    pulses->addRow(QStringLiteral("Pulses:"), txt_pulsetimes);
    pulses->addRow(QStringLiteral("ON (min):"), txt_pulseon);
    pulses->addRow(QStringLiteral("OFF (min):"), txt_pulseoff);
    frm_pulse->hide();
    column->addWidget(frm_pulse);
    return frm_mn2;
}

QGroupBox* FrmMain::BuildTemperatureFrame()
{
    frm_mn3 = Named(new QGroupBox(QStringLiteral("Temp Ctrl:")), "frm_mn3");
    auto* column = new QVBoxLayout(frm_mn3);
    column->setContentsMargins(6, 4, 6, 6);
    column->setSpacing(4);

    auto* switches = new QHBoxLayout;
    cmd_frio = Button("cmd_frio", QStringLiteral("FRIO"), frm_mn3);
    cmd_ontemp = Button("cmd_ontemp", QStringLiteral("OFF"), frm_mn3);
    shape_temp = Lamp("shape_temp", Qt::white, frm_mn3);
    switches->addWidget(cmd_frio);
    switches->addWidget(cmd_ontemp);
    switches->addWidget(shape_temp);
    switches->addStretch(1);
    column->addLayout(switches);

    auto* setpoint = new QHBoxLayout;
    Chk_tenabled = Named(new QCheckBox(QStringLiteral("Regulate"), frm_mn3), "Chk_tenabled");
    txttemp = Box("txttemp", frm_mn3, 5);
    Cmd_settemp = Button("Cmd_settemp", QStringLiteral("SET"), frm_mn3);
    setpoint->addWidget(Chk_tenabled);
    setpoint->addSpacing(8);
    setpoint->addWidget(new QLabel(QStringLiteral("Set °C:"), frm_mn3));
    setpoint->addWidget(txttemp);
    setpoint->addWidget(Cmd_settemp);
    setpoint->addStretch(1);
    column->addLayout(setpoint);
    return frm_mn3;
}

} // namespace bandora
