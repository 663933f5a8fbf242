#include "PortName.h"

#include <QDir>
#include <QFileInfo>

namespace bandora {

QString PortLinkPath(const QString& appDir, int portNumber)
{
    return QDir(appDir).filePath(QStringLiteral("ports/COM%1").arg(portNumber));
}

QString PortDeviceName(const QString& appDir, int portNumber)
{
#if defined(Q_OS_WIN)
    Q_UNUSED(appDir);
    return QStringLiteral("COM%1").arg(portNumber);
#else
    const QString link = PortLinkPath(appDir, portNumber);
    const QFileInfo info(link);
    // A link whose target is gone still names this port: opening it then
    // fails like a port that does not exist, instead of silently falling back
    // to a built-in serial device.
    if (info.isSymLink() || info.exists())
        return QFileInfo(link).absoluteFilePath();
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

} // namespace bandora
