#include "core/offline/ExperimentJoin.h"
#include "support/RecordedExperiment.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

// A joined experiment reports like the runs it joins: it carries the project
// files of its earliest part, so its plate and groups are theirs.
TEST(JoinedExperiment, CarriesTheProjectFilesOfItsFirstPart)
{
    QTemporaryDir dir;
    CopyShippedPlates(dir.path());
    const QStringList names{QStringLiteral("05122026_1200"), QStringLiteral("05122026_1000")}; // newest first
    for (const QString& name : names) {
        const QString part = QDir(dir.path()).filePath(name);
        QDir().mkpath(part);
        ProjectSetup setup;
        setup.Plate_format = name == names[1] ? QStringLiteral("w384") : QStringLiteral("w96u");
        setup.ChannelGroup[40] = 2;
        SaveProject(setup, part);
        AppendCounts(part, 0, 3);
    }
    const JoinResult r = JoinExperiments(dir.path(), names, QDateTime(QDate(2026, 12, 6), QTime(9, 30)));
    ASSERT_TRUE(r) << r.Error.toStdString();
    const QString joined = QDir(dir.path()).filePath(r.FolderName);
    for (const char* file : {"setup.dat", "status.dat", "threshld.dat", "groups.dat", "chgroup.dat"})
        EXPECT_EQ(ReadAll(QDir(joined).filePath(QLatin1String(file))),
                  ReadAll(QDir(QDir(dir.path()).filePath(names[1])).filePath(QLatin1String(file))))
            << file;
}
