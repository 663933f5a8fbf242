#include "core/tools/ToolEntries.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace bandora;

namespace {

struct Expect {
    const char* typed;
    bool valid;
    qint16 stored;
    const char* shown;
};

void Check(const EntryRule& rule, std::initializer_list<Expect> cases)
{
    for (const Expect& e : cases) {
        const EntryResult r = CheckEntry(rule, QString::fromLatin1(e.typed));
        EXPECT_EQ(r.valid, e.valid) << e.typed;
        EXPECT_EQ(r.stored, e.stored) << e.typed;
        EXPECT_EQ(r.shown, QLatin1String(e.shown)) << e.typed;
    }
}

} // namespace

TEST(ToolEntries, EachBoxWithItsRangeFormatAndResetValue)
{
    Check(entries::LightOnHour(), {{"24", false, 9, "9"},
                                   {"7.6", true, 8, "08"},
                                   {" 23 ", true, 23, "23"},
                                   {"0", true, 0, "00"},
                                   {"", false, 9, "9"},
                                   {"7a", false, 9, "9"}});
    Check(entries::LightOffHour(), {{"23.6", false, 21, "21"}, {"22.5", true, 22, "22"}});

    Check(entries::PulseOn(), {{"1440", true, 14400, "1440.0"},
                               {"1440.1", false, 0, "0"},
                               {"1.25", true, 12, "1.2"}}); // shown as kept: halves to even
    Check(entries::PulseOff(), {{"2", true, 20, "2.0"}, {"-0.1", false, 0, "0"}});

    Check(entries::PulseTimes(), {{"99", true, 99, "99"}, {"100", false, 0, "0"}, {"2.6", true, 3, "3"}});

    Check(entries::SetPoint(), {{"4.9", false, 200, "20"},
                                {"5", true, 50, "5.0"},
                                {"50.0", true, 500, "50.0"},
                                {"25.04", true, 250, "25.0"},
                                {"50.01", false, 200, "20"}});

    // The signal-to-noise factor: more than 1.0, up to 5.0; the text stays as
    // typed, the project keeps tenths.
    Check(entries::SignalToNoise(), {{"1.0", false, 18, "1.8"},
                                     {"1.05", true, 10, "1.05"},
                                     {"5.0", true, 50, "5.0"},
                                     {"5.01", false, 18, "1.8"}});
    EXPECT_DOUBLE_EQ(CheckEntry(entries::SignalToNoise(), QStringLiteral("1.05")).value, 1.05);
}
