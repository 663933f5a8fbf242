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
    // A link whose target is gone still names this port (the search skips
    // it, see PortLinkIsDead) rather than falling back to a built-in device.
    if (info.isSymLink() || info.exists())
        return QFileInfo(link).absoluteFilePath();
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

bool PortLinkIsDead(const QString& appDir, int portNumber)
{
#if defined(Q_OS_WIN)
    Q_UNUSED(appDir);
    Q_UNUSED(portNumber);
    return false;
#else
    const QFileInfo info(PortLinkPath(appDir, portNumber));
    return info.isSymLink() && !info.exists();
#endif
}

} // namespace bandora
