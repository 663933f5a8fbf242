#pragma once

#include "OutputSender.h"

namespace bandora {

struct AppState;

// SetOutputs over the program's serial link. In offline mode, or before the
// start-up has made the link, nothing is sent.
class LinkOutputSender final : public OutputSender {
public:
    explicit LinkOutputSender(AppState& state) : state_(state) {}
    void SendOutputs(quint8 state) override;

private:
    AppState& state_;
};

} // namespace bandora
