#pragma once

#include <QString>

#include <functional>

namespace bandora {

struct AppState;

// The steps of start-up and exit that talk to the instrument over the serial
// line. The start-up calls them at fixed points; everything else of the
// start-up stays the same whether the instrument answers or not.
class InstrumentSteps {
public:
    virtual ~InstrumentSteps() = default;

    // Start-up, after the main window's controls are filled: searches the
    // configured port, then COM1 to COM15, and finally asks the operator for
    // a port or for offline work. Leaves the port open, or sets
    // state.instrument.OfflineMode. Writes its progress through splashText.
    virtual void FindInstrument(AppState& state, const std::function<void(const QString&)>& splashText) = 0;

    // Start-up, online only: reads the factory temperature calibration record
    // from the instrument's memory into state.instrument.factory (the caller has already
    // set the default offset and slope).
    virtual void ReadFactoryCalibration(AppState& state) = 0;

    // Exit, online only: closes the serial port.
    virtual void ClosePort(AppState& state) = 0;
};

} // namespace bandora
