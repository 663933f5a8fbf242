#include "gui/CommandLine.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace bandora;

TEST(CommandLine, OptionsAreTakenOutAndTheRestIsTheSwitchLine)
{
    CommandLine line = ParseCommandLine({QStringLiteral("--app-dir"), QStringLiteral("/data/lab one"),
                                         QStringLiteral("--simulate"), QStringLiteral("/run")});
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_EQ(line.appDir, QStringLiteral("/data/lab one"));
    EXPECT_TRUE(line.simulate);
    EXPECT_TRUE(IsAutoRunSwitch(line.rest));

    line = ParseCommandLine({QStringLiteral("/run"), QStringLiteral("x")});
    EXPECT_EQ(line.rest, QStringLiteral("/run x"));

    line = ParseCommandLine({QStringLiteral("--app-dir=/x")});
    EXPECT_EQ(line.appDir, QStringLiteral("/x"));

    EXPECT_FALSE(ParseCommandLine({QStringLiteral("--app-dir")}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({QStringLiteral("--app-dir=")}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({QStringLiteral("--door-cycle"), QStringLiteral("nan")}).error.isEmpty());

    // Only the three spellings of the run switch, blanks around it allowed.
    for (const char* line : {"/run", "/RUN", "/Run", "  /run "})
        EXPECT_TRUE(IsAutoRunSwitch(QString::fromLatin1(line))) << line;
    for (const char* line : {"/rUn", "/run x", "run", "\t/run", ""})
        EXPECT_FALSE(IsAutoRunSwitch(QString::fromLatin1(line))) << line;
}
