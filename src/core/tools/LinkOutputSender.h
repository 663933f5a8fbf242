#pragma once

#include "OutputSender.h"

namespace bandora {

struct InstrumentSession;

// SetOutputs over the program's serial link. In offline mode, or before the
// start-up has made the link, nothing is sent.
class LinkOutputSender final : public OutputSender {
public:
    explicit LinkOutputSender(InstrumentSession& instrument) : instrument_(instrument) {}
    void SendOutputs(quint8 state) override;

private:
    InstrumentSession& instrument_;
};

} // namespace bandora
