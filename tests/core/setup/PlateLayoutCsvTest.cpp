// Plate layouts from a spreadsheet: every kind of mistake is reported by line
// and nothing is taken; a layout exported and imported again gives the same
// project files.

#include "core/setup/BlockLayouts.h"
#include "core/setup/GroupRules.h"
#include "core/setup/PlateLayoutCsv.h"
#include "core/storage/PlateFiles.h"
#include "core/storage/ProjectFiles.h"
#include "support/Files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(PlateLayoutCsv, EveryBadLineIsReportedAndNothingIsTaken)
{
    const PlateFormat plate = BuiltInPlate(QStringLiteral("w96f"));
    struct Case {
        const char* file;
        QStringList problems; // the start of each problem, in line order
    };
    const Case cases[] = {
        {"plate,name\r\nA1,x\r\n", {"line 1: the first line must name the columns well and group"}},
        {"well,group\r\nA1,wt\r\nZ1,wt\r\nA13,wt\r\nA0,wt\r\n1A,wt\r\n",
         {"line 3: unknown well 'Z1'", "line 4: unknown well 'A13'", "line 5: unknown well 'A0'",
          "line 6: unknown well '1A'"}},
        {"well,group\r\nA1,wt\r\nB1,wt\r\na01,mut\r\n", {"line 4: well A1 is listed twice (first on line 2)"}},
        {"well,group\r\nA1,400_big\r\n", {"line 2: group number 400: more groups than allowed"}},
        {"well,group\r\nA1,\"say \"\"hi\"\"\"\r\nB1,Free\r\nC1,\xe6\xb0\xb4\r\nD1,007_\r\n",
         {"line 2: group 'say \"hi\"': a double quote", "line 3: group 'Free': \"Free\" marks",
          "line 4: group '\xe6\xb0\xb4': the character", "line 5: group '007_': the group has no name"}},
        {"well,group\r\nA1,003_wt\r\nB1,003_mut\r\n", {"line 3: group 003 is named 'mut' here and 'wt' on line 2"}},
        {"well,group,genotype\r\nA1,wt,N2\r\nB1,wt,CB4856\r\n",
         {"line 3: group 'wt' has genotype 'CB4856' here and 'N2' on line 2"}},
        {"well,group\r\nA1,wt,extra\r\n", {"line 2: 3 fields, the first line names 2"}},
    };
    for (const Case& c : cases) {
        const LayoutReading r = ReadPlateLayout(QByteArray(c.file), plate);
        EXPECT_FALSE(r.Layout) << c.file;
        ASSERT_EQ(r.Problems.size(), c.problems.size()) << c.file << "\n" << r.Problems.join('\n').toStdString();
        for (int i = 0; i < c.problems.size(); ++i)
            EXPECT_TRUE(r.Problems[i].startsWith(c.problems[i])) << r.Problems[i].toStdString();
    }
}

TEST(PlateLayoutCsv, SpreadsheetVariantsReadAsTheSameLayout)
{
    const PlateFormat plate = BuiltInPlate(QStringLiteral("w96f"));
    // Semicolons, a byte-order mark, another column order, empty trailing
    // lines, a numbered group and plain names that join it or take the next
    // free number; an empty group leaves the well free.
    const LayoutReading r = ReadPlateLayout(
        QByteArray("\xef\xbb\xbfGroup;Dose;Well\r\n002_wt;0;A1\r\nwt;0;b1\r\nmut;10;H12\r\n;;C1\r\n;;\r\n"), plate);
    ASSERT_TRUE(r.Layout) << r.Problems.join('\n').toStdString();
    EXPECT_EQ(r.Layout->WellGroup[0], 2);
    EXPECT_EQ(r.Layout->WellGroup[1], 2);
    EXPECT_EQ(r.Layout->WellGroup[95], 0);
    EXPECT_EQ(r.Layout->WellGroup[2], -1);
    EXPECT_EQ(r.Layout->GroupNames.at(0), QStringLiteral("mut"));
    EXPECT_EQ(r.Layout->ColumnNames, QStringList{QStringLiteral("Dose")});
    EXPECT_EQ(r.Layout->ColumnValues.at(0), QStringList{QStringLiteral("10")});
}

TEST(PlateLayoutCsv, ExportedAndImportedAgainGivesIdenticalGroupFiles)
{
    for (const char* plateName : {"w96f", "w384", "w96u"}) {
        const PlateFormat plate = BuiltInPlate(QString::fromLatin1(plateName));
        ProjectSetup project;
        ClearGroups(project);
        ASSERT_TRUE(ApplyBlockLayout(project, plate, BlockLayoutItems(plate).value(2)));
        project.GroupName[1] = QStringLiteral("N2, 10 mM");
        project.GroupColumnNames = QStringList{QStringLiteral("genotype"), QStringLiteral("dose")};
        project.GroupColumnValues[0] = QStringList{QStringLiteral("N2"), QStringLiteral("0")};
        project.GroupColumnValues[1] = QStringList{QStringLiteral("CB4856"), QStringLiteral("10 mM")};
        const QByteArray csv = PlateLayoutCsv(project, plate);

        ProjectSetup again = project;
        ClearGroups(again);
        const LayoutReading r = ReadPlateLayout(csv, plate);
        ASSERT_TRUE(r.Layout) << plateName << r.Problems.join('\n').toStdString();
        ApplyPlateLayout(again, plate, *r.Layout);

        QTemporaryDir a, b;
        SaveProject(project, a.path());
        SaveProject(again, b.path());
        for (const char* f : {"groups.dat", "chgroup.dat", "groupcols.csv"})
            EXPECT_EQ(ReadAll(QDir(a.path()).filePath(f)), ReadAll(QDir(b.path()).filePath(f))) << plateName << f;
        EXPECT_EQ(PlateLayoutCsv(again, plate), csv) << plateName;
    }
}
