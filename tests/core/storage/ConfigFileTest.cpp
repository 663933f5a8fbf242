#include "core/storage/ConfigFile.h"

#include "support/Files.h"
#include "support/ScriptedOperator.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

const QString kLoadError = QStringLiteral("Error opening config File >>>> Loading DEFAULT configuration...");
const QByteArray kHeader = "\"Config: <Actual_Project_Number>, <Last_Project>,<Serial_COM>,<Restart_Time>\"\r\n";

struct Loaded {
    ProgramConfig config;
    QStringList texts;
};

Loaded LoadFrom(const QByteArray& content)
{
    QTemporaryDir dir;
    WriteAll(ConfigFilePath(dir.path()), content);
    ScriptedOperator op;
    Loaded out;
    out.config = ProgramConfig{9, 9, 9, 9};
    LoadConfig(dir.path(), out.config, op);
    out.texts = op.texts();
    return out;
}

} // namespace

TEST(ConfigFile, ValuesAreClampedAfterLoading)
{
    // Items may be spread over lines and padded with blanks; halves round to even.
    const std::pair<QByteArray, ProgramConfig> cases[] = {{"-5,2,20,9\r\n", {0, 2, 16, 0}},
                                                          {"9,3,0,0\r\n", {9, 9, 1, 0}},
                                                          {" 3 \r\n 7\r\n 2.5 , 1\r\n", {3, 7, 2, 0}}};
    for (const auto& [content, config] : cases) {
        const Loaded l = LoadFrom(kHeader + content);
        EXPECT_TRUE(l.texts.isEmpty()) << content.toStdString();
        EXPECT_EQ(l.config, config) << content.toStdString();
    }
}

TEST(ConfigFile, UnreadableFileGivesTheDefaultsWithOneMessage)
{
    static const char kBinary[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe,\x80";
    const QByteArray cases[] = {
        kHeader,                                   // a header without the second line
        QByteArray(),                              // empty
        kHeader + "3,7,4",                         // truncated
        kHeader + "3,7,four,0\r\n",                // text where a number belongs
        kHeader + "3,70000,4,0\r\n",               // beyond 16 bits
        kHeader + QByteArray(1 << 20, '1') + ",1,1,1\r\n", // a line of a megabyte
        QByteArray(kBinary, sizeof kBinary - 1),   // binary garbage
    };
    for (const QByteArray& content : cases) {
        const Loaded l = LoadFrom(content);
        SCOPED_TRACE(content.left(40).toStdString());
        EXPECT_EQ(l.texts, QStringList({kLoadError}));
        EXPECT_EQ(l.config, (ProgramConfig{1, 1, 4, 0}));
    }

    // Extra items after the four are no harm.
    EXPECT_EQ(LoadFrom(kHeader + "2,3,5,0,8,\"x\"\r\n").config, (ProgramConfig{2, 3, 5, 0}));
}

TEST(ConfigFile, SaveWritesBothLinesAndReportsAFailure)
{
    QTemporaryDir dir;
    ScriptedOperator op;
    SaveConfig(dir.path(), ProgramConfig{3, 7, 12, 5}, op);
    EXPECT_TRUE(op.texts().isEmpty());
    EXPECT_EQ(ReadAll(ConfigFilePath(dir.path())), kHeader + "3,7,12,5\r\n");

    // A config.dat that cannot be written over (here a folder of that name).
    QTemporaryDir blocked;
    QDir(blocked.path()).mkdir(QStringLiteral("config.dat"));
    SaveConfig(blocked.path(), ProgramConfig{3, 7, 12, 5}, op);
    EXPECT_EQ(op.texts(), QStringList({"<Error Saving Config File>"}));
}
