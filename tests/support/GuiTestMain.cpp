#include <QApplication>

#include <gtest/gtest.h>

// Window tests run on the offscreen platform unless told otherwise, so they
// need no display (and test discovery at build time works too).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
