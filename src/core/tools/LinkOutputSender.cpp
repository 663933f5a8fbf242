#include "LinkOutputSender.h"

#include "core/link/InstrumentLink.h"
#include "core/link/InstrumentSession.h"

namespace bandora {

void LinkOutputSender::SendOutputs(quint8 state)
{
    if (instrument_.OfflineMode || !instrument_.link)
        return;
    // No reply comes and a failure is not reported: the panels show the new
    // state either way.
    instrument_.link->SetOutputs(state);
}

} // namespace bandora
