#pragma once

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace bandora {

struct AppState;

// The "Calibration:" frame of the main window (frm_mn1): the organism list
// (Cmb_organism) and the signal-to-noise factor of the zero procedure
// (txt_snr_umbral, toggled by clicking lbl_umbral), the switches that have
// every run calibrate and zero itself, and the buttons that do it at once.
class OrganismPanel final : public QGroupBox {
    Q_OBJECT
public:
    OrganismPanel(AppState& state, QWidget* parent = nullptr);

    // Start-up: the project's organism (older projects' size classes show as
    // a text of their own) and its preset, then the stored factor.
    void Fill();
    // The calibration and zero switches from the project.
    void FillCalibrationSwitches();
    // A choice in the list: stored as the project's organism, then its preset.
    void ChooseOrganism(int index);
    // The preset of the organism now chosen.
    void ApplyOrganism();
    // txt_snr_umbral left: more than 1.0 and up to 5.0, else the message and 1.8.
    void CheckFactor();
    // lbl_umbral clicked: shows or hides the box.
    void ToggleBox();
    // The organism and its factor stay as they are while a run goes.
    void ShowRunning(bool running);
    // Advanced > Manual_Calibration: the switches become the operator's, and
    // Read Blank shows; without it every run calibrates and zeroes itself.
    void SetManualCalibration(bool on);

    double SnrThreshold() const { return SnrThreshold_; }
    QString FactorText() const;

Q_SIGNALS:
    void fastCalibrationPressed();
    void fastZeroPressed();
    void readBlankPressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowBox(bool visible);
    void OnAutoCalibrationToggled(bool checked);
    void OnAutoZeroToggled(bool checked);

    AppState& state_;
    QComboBox* Cmb_organism = nullptr;
    QLabel* lbl_umbral = nullptr; // watched for clicks
    QLineEdit* txt_snr_umbral = nullptr;
    QCheckBox* mnCalibra = nullptr;
    QCheckBox* mnZero = nullptr;
    QPushButton* cmd_calibra = nullptr;
    QPushButton* Cmd_autozero = nullptr;
    QPushButton* Cmd_readblank = nullptr;
    double SnrThreshold_ = 1.8;
    bool checking_ = false;
};

} // namespace bandora
