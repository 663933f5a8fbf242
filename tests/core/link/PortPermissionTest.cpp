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
    const QList<RefusedPort> one{{4, link}}, three{{4, link}, {1, "/dev/ttyS0"}, {2, "/dev/ttyS1"}};
    // ports, group, a text the message has, one it must not have
    const std::tuple<QList<RefusedPort>, QString, QString, QString> cases[] = {
        {one, "dialout", "COM4 (" + link + " -> /dev/null). The device belongs to the group dialout", "other"},
        {three, "dialout", "and on 2 other ports", "ttyS0"},
        {one, "root", "Ask the administrator", "adduser"},
        {one, "", "group dialout", "adduser"}};
    for (const auto& [ports, group, has, hasNot] : cases) {
        const QString text = PortPermissionMessage(ports, group);
        EXPECT_TRUE(text.contains(has) && !text.contains(hasNot)) << text.toStdString();
    }
    EXPECT_EQ(DeviceGroup(link), DeviceGroup("/dev/null"));
    EXPECT_TRUE(DeviceGroup(dir.filePath("missing")).isEmpty());
}
