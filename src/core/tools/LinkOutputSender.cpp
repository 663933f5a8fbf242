#include "LinkOutputSender.h"

#include "core/AppState.h"
#include "core/link/InstrumentLink.h"

namespace bandora {

void LinkOutputSender::SendOutputs(quint8 state)
{
    if (state_.OfflineMode || !state_.link)
        return;
    // No reply comes and a failure is not reported: the panels show the new
    // state either way.
    state_.link->SetOutputs(state);
}

} // namespace bandora
