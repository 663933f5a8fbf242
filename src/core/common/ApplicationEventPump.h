#pragma once

#include "EventPump.h"

namespace bandora {

// The pump of the running program: lets Qt deliver pending window events
// (clicks on STOP, timer ticks, repaints) from inside a long loop.
class ApplicationEventPump final : public EventPump {
public:
    void processEvents() override;
};

} // namespace bandora
