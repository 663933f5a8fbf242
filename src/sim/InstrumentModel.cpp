#include "InstrumentModel.h"

#include "core/link/Commands.h"

#include <algorithm>

namespace bandora::sim {

namespace {
// How long a crossing darkens a beam, and how long a beam stays clear at
// least before the next crossing can darken it: long enough that a program
// sampling every 30 to 100 ms sees every interruption and every gap.
constexpr double kShortestCrossing = 0.2;
constexpr double kLongestCrossing = 0.6;
constexpr double kShortestGap = 0.3;
constexpr double kShallowest = 0.3;
constexpr double kDeepest = 0.6;
constexpr quint8 kFactorySetting = 3 * 32 + 2; // Gain 3, PinHole 2
} // namespace

InstrumentModel::InstrumentModel(const ModelOptions& options, const PlateFormat& plate)
    : rng_(options.seed), noise_(options.noise), darkActivity_(options.darkActivity), ambient_(options.ambient),
      temperature_(std::isnan(options.startTemperature) ? options.ambient : options.startTemperature)
{
    std::uniform_real_distribution<double> spread(1.0 - kSensitivitySpread, 1.0 + kSensitivitySpread);
    for (int ch = 0; ch < kChannels; ++ch) {
        sensitivity_[ch] = spread(rng_);
        settings_[ch] = kFactorySetting;
        channelWell_[ch] = plate.ChannelWell[ch];
        snapshot_[ch] = 0;
    }
    int maxWell = -1;
    for (int ch = 0; ch < kChannels; ++ch)
        maxWell = std::max(maxWell, channelWell_[ch]);
    wells_.resize(maxWell + 1);
    for (int ch = 0; ch < kChannels; ++ch) {
        if (channelWell_[ch] >= 0)
            wells_[channelWell_[ch]].channels.push_back(ch);
    }
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_real_distribution<double> liveliness(0.5, 1.5);
    for (Well& well : wells_) {
        const bool empty = well.channels.isEmpty() || unit(rng_) < options.emptyWellFraction;
        well.organisms = empty ? 0 : options.organismsPerWell;
        well.activity = options.activity * liveliness(rng_);
    }
}

void InstrumentModel::SetChannelSetting(int channel, quint8 setting)
{
    if (channel >= 0 && channel < kChannels)
        settings_[channel] = setting;
}

void InstrumentModel::SetOutputs(quint8 state) { outputs_ = state & 0x07; }

bool InstrumentModel::LightOn() const { return (outputs_ & kOutputLight) != 0; }

void InstrumentModel::SetWell(int well, int organisms, double activity)
{
    if (well < 0 || well >= wells_.size())
        return;
    wells_[well].organisms = std::max(0, organisms);
    wells_[well].activity = std::max(0.0, activity);
}

int InstrumentModel::Organisms(int well) const
{
    return well >= 0 && well < wells_.size() ? wells_[well].organisms : 0;
}

double InstrumentModel::BeamLevel(int channel) const
{
    const quint8 s = settings_[channel];
    const int pinHole = s & 0x07;
    const int gain = (s >> 5) & 0x07;
    return kLevelPerStep * (pinHole * 8 + gain + 1) * sensitivity_[channel];
}

void InstrumentModel::Advance(double seconds)
{
    while (seconds > 0.0) {
        const double dt = std::min(seconds, kMaxStep);
        Step(dt);
        seconds -= dt;
    }
}

void InstrumentModel::Step(double dt)
{
    seconds_ += dt;

    // The temperature relaxes toward the room and follows the element.
    double rate = (ambient_ - temperature_) / kRoomTimeConstant;
    if (outputs_ & kOutputActuator)
        rate += (outputs_ & kOutputHeating) ? kHeatingRate : -kCoolingRate;
    temperature_ += rate * dt;

    for (Beam& beam : beams_) {
        if (beam.blockedFor > 0.0) {
            beam.blockedFor -= dt;
            if (beam.blockedFor <= 0.0) {
                beam.blockedFor = 0.0;
                beam.clearFor = 0.0;
            }
        } else {
            beam.clearFor += dt;
        }
    }

    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double light = LightOn() ? 1.0 : darkActivity_;
    for (const Well& well : wells_) {
        if (well.organisms == 0 || well.channels.isEmpty())
            continue;
        const double perSecond = well.organisms * well.activity / 60.0 * light;
        if (unit(rng_) >= 1.0 - std::exp(-perSecond * dt))
            continue;
        // An organism crosses one of its well's beams; crossing a beam that
        // is still dark (or has only just cleared) makes no new interruption.
        const int ch = well.channels[std::uniform_int_distribution<int>(0, well.channels.size() - 1)(rng_)];
        Beam& beam = beams_[ch];
        if (beam.blockedFor > 0.0 || beam.clearFor < kShortestGap)
            continue;
        beam.blockedFor = kShortestCrossing + unit(rng_) * (kLongestCrossing - kShortestCrossing);
        beam.depth = kShallowest + unit(rng_) * (kDeepest - kShallowest);
        ++truth_[ch];
    }
}

void InstrumentModel::TakeSnapshot()
{
    std::normal_distribution<double> noise(0.0, noise_ > 0.0 ? noise_ : 1.0);
    for (int ch = 0; ch < kChannels; ++ch) {
        double value = BeamLevel(ch);
        if (beams_[ch].blockedFor > 0.0)
            value *= 1.0 - beams_[ch].depth;
        if (doorOpen_)
            value += kDoorLight;
        if (noise_ > 0.0)
            value += noise(rng_);
        snapshot_[ch] = qint16(std::clamp(std::lround(value), 0L, 4095L));
    }
    hasSnapshot_ = true;
}

} // namespace bandora::sim
