#include "core/setup/SettingsRules.h"

#include <gtest/gtest.h>

using namespace bandora;

TEST(SettingsRules, TypedTextsReadTheirLeadingNumber)
{
    EXPECT_DOUBLE_EQ(TextValue(QStringLiteral("45")), 45.0);
    EXPECT_DOUBLE_EQ(TextValue(QStringLiteral(" -3.5 min")), -3.5);
    EXPECT_DOUBLE_EQ(TextValue(QStringLiteral("12abc")), 12.0);
    EXPECT_DOUBLE_EQ(TextValue(QStringLiteral("abc")), 0.0);
    EXPECT_DOUBLE_EQ(TextValue(QStringLiteral("-")), 0.0);
    EXPECT_DOUBLE_EQ(TextValue(QStringLiteral("99999999999999999999999")), 1e23);
}

TEST(SettingsRules, LapseIsKeptBetweenTwoMinutesAnd32000)
{
    auto e = LapseEntry(QStringLiteral("40000"));
    EXPECT_EQ(e.value, 32000);
    EXPECT_EQ(e.shown, QStringLiteral("32000"));
    for (const char* text : {"-5", "abc", "", "0", "0.4", "-99999999"}) {
        e = LapseEntry(QString::fromLatin1(text));
        EXPECT_EQ(e.value, 2) << text;
        EXPECT_EQ(e.shown, QStringLiteral("2")) << text;
    }
    e = LapseEntry(QStringLiteral("90"));
    EXPECT_EQ(e.value, 90);
    EXPECT_FALSE(e.shown);
    EXPECT_EQ(LapseEntry(QStringLiteral("2.5")).value, 2); // halves to the even neighbour
    EXPECT_EQ(LapseEntry(QStringLiteral("31999.6")).value, 32000);
}

TEST(SettingsRules, BufferOutsideItsRangeBecomes200)
{
    for (const char* text : {"150", "10001", "abc", "-300", "199.9"}) {
        const auto e = BufferEntry(QString::fromLatin1(text));
        EXPECT_EQ(e.value, 200) << text;
        EXPECT_EQ(e.shown, QStringLiteral("200")) << text;
    }
    EXPECT_EQ(BufferEntry(QStringLiteral("10000")).value, 10000);
    EXPECT_FALSE(BufferEntry(QStringLiteral("500")).shown);
    EXPECT_EQ(BufferEntry(QStringLiteral("200.5")).value, 200);
}

TEST(SettingsRules, SampleRateAndDetectorWindowNeverOverflowOrOutgrowTheBuffer)
{
    EXPECT_EQ(SampleRateEntry(QStringLiteral("99")).value, 99);
    EXPECT_FALSE(SampleRateEntry(QStringLiteral("99")).shown);
    const auto big = SampleRateEntry(QStringLiteral("99999"));
    EXPECT_EQ(big.value, 32767);
    EXPECT_EQ(big.shown, QStringLiteral("32767"));

    EXPECT_EQ(DspIntervalEntry(QStringLiteral("30"), 500).value, 30);
    EXPECT_FALSE(DspIntervalEntry(QStringLiteral("30"), 500).shown);
    const auto zero = DspIntervalEntry(QStringLiteral("0"), 500);
    EXPECT_EQ(zero.value, 1);
    EXPECT_EQ(zero.shown, QStringLiteral("1"));
    const auto tooLong = DspIntervalEntry(QStringLiteral("700"), 500);
    EXPECT_EQ(tooLong.value, 499);
    EXPECT_EQ(tooLong.shown, QStringLiteral("499"));
    EXPECT_EQ(DspIntervalEntry(QStringLiteral("99999"), 200).value, 199);
}
