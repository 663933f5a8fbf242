#include "InstrumentSteps.h"

#include "core/AppState.h"

namespace bandora {

void NoInstrumentSteps::FindInstrument(AppState& state, const std::function<void(const QString&)>&)
{
    state.OfflineMode = true;
}

} // namespace bandora
