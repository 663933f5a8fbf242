#pragma once

// The receivers' sensitivity (PinHole and Gain per channel, kept in
// calvalue.dat of the program folder and written to the instrument), its
// adjustment until every used beam reads inside the target window, and the
// two ways of setting the detection thresholds: the autozero from the live
// noise and the blank reading run by the acquisition cycle.

#include "core/storage/ProjectSetup.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace bandora {

struct AppState;
struct CycleState;
class RunWindow;

class Calibration {
public:
    static constexpr int kLow = 1638;  // 40 % of 4096
    static constexpr int kHigh = 1843; // 45 % of 4096

    Calibration(AppState& state, CycleState& cycle, RunWindow& window);

    QString FilePath() const;
    // False when the file cannot be read (the tables keep what they had).
    bool ReadCalibrationFile();
    void WriteDefaultCalibrationFile();
    void WriteCalibrationFile();

    // 1, or -1 after the link's register message.
    int WriteChannelSetting(int channel, int pinHole, int gain);

    void RunCalibration();
    void RunAutoAdjust(std::array<bool, kChannelTable>& done);
    void RunAutoZero();
    void StartBlankReading();

    // What stops a run when a write fails during the adjustment.
    std::function<void()> stopRun;

    // How the last RunCalibration ended: true when every used beam settled
    // inside the target window, false when it was cut short; nothing before
    // the first one. The run manifest records it.
    std::optional<bool> beamsSettled;

    // One adjustment step of a channel not yet done, with its signal S.
    // Returns whether the channel is still to be written.
    static bool AdjustChannel(int S, qint16& pinHole, qint16& gain, bool& done, int& direction);

private:
    void ReadSignals(bool pauseAfterPriming);
    // The loop of passes shared by the calibration and the auto-adjustment;
    // false when a write failed.
    bool AdjustLoop(std::array<bool, kChannelTable>& done, bool sayAcquiring);

    AppState& state_;
    CycleState& cycle_;
    RunWindow& window_;
    std::array<qint16, kChannelTable> signals_{};
    std::array<int, kChannelTable> direction_{};
};

} // namespace bandora
