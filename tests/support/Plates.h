#pragma once

#include "core/storage/PlateFormat.h"

namespace bandora::test {

// 96 wells of four beams each: channel = 4 x well + beam, so every well has
// beams 0 to 3 and well B12 holds channels 356 to 359.
inline PlateFormat FourBeamPlate()
{
    PlateFormat p;
    p.Rows = 8;
    p.Columns = 12;
    for (int ch = 0; ch < kChannels; ++ch) {
        p.ChannelWell[ch] = qint16(ch / 4);
        p.ChannelBeam[ch] = qint16(ch % 4);
    }
    p.ChannelWell[kChannels] = -1;
    p.MaxWell = 95;
    p.MaxBeam = 3;
    p.RebuildWellBeamChannel();
    return p;
}

} // namespace bandora::test
