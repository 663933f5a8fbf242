#pragma once

#include <QList>
#include <QString>

namespace bandora {

// A port whose device exists but refused to be opened for want of permission.
struct RefusedPort {
    int number = 0; // 4 for COM4
    QString device; // what was opened: a ports/COMn link or /dev/ttyS3
};

// The group that owns the device a port name leads to (links followed);
// empty when it cannot be told.
QString DeviceGroup(const QString& device);

// What the operator is told when ports were refused: which device, and that
// the user must join the group owning it (dialout on Debian). The first
// refused port is named; the others are counted, since a user outside the
// group is refused every serial device the search tries.
QString PortPermissionMessage(const QList<RefusedPort>& refused, const QString& group);

} // namespace bandora
