#pragma once

#include <QtGlobal>

namespace bandora {

// The one way the light and temperature outputs reach the instrument: the
// SetOutputs command with the output state 0..7 (bit 2 light, bit 1 heating
// selected, bit 0 element on). No reply is read and a failure is silent, so
// the panels show the new state whether or not it arrived.
//
// The tool rules never touch the serial port themselves: while a run is
// active the acquisition cycle is the only one talking to the instrument,
// and it calls the rules at points where a SetOutputs cannot interleave with
// its beam-block reads.
class OutputSender {
public:
    virtual ~OutputSender() = default;
    virtual void SendOutputs(quint8 state) = 0;
};

// Without an instrument (offline mode) the outputs go nowhere.
class NoOutputSender final : public OutputSender {
public:
    void SendOutputs(quint8) override {}
};

} // namespace bandora
