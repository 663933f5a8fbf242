#pragma once

namespace bandora {

// Long loops on the one window thread (calibration, the factory read, report
// generation) let pending window events run at fixed points through this, so
// the operator can still press STOP. Tests use a pump that does nothing or
// that plays a scripted click.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents() = 0;
};

// A pump for programs without windows.
class NoEventPump final : public EventPump {
public:
    void processEvents() override {}
};

} // namespace bandora
