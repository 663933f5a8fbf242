#pragma once

#include "core/tools/OutputSender.h"

#include <vector>

namespace bandora::test {

// Every SetOutputs state the program sends to the instrument, in order.
struct RecordingSender final : OutputSender {
    void SendOutputs(quint8 state) override { sent.push_back(state); }
    std::vector<quint8> sent;
};

} // namespace bandora::test
