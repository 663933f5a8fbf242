#include "ApplicationEventPump.h"

#include <QCoreApplication>

namespace bandora {

void ApplicationEventPump::processEvents() { QCoreApplication::processEvents(); }

} // namespace bandora
