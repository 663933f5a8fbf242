#pragma once

#include "core/storage/ProjectSetup.h"

#include <array>

namespace bandora {

class InstrumentLink;

// The instrument's factory temperature calibration: degrees Celsius =
// raw reading x Slope + Offset.
struct FactoryCal {
    bool Valid = true;
    qint16 Month = 0;
    qint16 Year = 0;
    qint16 OffsetSign = 0;
    double Offset = 0.0;
    double Slope = 0.219;
};

// The instrument as this session of the program knows it: the link, the
// record read from its memory and the receivers' settings written to it.
struct InstrumentSession {
    // No instrument answered at start-up: nothing is sent or read.
    bool OfflineMode = false;

    // The serial link, owned by the start-up (main()); set before the
    // instrument search, never null afterwards.
    InstrumentLink* link = nullptr;

    FactoryCal factory;

    // The receivers' sensitivity, PinHole x 8 + Gain, per channel (calvalue.dat).
    std::array<qint16, kChannelTable> CalPinHole{};
    std::array<qint16, kChannelTable> CalGain{};
};

} // namespace bandora
