#include "CommandResponder.h"

#include "core/link/Commands.h"

#include <algorithm>
#include <cmath>

namespace bandora::sim {

CommandResponder::CommandResponder(InstrumentModel& model, FactoryMemory& memory, double stepSeconds,
                                   quint8 version)
    : model_(model), memory_(memory), stepSeconds_(stepSeconds), version_(version)
{
}

QByteArray CommandResponder::TwoBytes(quint8 first, quint8 second) const
{
    QByteArray reply(2, '\0');
    reply[0] = char(first);
    reply[1] = char(second);
    return reply;
}

QByteArray CommandResponder::BeamBlockReply(int first)
{
    if (first == 0) {
        if (stepSeconds_ > 0.0)
            model_.Advance(stepSeconds_);
        model_.TakeSnapshot();
    } else if (!model_.HasSnapshot()) {
        model_.TakeSnapshot();
    }
    std::array<qint16, kBlockSamples> samples{};
    for (int s = 0; s < kBlockSamples; ++s) {
        const int ch = ChannelOfSample(first, s);
        samples[s] = ch < kChannels ? model_.SnapshotValue(ch) : 0;
    }
    return EncodeBeamBlock(samples);
}

QByteArray CommandResponder::Respond(const FrameScan& frame, double nowSeconds)
{
    if (stepSeconds_ <= 0.0) {
        if (lastNow_ >= 0.0 && nowSeconds > lastNow_)
            model_.Advance(nowSeconds - lastNow_);
        lastNow_ = nowSeconds;
    }

    if (frame.kind != kCommandKind) {
        const int channel = ChannelOfWrite(frame.kind, frame.first);
        if (channel >= 0)
            model_.SetChannelSetting(channel, frame.second);
        else
            memory_.Write(frame.first, frame.second);
        return TwoBytes(frame.first, frame.second);
    }

    switch (CommandCode(frame.first)) {
    case CommandCode::Identify:
        return TwoBytes(0x00, version_);
    case CommandCode::SetOutputs:
        model_.SetOutputs(frame.second);
        return {};
    case CommandCode::ReadMemoryByte:
        return TwoBytes(memory_.Read(frame.second), 0);
    case CommandCode::ReadTemperature: {
        const double raw = (model_.Temperature() - memory_.Offset()) / memory_.Slope();
        return TwoBytes(quint8(std::clamp(std::lround(raw), 0L, 255L)), 0);
    }
    case CommandCode::ReadBeamBlock:
        return BeamBlockReply(frame.second);
    }
    return {}; // an unknown command goes unanswered
}

} // namespace bandora::sim
