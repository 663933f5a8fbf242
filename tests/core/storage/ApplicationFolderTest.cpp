#include "core/storage/ApplicationFolder.h"

#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

// A sandbox with the four places: exe/ and share/ (the installed copy, with a
// subfolder) exist; home/ is where the per-user folder goes.
struct Places {
    QTemporaryDir root;
    QString exe = root.filePath("exe"), user = root.filePath("home/data/bandora"), share = root.filePath("share");
    Places()
    {
        QDir().mkpath(exe);
        QDir().mkpath(share + "/sub");
        WriteAll(share + "/config.dat", "installed");
        WriteAll(share + "/w384.dat", "plate");
        WriteAll(share + "/sub/x.dat", "x");
    }
    AppFolderChoice Resolve(const QString& commandLine = {}) { return ResolveAppFolder({commandLine, exe, user, share}); }
    QStringList Leftovers() { return QDir(root.filePath("home/data")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }
};

} // namespace

TEST(ApplicationFolder, ChoosesThePlaceInOrder)
{
    struct Case {
        const char* name;
        bool appDir, exeConfig, userConfig, shared;
        const char* chosen; // exe, user, arg
    };
    const Case cases[] = {
        {"--app-dir wins, even without config.dat", true, true, true, true, "arg"},
        {"the build folder keeps working", false, true, true, true, "exe"},
        {"an existing per-user folder", false, false, true, false, "user"},
        {"no installed copy: the start-up reports the missing config.dat", false, false, false, false, "exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Places p;
        if (c.exeConfig)
            WriteAll(p.exe + "/config.dat", "exe");
        if (c.userConfig) {
            QDir().mkpath(p.user);
            WriteAll(p.user + "/config.dat", "mine");
        }
        if (!c.shared)
            QDir(p.share).removeRecursively();
        const QString arg = p.root.filePath("given");
        const AppFolderChoice got = p.Resolve(c.appDir ? arg : QString());
        const QString want = QString(c.chosen) == "arg" ? arg : QString(c.chosen) == "exe" ? p.exe : p.user;
        EXPECT_EQ(got.dir, want);
        EXPECT_TRUE(got.error.isEmpty()) << got.error.toStdString();
        EXPECT_TRUE(got.notice.isEmpty());
        if (c.userConfig) {
            EXPECT_EQ(ReadAll(p.user + "/config.dat"), "mine");
        }
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
        EXPECT_TRUE(first.error.isEmpty()) << first.error.toStdString();
        EXPECT_TRUE(first.notice.contains(p.user)) << first.notice.toStdString();
        EXPECT_EQ(ReadAll(p.user + "/config.dat"), "installed");
        EXPECT_EQ(ReadAll(p.user + "/sub/x.dat"), "x");
        EXPECT_EQ(p.Leftovers(), QStringList{"bandora"});

        WriteAll(p.user + "/config.dat", "changed");
        const AppFolderChoice second = p.Resolve();
        EXPECT_EQ(second.dir, p.user);
        EXPECT_TRUE(second.notice.isEmpty());
        EXPECT_EQ(ReadAll(p.user + "/config.dat"), "changed");
    }
}

TEST(ApplicationFolder, AFolderThatCannotBeMadeIsRefusedWithNothingHalfMade)
{
    {   // The per-user folder's parent is a file.
        Places p;
        WriteAll(p.root.filePath("home"), "not a folder");
        const AppFolderChoice got = ResolveAppFolder({{}, p.exe, p.root.filePath("home/bandora"), p.share});
        EXPECT_TRUE(got.dir.isEmpty());
        EXPECT_TRUE(got.error.contains("Cannot create the application folder")) << got.error.toStdString();
    }
    {   // A file of the installed copy cannot be copied: the partial copy goes away.
        Places p;
        QFile::link(p.root.filePath("gone"), p.share + "/sub/broken.dat");
        const AppFolderChoice got = p.Resolve();
        EXPECT_TRUE(got.dir.isEmpty());
        EXPECT_TRUE(got.error.contains("broken.dat")) << got.error.toStdString();
        EXPECT_TRUE(p.Leftovers().isEmpty()) << p.Leftovers().join(' ').toStdString();
    }
    {   // A per-user folder holding projects but no config.dat is left alone.
        Places p;
        QDir().mkpath(p.user + "/p00007");
        const AppFolderChoice got = p.Resolve();
        EXPECT_TRUE(got.dir.isEmpty());
        EXPECT_TRUE(got.error.contains("has no config.dat")) << got.error.toStdString();
        EXPECT_FALSE(QFile::exists(p.user + "/config.dat"));
    }
}
