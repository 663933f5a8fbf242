#include "ToolPanels.h"

#include "WidgetHelpers.h"
#include "core/AppState.h"
#include "core/common/Operator.h"
#include "core/storage/RecordSyntax.h"
#include "core/tools/LightTemperatureControl.h"
#include "core/tools/ToolEntries.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace bandora {

namespace {

QColor ColourOf(LampColour c)
{
    switch (c) {
    case LampColour::Red:
        return QColor(255, 0, 0);
    case LampColour::Green:
        return QColor(0, 255, 0);
    case LampColour::Blue:
        return QColor(0, 0, 255);
    case LampColour::White:
        break;
    }
    return QColor(255, 255, 255);
}

QString Tenths(int tenths) { return QString::number(tenths / 10.0, 'f', 1); }

} // namespace

ToolPanels::ToolPanels(AppState& state, LightTemperatureControl& tools, QWidget* parent)
    : QWidget(parent), state_(state), tools_(tools)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addWidget(BuildLightFrame());
    column->addWidget(BuildTemperatureFrame());

    tools_.onApplied = [this](quint8 outputs) { ShowOutputs(outputs); };

    connect(cmd_luz, &QPushButton::clicked, this, [this] {
        tools_.PressLight(Running());
        // The lamp answers the press at once, even while the change waits
        // for the acquisition cycle to send it.
        SetLampColour(shape_light, ColourOf(tools_.LightOn ? LampColour::Green : LampColour::Red));
    });
    connect(cmd_frio, &QPushButton::clicked, this, [this] { tools_.PressMode(Running()); });
    connect(cmd_ontemp, &QPushButton::clicked, this, [this] { tools_.PressActuator(Running()); });
    connect(Cmd_settemp, &QPushButton::clicked, this,
            [this] { tools_.TemperatureSetpoint = NumericValue(txttemp->text()); });
    connect(Chk_lenabled, &QCheckBox::toggled, this, [this](bool on) { tools_.SetLightSchedule(on); });
    connect(Chk_tenabled, &QCheckBox::toggled, this, [this](bool on) { tools_.SetTemperatureControl(on); });
    connect(cmd_cyclepulse, &QPushButton::clicked, this, [this] { frm_pulse->setVisible(frm_pulse->isHidden()); });
    for (QLineEdit* box : {txt_lon, txt_loff, txt_pulsetimes, txt_pulseon, txt_pulseoff, txttemp})
        connect(box, &QLineEdit::editingFinished, this, [this, box] { CheckBox(box); });
}

QGroupBox* ToolPanels::BuildLightFrame()
{
    frm_mn2 = Named(new QGroupBox(QStringLiteral("Light Ctrl:"), this), "frm_mn2");
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

QGroupBox* ToolPanels::BuildTemperatureFrame()
{
    frm_mn3 = Named(new QGroupBox(QStringLiteral("Temp Ctrl:"), this), "frm_mn3");
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

void ToolPanels::SetInitialCaptions()
{
    cmd_frio->setText(QStringLiteral("FRIO"));
    cmd_ontemp->setText(QStringLiteral("OFF"));
    cmd_luz->setText(QStringLiteral("OFF"));
    Chk_lenabled->setChecked(true);
}

void ToolPanels::ShowLightFrame(bool shown)
{
    frm_mn2->setVisible(shown);
    FollowFrames();
}

void ToolPanels::ShowTemperatureFrame(bool shown)
{
    frm_mn3->setVisible(shown);
    FollowFrames();
}

void ToolPanels::ShowLightTool(bool shown)
{
    ShowLightFrame(shown);
    frm_pulse->setVisible(shown);
    Chk_lenabled->setChecked(shown);
}

void ToolPanels::FollowFrames() { setVisible(!frm_mn2->isHidden() || !frm_mn3->isHidden()); }

QString ToolPanels::TemperatureText() const { return txttemp->text(); }

int ToolPanels::WidestFrame() const { return std::max(frm_mn2->sizeHint().width(), frm_mn3->sizeHint().width()); }

bool ToolPanels::Running() const { return state_.run.State == AcquisitionState::Running; }

void ToolPanels::ShowOutputs(quint8 outputState)
{
    const OutputLook look = LookOfOutputs(outputState);
    cmd_luz->setText(look.luz);
    SetLampColour(shape_light, ColourOf(look.light));
    cmd_frio->setText(look.frio);
    cmd_ontemp->setText(look.ontemp);
    SetLampColour(shape_temp, ColourOf(look.temperature));
}

void ToolPanels::ShowPulseTrain(int pulses)
{
    const bool train = pulses >= 1;
    frm_pulse->setVisible(train);
    txt_lon->setEnabled(!train);
    txt_loff->setEnabled(!train);
}

void ToolPanels::Fill()
{
    tools_.LoadFromProject();
    const auto light = state_.project.setup.Light();
    const int setpointx10 = state_.project.setup.Temperature().Setpointx10();

    Chk_lenabled->setChecked(tools_.LightSchedule);
    txt_lon->setText(QString::number(light.OnHour()));
    txt_loff->setText(QString::number(light.OffHour()));
    frm_pulse->hide();
    if (tools_.LightSchedule) {
        txt_pulsetimes->setText(QString::number(light.Pulses()));
        txt_pulseon->setText(Tenths(light.PulseOnTenths()));
        txt_pulseoff->setText(Tenths(light.PulseOffTenths()));
        ShowPulseTrain(light.Pulses());
    }

    Chk_tenabled->setChecked(tools_.TemperatureControl);
    txttemp->setText(Tenths(setpointx10));
    tools_.TemperatureSetpoint = setpointx10 / 10.0;
}

void ToolPanels::CheckBox(QLineEdit* box)
{
    struct Target {
        QLineEdit* box;
        EntryRule rule;
        qint16& stored;
    };
    const auto light = state_.project.setup.Light();
    const Target targets[] = {
        {txt_lon, entries::LightOnHour(), light.OnHour()},
        {txt_loff, entries::LightOffHour(), light.OffHour()},
        {txt_pulsetimes, entries::PulseTimes(), light.Pulses()},
        {txt_pulseon, entries::PulseOn(), light.PulseOnTenths()},
        {txt_pulseoff, entries::PulseOff(), light.PulseOffTenths()},
        {txttemp, entries::SetPoint(), state_.project.setup.Temperature().Setpointx10()},
    };
    // The message box takes the focus from the box; that must not check it again.
    if (checking_)
        return;
    for (const Target& t : targets) {
        if (t.box != box)
            continue;
        checking_ = true;
        const EntryResult r = CheckEntry(t.rule, box->text());
        if (!r.valid)
            state_.services.op.inform(t.rule.message);
        box->setText(r.shown);
        t.stored = r.stored;
        // The hours give way to a pulse train; after a reset to 0 there is
        // none, so they come back.
        if (box == txt_pulsetimes) {
            txt_lon->setEnabled(r.stored < 1);
            txt_loff->setEnabled(r.stored < 1);
        }
        checking_ = false;
        return;
    }
}

} // namespace bandora
