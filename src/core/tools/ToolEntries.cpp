#include "ToolEntries.h"

#include "core/common/Rounding.h"
#include "core/storage/RecordSyntax.h"

namespace bandora {

namespace {

QString Show(EntryRule::Shown shown, double value, const QString& typed)
{
    switch (shown) {
    case EntryRule::Shown::TwoDigits:
        return QStringLiteral("%1").arg(RoundHalfEven(value), 2, 10, QLatin1Char('0'));
    case EntryRule::Shown::Integer:
        return QString::number(RoundHalfEven(value));
    case EntryRule::Shown::OneDecimal:
        return QString::number(value, 'f', 1);
    case EntryRule::Shown::AsTyped:
        break;
    }
    return typed;
}

} // namespace

EntryResult CheckEntry(const EntryRule& rule, const QString& text)
{
    EntryResult r;
    double v = 0;
    const bool inRange = ParseNumber(text, v) && (rule.minIncluded ? v >= rule.min : v > rule.min) && v <= rule.max;
    if (inRange) {
        r.valid = true;
        r.stored = NearestInt16(v * rule.scale);
        // What is shown is what the project now holds, so the box never
        // promises a value the instrument will not use.
        r.value = rule.shown == EntryRule::Shown::AsTyped ? v : r.stored / double(rule.scale);
        r.shown = Show(rule.shown, r.value, text.trimmed());
    } else {
        r.value = rule.resetValue;
        r.stored = NearestInt16(rule.resetValue * rule.scale);
        r.shown = FormatNumber(rule.resetValue);
    }
    return r;
}

namespace entries {

using S = EntryRule::Shown;

EntryRule LightOnHour() { return {0, 23, true, 1, S::TwoDigits, QStringLiteral("Invalid value: 0 to 23"), 9}; }
EntryRule LightOffHour() { return {0, 23, true, 1, S::TwoDigits, QStringLiteral("Invalid value: 0 to 23"), 21}; }
EntryRule PulseOn() { return {0, 1440, true, 10, S::OneDecimal, QStringLiteral("Invalid value: 0.0 to 1440.0"), 0}; }
EntryRule PulseOff() { return {0, 1440, true, 10, S::OneDecimal, QStringLiteral("Invalid value: 0.0 to 1440.0"), 0}; }
EntryRule PulseTimes() { return {0, 99, true, 1, S::Integer, QStringLiteral("Invalid value: 0-99"), 0}; }
EntryRule SetPoint() { return {5, 50, true, 10, S::OneDecimal, QStringLiteral("Invalid value: 5.0 to 50.0"), 20}; }
EntryRule SignalToNoise()
{
    return {1.0, 5.0, false, 10, S::AsTyped, QStringLiteral("Invalid value: 1.1 to 5.0"), 1.8};
}

} // namespace entries

} // namespace bandora
