#include "FactoryCalibration.h"

#include "FactoryRecord.h"

#include "core/common/Clock.h"
#include "core/common/Operator.h"
#include "core/common/Rounding.h"
#include "core/link/InstrumentLink.h"
#include "core/storage/RecordSyntax.h"

#include <algorithm>
#include <cmath>

namespace bandora {

namespace {

constexpr double kDefaultSlope = 0.219;
// The start-up read accepts offsets up to this size; a larger one would be
// written but thrown away again at the next start.
constexpr double kLargestOffset = 10.0;

QString Degrees(double t)
{
    return QString::number(t, 'f', 1);
}

// What the memory holds at 0x80..0x86 as far as is known; -1 where not.
using KnownRecord = std::array<int, 7>;

QString HexBytes(const KnownRecord& bytes)
{
    QStringList text;
    for (int b : bytes)
        text << (b < 0 ? QStringLiteral("??") : QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper());
    return text.join(QLatin1Char(' '));
}

// Writes the record address by address, stopping at the first write that
// fails; `holds` follows what each write leaves behind. The failed address,
// or -1.
int WriteRecord(InstrumentLink& link, const FactoryRecordValues& values, KnownRecord& holds)
{
    for (size_t i = 0; i < values.size(); ++i) {
        if (link.WriteMemoryRegister(quint8(kFactoryFirstAddress + i), values[i]) != 1) {
            holds[i] = -1;
            return int(kFactoryFirstAddress + i);
        }
        holds[i] = values[i];
    }
    return -1;
}

// Reads the record back into `holds`; true when it is `values`.
bool ReadBack(InstrumentSession& instrument, const Services& services, const FactoryRecordValues& values,
              KnownRecord& holds)
{
    const FactoryBytes read = ReadFactoryBytes(*instrument.link, services.events);
    std::copy_n(read.begin(), holds.size(), holds.begin());
    return std::equal(values.begin(), values.end(), holds.begin());
}

} // namespace

FactoryRecordValues MakeFactoryRecord(double offset, double slope, int month, int year)
{
    const double thousandths = slope * 1000.0;
    const qint64 high = qint64(thousandths / 256.0);
    const qint64 low = RoundHalfEven(thousandths - 256.0 * double(high));
    const qint64 tenths = RoundHalfEven(std::fabs(offset) * 10.0);
    return {0, quint8(month), quint8(year), quint8(offset < 0 ? 1 : 0), quint8(tenths), quint8(low), quint8(high)};
}

QString LastCalibrationText(int month, int year)
{
    return QStringLiteral("OK Last Factory Calibration %1/%2 [mm/yy]")
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(year, 2, 10, QLatin1Char('0'));
}

FactoryCalibration::FactoryCalibration(const Services& services, InstrumentSession& instrument, const RunState& run)
    : services_(services), instrument_(instrument), run_(run)
{
}

bool FactoryCalibration::MayOpen() const
{
    if (instrument_.OfflineMode || Active(run_.State) || instrument_.link == nullptr) {
        services_.op.inform(QStringLiteral("Only possible to access in: ONLINE mode and STOP experiment"));
        return false;
    }
    return true;
}

QString FactoryCalibration::Load()
{
    FactoryCal& cal = instrument_.factory;
    if (!cal.Valid) {
        cal.Offset = 0.0;
        cal.Slope = kDefaultSlope;
        return QStringLiteral("NON Calibrated");
    }
    return LastCalibrationText(cal.Month, cal.Year);
}

QString FactoryCalibration::PollTemperature()
{
    lastRaw_ = instrument_.link->ReadTemperature();
    return Degrees(lastRaw_ * instrument_.factory.Slope + instrument_.factory.Offset);
}

double FactoryCalibration::NewOffset(double reference, int raw) const
{
    return reference - raw * instrument_.factory.Slope;
}

QString FactoryCalibration::Calibrate(const QString& referenceText)
{
    FactoryCal& cal = instrument_.factory;
    lastRaw_ = instrument_.link->ReadTemperature();
    double reference = 0.0;
    if (!ParseNumber(referenceText.trimmed(), reference) || reference > kHighestReference
        || reference < kLowestReference) {
        services_.op.inform(QStringLiteral("invalid Calibration Parameter: value must be between 4°C and 50°C"));
        return {};
    }
    // A failed reading (-1) would put a made-up offset into the instrument's
    // memory for good: nothing is written without a real reading.
    if (lastRaw_ < 0) {
        services_.op.inform(QStringLiteral("COM Error"));
        return {};
    }
    const double offset = NewOffset(reference, lastRaw_);
    if (std::fabs(offset) > kLargestOffset) {
        services_.op.inform(QStringLiteral("invalid Calibration Parameter: the new offset %1 is beyond 10°C")
                                .arg(Degrees(offset)));
        return {};
    }
    const QDate today = services_.clock.now().date();
    const int month = today.month();
    const int year = today.year() % 100;
    // A record that stops halfway (a write that fails, a cell that does not
    // keep its byte) is one no start can use: the record as it stands is read
    // first, to be put back when the new one does not check out.
    const FactoryBytes before = ReadFactoryBytes(*instrument_.link, services_.events);
    if (std::any_of(before.begin(), before.begin() + 7, [](int b) { return b < 0; })) {
        services_.op.inform(QStringLiteral("COM Error"));
        return {};
    }
    FactoryRecordValues previous{};
    std::copy_n(before.begin(), previous.size(), previous.begin());
    KnownRecord holds{};
    std::copy(previous.begin(), previous.end(), holds.begin());

    const FactoryRecordValues values = MakeFactoryRecord(offset, cal.Slope, month, year);
    const int failed = WriteRecord(*instrument_.link, values, holds);
    if (failed < 0 && ReadBack(instrument_, services_, values, holds))
        return Calibrated(offset, month, year);

    const bool restored =
        WriteRecord(*instrument_.link, previous, holds) < 0 && ReadBack(instrument_, services_, previous, holds);
    QString text = failed >= 0 ? WriteErrorText(failed)
                               : QStringLiteral("The factory record read back from the instrument is not the one "
                                                "written.");
    text += QStringLiteral("\r\n");
    text += restored ? QStringLiteral("The previous record was written back and checked: the instrument keeps its "
                                      "last calibration.")
                     : QStringLiteral("The previous record could not be written back: the instrument's memory "
                                      "(0x80 to 0x86) now holds %1 (?? not known).")
                           .arg(HexBytes(holds));
    services_.op.inform(text);
    return QStringLiteral("NON Calibrated");
}

QString FactoryCalibration::Calibrated(double offset, int month, int year)
{
    FactoryCal& cal = instrument_.factory;
    cal.Offset = offset;
    cal.Month = qint16(month);
    cal.Year = qint16(year);
    cal.OffsetSign = qint16(offset < 0 ? 1 : 0);
    return LastCalibrationText(month, year);
}

} // namespace bandora
