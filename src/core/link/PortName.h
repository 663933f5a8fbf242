#pragma once

#include <QString>

namespace bandora {

// The device behind port number n ("COMn" to the operator). On Windows it is
// "COMn" itself. Elsewhere it is the file ports/COMn in the application folder
// when there is one (usually a link the user made to the real device, or the
// one the virtual instrument makes), else /dev/ttyS(n-1).
QString PortDeviceName(const QString& appDir, int portNumber);

// ports/COMn in the application folder, whether or not it exists.
QString PortLinkPath(const QString& appDir, int portNumber);

// True when ports/COMn is a link whose target no longer exists: the
// leftover of a virtual instrument that was killed. The port is not tried.
bool PortLinkIsDead(const QString& appDir, int portNumber);

} // namespace bandora
