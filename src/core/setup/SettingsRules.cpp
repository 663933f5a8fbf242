#include "SettingsRules.h"

#include "core/common/Rounding.h"
#include "core/storage/RecordSyntax.h"

#include <cmath>

namespace bandora {

namespace {

constexpr qint16 kMaxLapse = 32000;
constexpr qint16 kMinBuffer = 200;
constexpr qint16 kMaxBuffer = 10000;

qint16 ClampedInt16(double value)
{
    if (value >= 32767.0)
        return 32767;
    if (value <= -32768.0)
        return -32768;
    return static_cast<qint16>(RoundHalfEven(value));
}

} // namespace

QStringList AcquisitionModeItems()
{
    return {QStringLiteral("0_Offline"),     QStringLiteral("1_Default"),     QStringLiteral("2_Fast(0.31)"),
            QStringLiteral("3_Fast(32.63)"), QStringLiteral("4_Fast(64.95)"), QStringLiteral("5_Fast(96.127)")};
}

QStringList DspMethodItems()
{
    return {QStringLiteral("0_Threshold+Binary (Old method.w/filters)"),
            QStringLiteral("1_Threshold Avrg (Default.Agar&Liquid)")};
}

QStringList YesNoItems() { return {QStringLiteral("NO"), QStringLiteral("YES")}; }

BoxEntry LapseEntry(const QString& text)
{
    const double v = NumericValue(text);
    if (v >= kMaxLapse)
        return {kMaxLapse, QString::number(kMaxLapse), std::nullopt};
    const qint16 minutes = ClampedInt16(v);
    if (minutes <= 0)
        return {2, QStringLiteral("2"), std::nullopt};
    return {minutes, std::nullopt, std::nullopt};
}

BoxEntry BufferEntry(const QString& text)
{
    const double v = NumericValue(text);
    if (v < kMinBuffer || v > kMaxBuffer)
        return {kMinBuffer, QString::number(kMinBuffer), std::nullopt};
    return {ClampedInt16(v), std::nullopt, std::nullopt};
}

BoxEntry SampleRateEntry(const QString& text, qint16 current)
{
    const qint64 v = RoundHalfEven(NumericValue(text));
    if (v < 1 || v > 32767)
        return {current, QString::number(current),
                QStringLiteral("Sample rate: \"%1\" is not a number of samples per second from 1 to 32767. "
                               "The sample rate stays %2.")
                    .arg(text.trimmed())
                    .arg(current)};
    return {static_cast<qint16>(v), std::nullopt, std::nullopt};
}

qint16 MaxDspInterval(qint16 rtBuffer) { return static_cast<qint16>(qMax<int>(1, rtBuffer - 1)); }

BoxEntry DspIntervalEntry(const QString& text, qint16 rtBuffer)
{
    const double v = NumericValue(text);
    const qint16 rounded = ClampedInt16(v);
    const qint16 ticks = qBound<qint16>(1, rounded, MaxDspInterval(rtBuffer));
    if (ticks != RoundHalfEven(v))
        return {ticks, QString::number(ticks), std::nullopt};
    return {ticks, std::nullopt, std::nullopt};
}

} // namespace bandora
