#include "support/Files.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace bandora::test;

TEST(HelpDocument, TheBuildStagesTheManualAsAPdfOfSeveralPages)
{
    const QByteArray pdf = ReadAll(QDir(QStringLiteral(BANDORA_APP_DIR)).filePath(QStringLiteral("bdr_help.pdf")));
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    // Every chapter of the manual made it in: together they fill more than
    // three A4 pages.
    const qsizetype pages = pdf.count("/Type /Page") - pdf.count("/Type /Pages");
    EXPECT_GE(pages, 4);
}
