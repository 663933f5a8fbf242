#include "FactoryRecord.h"

#include "core/common/Clock.h"
#include "core/common/EventPump.h"
#include "core/link/Commands.h"
#include "core/link/InstrumentLink.h"

namespace bandora {

namespace {
constexpr int kAttempts = 3;
constexpr int kReadPauseMs = 200;
constexpr double kDefaultOffset = 0.0;
constexpr double kDefaultSlope = 0.219;
} // namespace

FactoryBytes ReadFactoryBytes(InstrumentLink& link, EventPump& events)
{
    FactoryBytes bytes;
    for (int i = 0; i < kFactoryBytes; ++i) {
        const quint8 address = quint8(kFactoryFirstAddress + i);
        bytes[i] = -1;
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            const int first = link.ReadMemoryByte(address);
            link.Pause(kReadPauseMs);
            const int second = link.ReadMemoryByte(address);
            link.Pause(kReadPauseMs);
            if (first != -1 && first == second) {
                bytes[i] = first;
                break;
            }
            if (first == -1) {
                link.Identify();
                link.Pause(kReadPauseMs);
            }
        }
        events.processEvents();
    }
    return bytes;
}

FactoryCal DecodeFactoryRecord(const FactoryBytes& b)
{
    FactoryCal cal;
    cal.Valid = true;
    if (b[0] != 0)
        cal.Valid = false;
    if (b[1] < 1 || b[1] > 12)
        cal.Valid = false;
    else
        cal.Month = qint16(b[1]);
    if (b[2] > 99)
        cal.Valid = false;
    else
        cal.Year = qint16(b[2]);
    if (b[3] > 1)
        cal.Valid = false;
    else
        cal.OffsetSign = qint16(b[3]);
    if (b[4] < 0) {
        cal.Valid = false;
    } else {
        cal.Offset = b[4] / 10.0;
        if (cal.OffsetSign != 0)
            cal.Offset = -cal.Offset;
    }
    if (b[5] <= 0 || b[6] < 0)
        cal.Valid = false;
    else
        cal.Slope = (b[6] * 256 + b[5]) / 1000.0;
    if (cal.Offset < -10.0 || cal.Offset > 10.0)
        cal.Valid = false;
    if (cal.Slope > 0.45 || cal.Slope < 0.1)
        cal.Valid = false;
    if (!cal.Valid) {
        cal.Offset = kDefaultOffset;
        cal.Slope = kDefaultSlope;
    }
    return cal;
}

void ReadFactoryCalibration(InstrumentSession& instrument, EventPump& events, InstrumentLink& link)
{
    instrument.factory.Offset = kDefaultOffset;
    instrument.factory.Slope = kDefaultSlope;
    if (instrument.OfflineMode)
        return;
    instrument.factory = DecodeFactoryRecord(ReadFactoryBytes(link, events));
}

} // namespace bandora
