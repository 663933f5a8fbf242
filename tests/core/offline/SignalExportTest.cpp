#include "core/offline/SignalExport.h"
#include "support/RecordedExperiment.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(SignalExport, OneLinePerSampleOfThePageWithABlankAfterEveryValue)
{
    QTemporaryDir dir;
    RecordCycles(dir.path(), 70); // page 2: records 55..69, the rest of its slots never recorded
    RealTimeStore store;
    LoadRealTimePage(store, dir.path(), 2, 500);

    SignalExportRequest request;
    request.ProjectName = QStringLiteral("larvae");
    request.ExperimentFolder = QStringLiteral("/data/p00003/05122026_1000");
    request.WellText = QStringLiteral("C7");
    request.PageText = QStringLiteral("2/2");
    request.Page = 2;
    request.Beams = {{0, 98}, {1, 114}, {3, 146}}; // a well without beam 2
    const QString path = QDir(dir.path()).filePath(QStringLiteral("datafile.txt"));
    WriteSignalExport(path, request, store);

    const QList<QByteArray> lines = ReadAll(path).split('\n');
    ASSERT_EQ(lines.size(), 6 + 15 * 500 + 1); // the last line end leaves an empty tail
    EXPECT_TRUE(lines.back().isEmpty());
    const QByteArray folder = QDir::toNativeSeparators(request.ExperimentFolder).toUtf8();
    EXPECT_EQ(lines.mid(0, 6), (QList<QByteArray>{"\"larvae\"\r", "\"" + folder + "\"\r", "\r",
                                                  "Well: C7 Page[2/2] [#27.5k-55k]\r", "\r", "C7.0 C7.1 C7.3 \r"}));
    for (int i = 6; i < 6 + 15 * 500; ++i)
        ASSERT_TRUE(lines[i].endsWith(" \r")) << i;
    // Slot 1, tick 7 of page 2 is buffer cycle 56.
    const QByteArray expected = QByteArray::number(PatternValue(98, 56, 7)) + ' ' +
                                QByteArray::number(PatternValue(114, 56, 7)) + ' ' +
                                QByteArray::number(PatternValue(146, 56, 7)) + " \r";
    EXPECT_EQ(lines[6 + 500 + 7], expected);
    EXPECT_EQ(PageSpanText(1), QStringLiteral("0k-27.5k"));
}
