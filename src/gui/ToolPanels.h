#pragma once

#include <QObject>

class QColor;
class QFrame;
class QLineEdit;

namespace bandora {

struct AppState;
struct EntryRule;
class FrmMain;
class LightTemperatureControl;

// The "Light Ctrl:" and "Temp Ctrl:" panels of the main window: the buttons
// and switches that drive the instrument's outputs through
// LightTemperatureControl, the boxes with their checks, and the captions
// and lamps that follow every output state sent.
class ToolPanels : public QObject {
    Q_OBJECT
public:
    ToolPanels(FrmMain& window, AppState& state, LightTemperatureControl& tools);

    // Start-up: switches, hours, pulse train and set point from the project.
    void Fill();

    // The captions and lamps of an output state (after every ApplyOutputs).
    void ShowOutputs(quint8 outputState);

    // A box left: checks it, and stores or resets it. Public so a window
    // that takes the focus elsewhere can have a box checked first.
    void CheckBox(QLineEdit* box);

private:
    bool Running() const;
    // txt_lon and txt_loff give way to the pulse train when it has pulses.
    void ShowPulseTrain(int pulses);

    FrmMain& w_;
    AppState& state_;
    LightTemperatureControl& tools_;
    bool checking_ = false;
};

} // namespace bandora
