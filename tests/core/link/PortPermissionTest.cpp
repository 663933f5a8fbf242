#include "core/link/PortPermission.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;

TEST(PortPermission, TheMessageNamesTheDeviceAndTheGroupToJoin)
{
    QTemporaryDir dir;
    const QString link = dir.filePath("COM4");
    QFile::link("/dev/null", link);
    const QList<RefusedPort> one{{4, link}};
    const QList<RefusedPort> three{{4, link}, {1, "/dev/ttyS0"}, {2, "/dev/ttyS1"}};
    struct Case {
        QList<RefusedPort> ports;
        QString group;
        QStringList says, never;
    };
    const Case cases[] = {
        {one, "dialout", {"COM4 (" + link + " -> /dev/null)", "group dialout", "adduser $USER dialout"}, {"other"}},
        {three, "dialout", {"COM4", "and on 2 other ports"}, {"ttyS0"}},
        {one, "root", {"Ask the administrator", "dialout"}, {"adduser"}},
        {one, "", {"Ask the administrator", "dialout"}, {"adduser"}},
    };
    for (const Case& c : cases) {
        const QString text = PortPermissionMessage(c.ports, c.group);
        SCOPED_TRACE(text.toStdString());
        for (const QString& s : c.says)
            EXPECT_TRUE(text.contains(s)) << s.toStdString();
        for (const QString& s : c.never)
            EXPECT_FALSE(text.contains(s)) << s.toStdString();
    }
    EXPECT_TRUE(PortPermissionMessage({}, "dialout").isEmpty());
    EXPECT_EQ(DeviceGroup(link), DeviceGroup("/dev/null"));
    EXPECT_TRUE(DeviceGroup(dir.filePath("missing")).isEmpty());
}
