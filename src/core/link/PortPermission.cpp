#include "PortPermission.h"

#include <QDir>
#include <QFileInfo>

namespace bandora {

QString DeviceGroup(const QString& device)
{
    const QString target = QFileInfo(device).canonicalFilePath();
    return target.isEmpty() ? QString() : QFileInfo(target).group();
}

QString PortPermissionMessage(const QList<RefusedPort>& refused, const QString& group)
{
    if (refused.isEmpty())
        return {};
    const RefusedPort& first = refused.front();
    QString device = QDir::toNativeSeparators(first.device);
    const QString target = QFileInfo(first.device).canonicalFilePath();
    if (!target.isEmpty() && target != first.device)
        device += QStringLiteral(" -> ") + target;
    QString text = QStringLiteral("Permission denied on serial port COM%1 (%2)").arg(first.number).arg(device);
    if (refused.size() == 2)
        text += QStringLiteral(" and on 1 other port");
    else if (refused.size() > 2)
        text += QStringLiteral(" and on %1 other ports").arg(refused.size() - 1);
    text += QStringLiteral(". ");
    // Joining root's group is no advice to give; a udev rule is the way there.
    if (group.isEmpty() || group == QLatin1String("root"))
        return text + QStringLiteral("Ask the administrator for access to the device: on Debian serial devices "
                                     "belong to the group dialout, and a user in that group can open them.");
    return text + QStringLiteral("The device belongs to the group %1: add your user to it "
                                 "(sudo adduser $USER %1), then log out and log in again.")
                      .arg(group);
}

} // namespace bandora
