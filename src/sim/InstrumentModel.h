#pragma once

#include "core/storage/PlateFormat.h"
#include "core/storage/ProjectSetup.h"

#include <QVector>

#include <array>
#include <cmath>
#include <random>

namespace bandora::sim {

// What the virtual instrument's beams and wells are like.
struct ModelOptions {
    quint32 seed = 1;
    double noise = 4.0;             // standard deviation of every beam sample, in counts
    int organismsPerWell = 1;
    double emptyWellFraction = 0.1; // share of the wells left without organisms
    double activity = 6.0;          // beam crossings per minute of one organism in the light
    double darkActivity = 0.3;      // activity in the dark, as a share of the activity in the light
    double ambient = 22.0;          // room temperature, degrees Celsius
    double startTemperature = NAN;  // NaN: the room temperature
    double doorCycle = 0.0;         // > 0: the door is opened and closed every this many seconds
};

// The physics behind the protocol: 384 beams whose receivers follow their
// PinHole and Gain setting, organisms in the wells of a plate crossing their
// beams, a temperature that follows the heater and cooler, a light and a door.
// Time moves only through Advance(), so the model runs as fast as a test asks.
class InstrumentModel {
public:
    // Beam level per step of the receiver setting PinHole x 8 + Gain: the
    // factory setting PinHole 2 / Gain 3 (step 19) puts a beam of average
    // sensitivity in the middle of the calibration window 1638..1843, and one
    // step moves a beam by less than the window is wide.
    static constexpr double kLevelPerStep = 87.0;
    static constexpr double kSensitivitySpread = 0.15; // beams differ by up to +-15 %
    static constexpr double kDoorLight = 1200.0;       // raise of every beam with the door open
    static constexpr double kHeatingRate = 0.05;       // degrees per second, element heating
    static constexpr double kCoolingRate = 0.04;       // degrees per second, element cooling
    static constexpr double kRoomTimeConstant = 400.0; // seconds to drift 63 % toward the room
    static constexpr double kMaxStep = 0.01;           // seconds simulated at a time

    InstrumentModel(const ModelOptions& options, const PlateFormat& plate);

    // --- what the program can change --------------------------------------------
    void SetChannelSetting(int channel, quint8 setting); // Gain x 32 + PinHole
    quint8 ChannelSetting(int channel) const { return settings_[channel]; }
    void SetOutputs(quint8 state);
    quint8 Outputs() const { return outputs_; }
    bool LightOn() const;

    // --- what the operator (or a test) can change --------------------------------
    void SetDoorOpen(bool open) { doorOpen_ = open; }
    // Open now: as set, or turned the other way in every second period of
    // the door cycle.
    bool DoorOpen() const;
    // Organisms of a well (0 = empty) and their crossings per minute in the light.
    void SetWell(int well, int organisms, double activity);
    int Organisms(int well) const;

    // --- time --------------------------------------------------------------------
    void Advance(double seconds);
    double Seconds() const { return seconds_; }

    // --- what the program can read -------------------------------------------------
    // Takes one value of every beam (level, interruptions, door, noise).
    void TakeSnapshot();
    bool HasSnapshot() const { return hasSnapshot_; }
    qint16 SnapshotValue(int channel) const { return snapshot_[channel]; }
    // The level of a beam without noise or interruptions.
    double BeamLevel(int channel) const;
    double Temperature() const { return temperature_; }

    // --- the truth, for tests ----------------------------------------------------------
    // Interruptions of a beam since the start (every crossing that darkened a
    // clear beam).
    qint64 TrueInterruptions(int channel) const { return truth_[channel]; }
    int WellOfChannel(int channel) const { return channelWell_[channel]; }

private:
    struct Beam {
        double blockedFor = 0.0; // seconds left of the current interruption
        double clearFor = 1e9;   // seconds since the last interruption ended
        double depth = 0.0;      // share of the light the organism takes away
    };
    struct Well {
        int organisms = 0;
        double activity = 0.0;
        QVector<int> channels;
    };

    void Step(double dt);

    std::mt19937 rng_;
    double noise_;
    double darkActivity_;
    double ambient_;
    double temperature_;
    double seconds_ = 0.0;
    bool doorOpen_ = false;
    double doorCycle_ = 0.0;
    quint8 outputs_ = 0;
    bool hasSnapshot_ = false;

    std::array<quint8, kChannels> settings_{};
    std::array<double, kChannels> sensitivity_{};
    std::array<int, kChannels> channelWell_{};
    std::array<Beam, kChannels> beams_{};
    std::array<qint64, kChannels> truth_{};
    std::array<qint16, kChannels> snapshot_{};
    QVector<Well> wells_;
};

} // namespace bandora::sim
