#pragma once

#include <QObject>

class QLabel;

namespace bandora {

struct AppState;
class FrmMain;

// The organism list (Cmb_organism) and the signal-to-noise factor of the
// zero procedure (txt_snr_umbral, toggled by clicking lbl_umbral).
class OrganismPanel : public QObject {
    Q_OBJECT
public:
    OrganismPanel(FrmMain& window, AppState& state);

    // Start-up: the project's organism (older projects' size classes show as
    // a text of their own) and its preset, then the stored factor.
    void Fill();
    // A choice in the list: stored as the project's organism, then its preset.
    void ChooseOrganism(int index);
    // The preset of the organism now chosen.
    void ApplyOrganism();
    // txt_snr_umbral left: more than 1.0 and up to 5.0, else the message and 1.8.
    void CheckFactor();
    // lbl_umbral clicked: shows or hides the box.
    void ToggleBox();

    double SnrThreshold() const { return SnrThreshold_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowBox(bool visible);

    FrmMain& w_;
    AppState& state_;
    QLabel* label_ = nullptr; // lbl_umbral, watched for clicks
    double SnrThreshold_ = 1.8;
    bool checking_ = false;
};

} // namespace bandora
