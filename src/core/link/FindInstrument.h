#pragma once

#include <QString>

#include <functional>

namespace bandora {

struct AppState;
class InstrumentLink;

// Shows a progress text on the start-up splash and redraws it.
using SplashText = std::function<void(const QString&)>;

// The instrument search of the start-up: the configured port first (two link
// tests), then COM1 to COM15, then the operator's prompt until a port answers
// or the operator answers with an empty line (offline mode). Leaves the port
// of the instrument open, Serial_COM naming it (config.dat saved when it
// changed) or OfflineMode set.
void FindInstrument(AppState& app, InstrumentLink& link, const SplashText& splash);

} // namespace bandora
