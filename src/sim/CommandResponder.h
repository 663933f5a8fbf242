#pragma once

#include "FactoryMemory.h"
#include "InstrumentModel.h"

#include "core/link/Frames.h"

#include <QByteArray>

namespace bandora::sim {

// The instrument's answer to each frame, as the protocol defines it: the
// identify reply, the memory and temperature bytes, the beam blocks, the echo
// of every write. Commands act on the model; SetOutputs has no reply.
class CommandResponder {
public:
    static constexpr quint8 kVersion = 25; // second byte of the identify reply

    // stepSeconds > 0: every full read of the beams (the block of channel 0)
    // moves the model on by that much, whatever the clock says, so tests see
    // the same organisms at any speed. stepSeconds = 0: the model follows the
    // real time passed to Respond().
    CommandResponder(InstrumentModel& model, FactoryMemory& memory, double stepSeconds,
                     quint8 version = kVersion);

    QByteArray Respond(const FrameScan& frame, double nowSeconds);

private:
    QByteArray BeamBlockReply(int first);
    QByteArray TwoBytes(quint8 first, quint8 second) const;

    InstrumentModel& model_;
    FactoryMemory& memory_;
    double stepSeconds_;
    quint8 version_;
    double lastNow_ = -1.0;
};

} // namespace bandora::sim
