#pragma once

#include <QWidget>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace bandora {

struct AppState;
class LightTemperatureControl;

// The "Light Ctrl:" (frm_mn2) and "Temp Ctrl:" (frm_mn3) frames of the main
// window: the buttons and switches that drive the instrument's outputs
// through LightTemperatureControl, the boxes with their checks, and the
// captions and lamps that follow every output state sent.
class ToolPanels final : public QWidget {
    Q_OBJECT
public:
    ToolPanels(AppState& state, LightTemperatureControl& tools, QWidget* parent = nullptr);

    // Before the project is known: "FRIO", "OFF", "OFF", light schedule ticked.
    void SetInitialCaptions();
    // Start-up: switches, hours, pulse train and set point from the project.
    void Fill();
    // Each frame shown or hidden; the setup window's light switch also shows
    // the pulse train and ticks the schedule with it.
    void ShowLightFrame(bool shown);
    void ShowTemperatureFrame(bool shown);
    void ShowLightTool(bool shown);

    // The captions and lamps of an output state (after every ApplyOutputs).
    void ShowOutputs(quint8 outputState);

    QString TemperatureText() const;
    // The width the wider of the two frames asks for.
    int WidestFrame() const;

private:
    QGroupBox* BuildLightFrame();
    QGroupBox* BuildTemperatureFrame();
    bool Running() const;
    // A box left: checks it, and stores or resets it.
    void CheckBox(QLineEdit* box);
    // txt_lon and txt_loff give way to the pulse train when it has pulses.
    void ShowPulseTrain(int pulses);
    // Hidden with both frames, so the column keeps no gap for them.
    void FollowFrames();

    AppState& state_;
    LightTemperatureControl& tools_;
    bool checking_ = false;

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
};

} // namespace bandora
