#pragma once

#include <QString>

#include <functional>

namespace bandora {

class InstrumentLink;
struct InstrumentSession;
struct ProjectState;
struct Services;

// Shows a progress text on the start-up splash and redraws it.
using SplashText = std::function<void(const QString&)>;

// The instrument search of the start-up: the configured port first (two link
// tests), then COM1 to COM15, then the operator's prompt until a port answers
// or the operator answers with an empty line (offline mode). Leaves the port
// of the instrument open, Serial_COM naming it (config.dat saved when it
// changed) or the session's OfflineMode set.
void FindInstrument(ProjectState& project, InstrumentSession& instrument, const Services& services,
                    InstrumentLink& link, const SplashText& splash);

} // namespace bandora
