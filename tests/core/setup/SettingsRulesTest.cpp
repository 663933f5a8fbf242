#include "core/setup/SettingsRules.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>

using namespace bandora;

// Each box with a typed text: the value stored and the text shown instead of
// the typed one (none when the typed text stands).
TEST(SettingsRules, BoxesKeepTheirLimitsAndShowWhatTheyStore)
{
    using Rule = std::function<BoxEntry(const QString&)>;
    const Rule lapse = LapseEntry, buffer = BufferEntry;
    const Rule rate = [](const QString& t) { return SampleRateEntry(t, 10); };
    const Rule dsp500 = [](const QString& t) { return DspIntervalEntry(t, 500); };
    const Rule dsp200 = [](const QString& t) { return DspIntervalEntry(t, 200); };
    struct Case {
        const char* box;
        const Rule& rule;
        const char* typed;
        qint16 value;
        const char* shown; // nullptr: the typed text stands
    };
    const Case cases[] = {
        {"lapse", lapse, "40000", 32000, "32000"}, {"lapse", lapse, "-5", 2, "2"},
        {"lapse", lapse, "abc", 2, "2"},           {"lapse", lapse, "-99999999", 2, "2"},
        {"lapse", lapse, "90", 90, nullptr},
        {"lapse", lapse, "2.5", 2, nullptr}, // halves to the even neighbour
        {"lapse", lapse, "31999.6", 32000, nullptr},
        {"buffer", buffer, "150", 200, "200"},     {"buffer", buffer, "10001", 200, "200"},
        {"buffer", buffer, "199.9", 200, "200"},   {"buffer", buffer, "10000", 10000, nullptr},
        {"buffer", buffer, "500", 500, nullptr},   {"buffer", buffer, "200.5", 200, nullptr},
        {"rate", rate, "99", 99, nullptr},         {"rate", rate, "99999", 10, "10"},
        {"rate", rate, "0.4", 10, "10"},
        {"window", dsp500, "30", 30, nullptr},     {"window", dsp500, "0", 1, "1"},
        {"window", dsp500, "700", 499, "499"},     {"window", dsp200, "99999", 199, "199"},
    };
    for (const Case& c : cases) {
        const BoxEntry e = c.rule(QString::fromLatin1(c.typed));
        EXPECT_EQ(e.value, c.value) << c.box << " " << c.typed;
        EXPECT_EQ(e.shown, c.shown ? std::optional<QString>(QString::fromLatin1(c.shown)) : std::nullopt)
            << c.box << " " << c.typed;
        // Only a refused sample rate is explained; the other boxes show their reset value.
        EXPECT_EQ(e.message.has_value(), &c.rule == &rate && c.shown) << c.box << " " << c.typed;
    }
}
