#include "core/analysis/ExperimentSettings.h"
#include "core/offline/ExperimentBrowser.h"
#include "core/offline/ExperimentJoin.h"
#include "support/RecordedExperiment.h"
#include "support/ScriptedOperator.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

// A joined experiment is reported like the runs it joins: it carries the
// project files of its first part, so its plate and groups are theirs.
TEST(JoinedExperiment, CarriesTheProjectFilesOfItsFirstPart)
{
    QTemporaryDir dir;
    const QString app = dir.path();
    CopyShippedPlates(app);
    const QString project = QDir(app).filePath(QStringLiteral("p00003"));
    const QStringList names{QStringLiteral("05122026_1200"), QStringLiteral("05122026_1000")}; // newest first
    for (int i = 0; i < names.size(); ++i) {
        const QString part = QDir(project).filePath(names[i]);
        QDir().mkpath(part);
        ProjectSetup setup;
        setup.Num_proj = 3;
        setup.Name = QStringLiteral("larvae");
        setup.Plate_format = i == 1 ? QStringLiteral("w384") : QStringLiteral("w96u");
        setup.GroupName[2] = i == 1 ? QStringLiteral("treated") : QStringLiteral("later");
        setup.ChannelGroup[40] = 2;
        SaveProject(setup, part);
        AppendCounts(part, 0, 3);
        AppendCounts(part, 1, 3);
    }
    const QDateTime now(QDate(2026, 12, 6), QTime(9, 30));
    const JoinResult r = JoinExperiments(project, names, now);
    ASSERT_TRUE(r) << r.Error.toStdString();
    const QString joined = QDir(project).filePath(r.FolderName);
    const QString first = QDir(project).filePath(QStringLiteral("05122026_1000"));
    for (const char* file : {"setup.dat", "status.dat", "threshld.dat", "groups.dat", "chgroup.dat"})
        EXPECT_EQ(ReadAll(QDir(joined).filePath(QLatin1String(file))), ReadAll(QDir(first).filePath(QLatin1String(file))))
            << file;

    ScriptedOperator op;
    ExperimentSettings settings;
    const SettingsReadResult read = ReadExperimentSettings(joined, app, op, settings);
    EXPECT_TRUE(op.texts().isEmpty()) << op.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(read.UsedDefaults);
    EXPECT_EQ(settings.PlateName, QStringLiteral("w384"));
    EXPECT_EQ(settings.GroupLabel(settings.ChannelGroup[40]), QStringLiteral("\"002_treated\""));
    EXPECT_EQ(ExperimentInfoText(joined, r.FolderName, 3, op),
              QStringLiteral("<Project> p00003: larvae\r\n<Subproject> 06122026_0930: Data Block: 05122026_1000 + "
                             "05122026_1200 + "));

    // The setup files do not make the folder a recorded run: a second join of
    // the same minute replaces the first.
    EXPECT_TRUE(JoinExperiments(project, names, now.addSecs(20)));

    // A damaged copy is named by the path of the file read, not by a project
    // folder that holds no such file.
    WriteAll(QDir(joined).filePath(QStringLiteral("groups.dat")), "\"<Group_Number>, <Group_Name>\"\r\nx\r\n");
    op.clear();
    EXPECT_TRUE(ReadExperimentSettings(joined, app, op, settings).UsedDefaults);
    EXPECT_EQ(op.texts(), QStringList{QStringLiteral("Error [%1] => Loading default groups...")
                                          .arg(QDir::toNativeSeparators(QDir(joined).filePath(QStringLiteral("groups.dat"))))});
}
