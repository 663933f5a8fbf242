#include "sim/SimCommandLine.h"

#include <gtest/gtest.h>

namespace bandora::sim {
namespace {

TEST(SimCommandLine, ReadsTheOptionsAndRefusesMistakes)
{
    SimCommandLine command;
    QString error;
    ASSERT_TRUE(ParseSimCommandLine({"--app-dir", "/tmp/a", "--port", "7", "--plate", "W384", "--no-pacing",
                                     "--fault-rate", "0.1", "--faults", "drop,late", "--silence-after", "50",
                                     "--step-ms", "30", "--door-open", "--door-cycle", "4"},
                                    command, error))
        << error.toStdString();
    EXPECT_EQ(command.appDir, "/tmp/a");
    EXPECT_EQ(command.port, 7);
    EXPECT_EQ(command.plate, "w384");
    EXPECT_TRUE(command.doorOpen);
    EXPECT_DOUBLE_EQ(command.options.model.doorCycle, 4.0);
    EXPECT_FALSE(command.options.pacing);
    EXPECT_DOUBLE_EQ(command.options.stepMs, 30.0);
    EXPECT_DOUBLE_EQ(command.options.faults.rate, 0.1);
    EXPECT_TRUE(command.options.faults.drop && command.options.faults.late);
    EXPECT_FALSE(command.options.faults.shortReply || command.options.faults.corrupt);
    EXPECT_EQ(command.options.faults.silenceAfter, 50);
    EXPECT_EQ(command.options.memoryFile, DefaultMemoryFile("/tmp/a"));

    SimCommandLine defaults;
    ASSERT_TRUE(ParseSimCommandLine({"--port", "1", "--app-dir", "x"}, defaults, error));
    EXPECT_TRUE(defaults.options.faults.AnyKind()) << "a rate alone strikes with every kind of fault";

    const QStringList wrong[] = {
        {"--port", "4"},
        {"--app-dir", "x"},
        {"--app-dir", "x", "--port", "17"},
        {"--app-dir", "x", "--port", "4.5"},
        {"--app-dir", "x", "--port"},
        {"--app-dir", "x", "--port", "4", "--fault-rate", "2"},
        {"--app-dir", "x", "--port", "4", "--faults", "drop,melt"},
        {"--app-dir", "x", "--port", "4", "--colour", "red"},
    };
    for (const QStringList& args : wrong) {
        SimCommandLine c;
        error.clear();
        EXPECT_FALSE(ParseSimCommandLine(args, c, error)) << args.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

} // namespace
} // namespace bandora::sim
