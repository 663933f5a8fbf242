#include "core/storage/ApplicationFolder.h"

#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

// exe/ and share/ (the installed copy, with a subfolder); the per-user folder goes under home/.
struct Places {
    QTemporaryDir root;
    QString exe = root.filePath("exe"), user = root.filePath("home/data/bandora"), share = root.filePath("share");
    Places()
    {
        QDir().mkpath(exe);
        QDir().mkpath(share + "/sub");
        WriteAll(share + "/config.dat", "installed");
        WriteAll(share + "/sub/x.dat", "x");
    }
    AppFolderChoice Resolve(const QString& arg = {}) { return ResolveAppFolder({arg, exe, user, share}); }
    QStringList Leftovers() { return QDir(root.filePath("home/data")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }
};

} // namespace

TEST(ApplicationFolder, ChoosesThePlaceInOrder)
{
    // appDir, exe has config.dat, user has config.dat, installed copy there, chosen
    const std::tuple<bool, bool, bool, bool, QString> cases[] = {
        {true, true, true, true, "arg"}, {false, true, true, true, "exe"},
        {false, false, true, false, "user"}, {false, false, false, false, "exe"}};
    for (const auto& [appDir, exeConfig, userConfig, shared, chosen] : cases) {
        Places p;
        if (exeConfig)
            WriteAll(p.exe + "/config.dat", "exe");
        if (userConfig && QDir().mkpath(p.user))
            WriteAll(p.user + "/config.dat", "mine");
        if (!shared)
            QDir(p.share).removeRecursively();
        const AppFolderChoice got = p.Resolve(appDir ? p.root.filePath("arg") : QString());
        EXPECT_EQ(got.dir, chosen == "exe" ? p.exe : chosen == "user" ? p.user : p.root.filePath("arg")) << chosen.toStdString();
        EXPECT_EQ(got.error + got.notice, QString());
        EXPECT_EQ(p.Leftovers(), userConfig ? QStringList{"bandora"} : QStringList{});
    }
}

TEST(ApplicationFolder, FirstStartCopiesTheInstalledFolderAndSaysSoOnce)
{
    for (const bool emptyFolderThere : {false, true}) {
        Places p;
        if (emptyFolderThere)
            QDir().mkpath(p.user);
        const AppFolderChoice first = p.Resolve();
        EXPECT_EQ(first.dir, p.user);
        EXPECT_TRUE(first.notice.contains(p.user)) << first.notice.toStdString();
        EXPECT_EQ(ReadAll(p.user + "/sub/x.dat"), "x");
        WriteAll(p.user + "/config.dat", "changed");
        const AppFolderChoice second = p.Resolve();
        EXPECT_EQ(second.dir + second.notice, p.user);
        EXPECT_EQ(ReadAll(p.user + "/config.dat"), "changed");
    }
}

TEST(ApplicationFolder, AFolderThatCannotBeMadeIsRefusedWithNothingHalfMade)
{
    Places parentIsFile, copyFails, projectsWithoutConfig;
    WriteAll(parentIsFile.root.filePath("home"), "not a folder");
    QFile::link(copyFails.root.filePath("gone"), copyFails.share + "/sub/broken.dat");
    QDir().mkpath(projectsWithoutConfig.user + "/p00007");
    const std::pair<Places*, QString> cases[] = {{&parentIsFile, "Cannot create the application folder"},
                                                 {&copyFails, "broken.dat"},
                                                 {&projectsWithoutConfig, "has no config.dat"}};
    for (const auto& [p, says] : cases) {
        const AppFolderChoice got = p->Resolve();
        EXPECT_TRUE(got.dir.isEmpty());
        EXPECT_TRUE(got.error.contains(says)) << got.error.toStdString();
        EXPECT_FALSE(QFile::exists(p->user + "/config.dat"));
    }
    EXPECT_TRUE(copyFails.Leftovers().isEmpty()) << copyFails.Leftovers().join(' ').toStdString();
}

TEST(ApplicationFolder, ToolsReadTheInstalledCopyWithoutMakingAnything)
{
    Places p;
    EXPECT_EQ(ExistingAppFolder({{}, p.exe, p.user, p.share}), p.share);
    EXPECT_TRUE(p.Leftovers().isEmpty());
}
