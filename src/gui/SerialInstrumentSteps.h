#pragma once

#include "InstrumentSteps.h"

#include <QString>

#include <memory>

namespace bandora {

class InstrumentLink;
namespace sim {
class VirtualInstrument;
}

// The start-up and exit steps over the serial line: the instrument search,
// the factory calibration read and the closing of the port. With `simulate`
// the virtual instrument is started inside the program, on the configured
// port, just before the search, so the search finds it at once.
class SerialInstrumentSteps final : public InstrumentSteps {
public:
    // Creates the program's serial link and hands it to state.link.
    SerialInstrumentSteps(AppState& state, bool simulate);
    ~SerialInstrumentSteps() override;

    void FindInstrument(AppState& state, const std::function<void(const QString&)>& splashText) override;
    void ReadFactoryCalibration(AppState& state) override;
    void ClosePort(AppState& state) override;

    // The virtual instrument's door opens and closes every this many seconds
    // (0: it stays closed); set before the instrument search.
    void SetDoorCycle(double seconds) { doorCycle_ = seconds; }
    // The virtual instrument, once started (null otherwise).
    sim::VirtualInstrument* Simulated() { return simulated_.get(); }

private:
    void StartSimulation(AppState& state);

    std::unique_ptr<InstrumentLink> link_;
    bool simulate_;
    double doorCycle_ = 0.0;
    std::unique_ptr<sim::VirtualInstrument> simulated_;
};

} // namespace bandora
