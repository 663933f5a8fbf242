#pragma once

// The instrument's factory temperature calibration record, eight bytes of its
// memory read at start-up:
//
//   | address | content                                              |
//   |---------|------------------------------------------------------|
//   | 0x80    | 0 when the record is valid                           |
//   | 0x81    | month of the last calibration, 1..12                 |
//   | 0x82    | two-digit year, 0..99                                |
//   | 0x83    | sign of the offset: 0 positive, 1 negative           |
//   | 0x84    | absolute offset in tenths of a degree                |
//   | 0x85    | low byte of the slope in thousandths (above 0)       |
//   | 0x86    | high byte of the slope in thousandths                |
//   | 0x87    | not used                                             |

#include "core/link/InstrumentSession.h"

#include <array>

namespace bandora {

class EventPump;
class InstrumentLink;

// The bytes of 0x80..0x87 as read; -1 for an address that gave no value.
using FactoryBytes = std::array<int, 8>;

// Reads each address with up to three attempts of two reads 200 ms apart; a
// value counts when the first read worked and the second agrees. After a
// failed first read an Identify puts the link back in step. Pending window
// events run after each address.
FactoryBytes ReadFactoryBytes(InstrumentLink& link, EventPump& events);

// Checks the record; an invalid one gives Valid = false with Offset 0.0 and
// Slope 0.219.
FactoryCal DecodeFactoryRecord(const FactoryBytes& bytes);

// The start-up read: defaults first, then (online) the record from the
// instrument into instrument.factory.
void ReadFactoryCalibration(InstrumentSession& instrument, EventPump& events, InstrumentLink& link);

} // namespace bandora
