#include "ReportFixture.h"

#include "core/analysis/PerWellExport.h"
#include "support/ScriptedOperator.h"

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

// 95 minutes of recording, a record every 5 minutes: A1 counts 1 and 3 on its
// two beams (2 per record), A2 counts the record's number.
QByteArray NinetyFiveMinutes()
{
    QByteArray bytes;
    for (int r = 0; r <= 19; ++r)
        bytes += CountsBytes({{5 * r, {{0, 1}, {1, 3}, {16, qint16(r)}}}});
    return bytes;
}

PerWellResult Export(const ExperimentFixture& f, Operator& op, const QString& selected = {},
                     const QString& dateSeparator = QStringLiteral("/"))
{
    PerWellRequest request;
    request.Folder = f.folder;
    request.AppDir = f.appDir;
    request.SelectedExperimentName = selected;
    request.Now = QDateTime(QDate(2026, 2, 1), QTime(8, 15, 42));
    request.DateSeparator = dateSeparator;
    ExperimentSettings settings;
    return ExportPerWell(request, settings, op);
}

} // namespace

TEST(PerWellExport, NinetyFiveMinutesGiveThreeStampedLinesPerWell)
{
    ExperimentFixture f;
    f.SmallPlate();
    f.WriteCounts(NinetyFiveMinutes());
    ScriptedOperator op;
    const PerWellResult r = Export(f, op);
    ASSERT_EQ(r.Status, PerWellStatus::Written);
    // 95 / 30 = 3.17: three lines, stamped from the folder's own run start
    // 05/01/2026 09:30 plus 30, 60 and 90 minutes. The first step holds the
    // records of minutes 0 to 30 (seven of them), the next six each.
    EXPECT_EQ(r.Lines, 3);
    EXPECT_EQ(ReadAll(r.Files[0]), "05/01/2026 10:00 14\r\n05/01/2026 10:30 12\r\n05/01/2026 11:00 12\r\n");
    EXPECT_EQ(ReadAll(r.Files[2]), "05/01/2026 10:00 21\r\n05/01/2026 10:30 57\r\n05/01/2026 11:00 93\r\n");
    EXPECT_EQ(ReadAll(r.Files[3]), "05/01/2026 10:00 0\r\n05/01/2026 10:30 0\r\n05/01/2026 11:00 0\r\n");
    EXPECT_TRUE(op.texts().isEmpty());

    // The stamps are steps of the recording whatever bin size the report uses,
    // and the locale's separators go between day, month and year.
    const PerWellResult dotted = Export(f, op, {}, QStringLiteral("."));
    EXPECT_EQ(ReadAll(dotted.Files[0]).left(19), "05.01.2026 10:00 14");
}

TEST(PerWellExport, StartTimeFromFolderSelectionOrNowAndLinesEndWithTheData)
{
    ScriptedOperator op;
    // A folder not named by its run start: the selected experiment's name,
    // then the moment of the export.
    ExperimentFixture f(QStringLiteral("larvae_run"));
    f.SmallPlate();
    f.WriteCounts(NinetyFiveMinutes());
    PerWellResult r = Export(f, op, QStringLiteral("17032025_2300"));
    EXPECT_EQ(r.Start, QDateTime(QDate(2025, 3, 17), QTime(23, 0), Qt::UTC));
    EXPECT_EQ(ReadAll(r.Files[0]), "17/03/2025 23:30 14\r\n18/03/2025 00:00 12\r\n18/03/2025 00:30 12\r\n");
    // A name of the right shape that spells no date is no start either.
    r = Export(f, op, QStringLiteral("32132025_2500"));
    EXPECT_EQ(ReadAll(r.Files[0]).left(17), "01/02/2026 08:45 ");

    // The last record lies far beyond the data (E = 600, 20 steps): the lines
    // stop at the last step that holds records.
    ExperimentFixture g;
    g.SmallPlate();
    g.WriteCounts(CountsBytes({{10, {{16, 4}}}, {40, {{16, 5}}}, {600, {}}}));
    r = Export(g, op);
    EXPECT_EQ(r.Lines, 2);
    EXPECT_EQ(ReadAll(r.Files[2]), "05/01/2026 10:00 4\r\n05/01/2026 10:30 5\r\n");

    // No activity file: the message and no file.
    ExperimentFixture empty;
    empty.SmallPlate();
    op.clear();
    r = Export(empty, op);
    EXPECT_EQ(r.Status, PerWellStatus::NoActivityFile);
    EXPECT_EQ(op.texts(), QStringList{QStringLiteral("Activity file not Found")});
    EXPECT_TRUE(QDir(empty.folder).entryList({QStringLiteral("0*.txt")}).isEmpty());

    // Five minutes hold no 30-minute step: no file of empty lines, but the message.
    empty.WriteCounts(CountsBytes({{1, {{0, 4}}}, {3, {{0, 2}}}, {5, {}}}));
    op.clear();
    EXPECT_EQ(Export(empty, op).Status, PerWellStatus::NothingToExport);
    EXPECT_TRUE(op.texts().at(0).startsWith(QStringLiteral("Nothing to export: ")));
    EXPECT_TRUE(QDir(empty.folder).entryList({QStringLiteral("0*.txt")}).isEmpty());
}
