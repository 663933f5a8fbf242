#pragma once

#include "core/tools/FactoryCalibration.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace bandora {

struct AppState;

// The factory temperature calibration window: the live temperature once a
// second, the reference the operator measured, and Cmd_temp, which writes a
// new offset into the instrument's memory. The main window stays hidden
// while it is open and comes back when it closes; the window is deleted on
// closing.
class FrmFactory final : public QWidget {
    Q_OBJECT
public:
    FrmFactory(AppState& state, QWidget& mainWindow);
    ~FrmFactory() override;

    // "Factory Settings": refused offline or with an experiment not stopped;
    // otherwise the window is made and shown and the main window hidden.
    static FrmFactory* Open(AppState& state, QWidget& mainWindow);

    QLineEdit* txt_current_temp = nullptr;
    QLineEdit* txt_set_temp = nullptr;
    QPushButton* Cmd_temp = nullptr;
    QLabel* txt_mensaje = nullptr;
    QTimer Timer_temp;

    void Calibrate();
    void PollTemperature();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    AppState& state_;
    QWidget& main_;
    FactoryCalibration calibration_;
    bool calibrating_ = false;
};

} // namespace bandora
