#include "core/common/ToolCommandLine.h"

#include <gtest/gtest.h>

using namespace bandora;

TEST(OptionReader, FindsWhatTheLineGetsWrongAsTyped)
{
    const struct {
        QStringList args;
        QStringList unknown;
        QString missing;
        QStringList positional;
    } cases[] = {
        {{"f", "--bin", "5", "-bin=6", "--n"}, {}, {}, {"f"}},
        {{"--bin", "--n", "-"}, {}, {}, {"-"}}, // a value is taken as it comes
        {{"f", "--bin"}, {}, "bin", {"f"}},
        {{"--bogus", "--n=1", "-x", "--", "g"}, {"--bogus", "--n=1", "-x", "--"}, {}, {}},
    };
    for (const auto& c : cases) {
        OptionReader line({QCommandLineOption(QStringLiteral("bin"), QString(), QStringLiteral("M")),
                           QCommandLineOption(QStringLiteral("n"))});
        const OptionReader::Mistakes m = line.Read(QStringList{QStringLiteral("tool")} + c.args);
        const std::string args = c.args.join(' ').toStdString();
        EXPECT_EQ(m.unknown, c.unknown) << args;
        EXPECT_EQ(m.missingValue, c.missing) << args;
        if (!m.any()) {
            EXPECT_EQ(line.positional(), c.positional) << args;
        }
    }
}

TEST(OptionReader, NumbersMustFitWhereTheyGo)
{
    const auto read = [](const char* text, auto out) {
        OptionReader line({QCommandLineOption(QStringLiteral("v"), QString(), QStringLiteral("N"))});
        line.Read({QStringLiteral("tool"), QStringLiteral("--v"), QString::fromLatin1(text)});
        return ReadNumber(line, QStringLiteral("v"), out);
    };
    EXPECT_TRUE(read("12", int()) && read("-2.5", double()) && read("4294967295", unsigned()));
    for (const char* text : {"2.5", "1e3", "nan", "99999999999", ""})
        EXPECT_FALSE(read(text, int())) << text;
    EXPECT_FALSE(read("-1", unsigned()));
}
