#include "core/storage/RecordSyntax.h"

#include <gtest/gtest.h>

using namespace bandora;

TEST(RecordSyntax, WritesFilesInTheSharedLayout)
{
    RecordWriter w;
    w.Header(QStringLiteral("<Channel>, <Threshold>"))
        .Record({qint64(0), 3.0})
        .Record({qint64(-12), 2.5, QStringLiteral("Group, one")})
        .Record({0.001, 1234567.125, -0.0, 0.1 + 0.2});
    EXPECT_EQ(w.Bytes(), QByteArray("\"<Channel>, <Threshold>\"\r\n"
                                    "0,3\r\n"
                                    "-12,2.5,\"Group, one\"\r\n"
                                    "0.001,1234567.125,0,0.3\r\n"));
}

TEST(RecordSyntax, ReadsFieldsAcrossLinesAndSkipsLines)
{
    RecordReader r(QByteArray("\"Project Setup: <a>,<b>\"\r\n7,\"larvae, test\",\"C:\\p00007\\\",\"w96f\"\n"
                              "\"hdr\"\r\n1,30\r\n"));
    EXPECT_EQ(r.LineCount(), 4);
    r.SkipLine();
    EXPECT_EQ(r.ReadInt16(), 7);
    EXPECT_EQ(r.ReadText(), QStringLiteral("larvae, test"));
    EXPECT_EQ(r.ReadText(), QStringLiteral("C:\\p00007\\"));
    EXPECT_EQ(r.ReadText(), QStringLiteral("w96f"));
    r.SkipLine(); // the header on line 3: the read of line 2 ended at its line end
    EXPECT_EQ(r.ReadInt16(), 1);
    EXPECT_EQ(r.ReadInt16(), 30);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_THROW(r.ReadInt16(), RecordError);
    EXPECT_THROW(r.SkipLine(), RecordError);
}

TEST(RecordSyntax, NumbersAreCheckedAndRoundedHalfToEven)
{
    RecordReader r(QByteArray(".5,-.25,2.5,3.5,5.,+7, 8 ,,abc,1e3,32767.4,32767.5,-32768,\"12\""));
    EXPECT_DOUBLE_EQ(r.ReadNumber(), 0.5);
    EXPECT_DOUBLE_EQ(r.ReadNumber(), -0.25);
    EXPECT_EQ(r.ReadInt16(), 2);
    EXPECT_EQ(r.ReadInt16(), 4);
    EXPECT_EQ(r.ReadInt16(), 5);
    EXPECT_EQ(r.ReadInt16(), 7);
    EXPECT_EQ(r.ReadInt16(), 8);
    EXPECT_EQ(r.ReadInt16(), 0); // an empty item reads as zero
    EXPECT_THROW(r.ReadInt16(), RecordError);
    EXPECT_THROW(r.ReadNumber(), RecordError); // no exponents in these files
    EXPECT_EQ(r.ReadInt16(), 32767);
    EXPECT_THROW(r.ReadInt16(), RecordError); // 32768 does not fit
    EXPECT_EQ(r.ReadInt16(), -32768);
    EXPECT_EQ(r.ReadInt16(), 12);
}

TEST(RecordSyntax, SurvivesGarbage)
{
    QByteArray junk;
    for (int i = 0; i < 70000; ++i)
        junk.append(static_cast<char>((i * 7919) % 256));
    junk.append(QByteArray(1 << 20, 'x')); // a line of a megabyte
    junk.append("\"unterminated, quote\r\n");
    // A lone CR is damage of its own (CR-only line ends): the first read says so.
    EXPECT_THROW(RecordReader(junk).NextField(), RecordError);
    junk.replace('\r', ' ');
    junk.append("\r\n");
    RecordReader r(junk);
    int fields = 0;
    while (!r.AtEnd() && fields < 1000000) {
        r.NextField();
        ++fields;
    }
    EXPECT_TRUE(r.AtEnd());
    EXPECT_GT(fields, 0);
    EXPECT_TRUE(RecordReader{QByteArray()}.AtEnd());
    EXPECT_TRUE(RecordReader(QByteArray("\r\n\r\n")).AtEnd());
}

TEST(RecordSyntax, FormatsNumbersWithoutExponentOrTrailingZeros)
{
    // Plain numbers are the writer's test above.
    EXPECT_EQ(FormatNumber(1e-5), QStringLiteral("0.00001"));
    EXPECT_EQ(FormatNumber(1e20), QStringLiteral("100000000000000000000"));
}

TEST(RecordSyntax, TypedTextsReadAsTheirLeadingNumber)
{
    const std::pair<const char*, double> cases[] = {{"45", 45.0},  {" -3.5 min", -3.5}, {"12abc", 12.0}, {"5.x", 5.0},
                                                    {"abc", 0.0},  {"-", 0.0},          {"", 0.0},
                                                    {"99999999999999999999999", 1e23}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(NumericValue(QString::fromLatin1(text)), value) << text;
}
