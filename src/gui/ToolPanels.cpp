#include "ToolPanels.h"

#include "FrmMain.h"
#include "WidgetHelpers.h"
#include "core/AppState.h"
#include "core/common/Operator.h"
#include "core/storage/RecordSyntax.h"
#include "core/tools/LightTemperatureControl.h"
#include "core/tools/ToolEntries.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

namespace bandora {

namespace {

constexpr int kLightRow = 2;
constexpr int kTemperatureRow = 3;

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

ToolPanels::ToolPanels(FrmMain& window, AppState& state, LightTemperatureControl& tools)
    : QObject(&window), w_(window), state_(state), tools_(tools)
{
    tools_.onApplied = [this](quint8 outputs) { ShowOutputs(outputs); };

    connect(w_.cmd_luz, &QPushButton::clicked, this, [this] {
        tools_.PressLight(Running());
        // The lamp answers the press at once, even while the change waits
        // for the acquisition cycle to send it.
        SetLampColour(w_.shape_light, ColourOf(tools_.LightOn ? LampColour::Green : LampColour::Red));
    });
    connect(w_.cmd_frio, &QPushButton::clicked, this, [this] { tools_.PressMode(Running()); });
    connect(w_.cmd_ontemp, &QPushButton::clicked, this, [this] { tools_.PressActuator(Running()); });
    connect(w_.Cmd_settemp, &QPushButton::clicked, this,
            [this] { tools_.TemperatureSetpoint = NumericValue(w_.txttemp->text()); });
    connect(w_.Chk_lenabled, &QCheckBox::toggled, this, [this](bool on) { tools_.SetLightSchedule(on); });
    connect(w_.Chk_tenabled, &QCheckBox::toggled, this, [this](bool on) { tools_.SetTemperatureControl(on); });
    for (QLineEdit* box : {w_.txt_lon, w_.txt_loff, w_.txt_pulsetimes, w_.txt_pulseon, w_.txt_pulseoff, w_.txttemp})
        connect(box, &QLineEdit::editingFinished, this, [this, box] { CheckBox(box); });
}

bool ToolPanels::Running() const { return state_.AcquisitionState == 1; }

void ToolPanels::ShowOutputs(quint8 outputState)
{
    const OutputLook look = LookOfOutputs(outputState);
    w_.cmd_luz->setText(look.luz);
    SetLampColour(w_.shape_light, ColourOf(look.light));
    w_.cmd_frio->setText(look.frio);
    w_.cmd_ontemp->setText(look.ontemp);
    SetLampColour(w_.shape_temp, ColourOf(look.temperature));
}

void ToolPanels::ShowPulseTrain(int pulses)
{
    const bool train = pulses >= 1;
    w_.frm_pulse->setVisible(train);
    w_.txt_lon->setEnabled(!train);
    w_.txt_loff->setEnabled(!train);
}

void ToolPanels::Fill()
{
    tools_.LoadFromProject();
    const auto& light = state_.project.MenuParam[kLightRow];
    const auto& temperature = state_.project.MenuParam[kTemperatureRow];

    w_.Chk_lenabled->setChecked(tools_.LightSchedule);
    w_.txt_lon->setText(QString::number(light[1]));
    w_.txt_loff->setText(QString::number(light[2]));
    w_.frm_pulse->hide();
    if (tools_.LightSchedule) {
        w_.txt_pulsetimes->setText(QString::number(light[3]));
        w_.txt_pulseon->setText(Tenths(light[4]));
        w_.txt_pulseoff->setText(Tenths(light[5]));
        ShowPulseTrain(light[3]);
    }

    w_.Chk_tenabled->setChecked(tools_.TemperatureControl);
    w_.txttemp->setText(Tenths(temperature[1]));
    tools_.TemperatureSetpoint = temperature[1] / 10.0;
}

void ToolPanels::CheckBox(QLineEdit* box)
{
    struct Target {
        QLineEdit* box;
        EntryRule rule;
        int row;
        int column;
    };
    const Target targets[] = {
        {w_.txt_lon, entries::LightOnHour(), kLightRow, 1},
        {w_.txt_loff, entries::LightOffHour(), kLightRow, 2},
        {w_.txt_pulsetimes, entries::PulseTimes(), kLightRow, 3},
        {w_.txt_pulseon, entries::PulseOn(), kLightRow, 4},
        {w_.txt_pulseoff, entries::PulseOff(), kLightRow, 5},
        {w_.txttemp, entries::SetPoint(), kTemperatureRow, 1},
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
            state_.op.inform(t.rule.message);
        box->setText(r.shown);
        state_.project.MenuParam[size_t(t.row)][size_t(t.column)] = r.stored;
        // The hours give way to a pulse train; after a reset to 0 there is
        // none, so they come back.
        if (box == w_.txt_pulsetimes) {
            w_.txt_lon->setEnabled(r.stored < 1);
            w_.txt_loff->setEnabled(r.stored < 1);
        }
        checking_ = false;
        return;
    }
}

} // namespace bandora
