#include <QCoreApplication>

#include <gtest/gtest.h>

// Core tests run with an application object so that serial ports, timers and
// file watchers behave as in the program.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
