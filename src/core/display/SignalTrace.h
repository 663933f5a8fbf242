#pragma once

// The numbers behind the real-time signal plot: the plot's coordinate
// system and the zoomed value of a sample. A zoomed trace hangs from the
// channel's largest value in the buffer (its reference), so the small dips
// of a moving organism fill the plot instead of a sliver under a flat line.

#include "core/storage/ProjectSetup.h"
#include "core/storage/SampleTable.h"

#include <algorithm>
#include <array>

namespace bandora {

struct SignalScale {
    // Plot coordinates: x from kLeft to RT_Buffer + kRightMargin (one unit
    // per sample), y from kTop down to kBottom (beam value units).
    static constexpr int kLeft = -60;
    static constexpr int kRightMargin = 20;
    static constexpr int kTop = 2040;
    static constexpr int kBottom = -250;

    // The zoom steps of Cmdzoom_plus and Cmdzoom_minus; 0 is the raw signal.
    static constexpr int kMaxZoom = 10;
    // Where a zoomed trace's reference is drawn, and the lowest drawn value.
    static constexpr int kZoomedReference = 1750;
    static constexpr int kZoomedFloor = 6;

    // The sweep band cleared ahead of the newest sample.
    static constexpr int kBandFrom = 4;
    static constexpr int kBandTo = 10;
    static constexpr int kBandBottom = 21;
    static constexpr int kBandTop = 2048;
};

// The value drawn for a sample at the given zoom step.
inline int PlotValue(int value, int reference, int zoom)
{
    if (zoom == 0)
        return value;
    return std::max((value - reference) * zoom + SignalScale::kZoomedReference, SignalScale::kZoomedFloor);
}

// Per channel, the largest sample in columns 0..upTo (within the buffer).
inline void ComputeChannelReference(const SampleTable& samples, int upTo,
                                    std::array<qint16, kChannelTable>& reference)
{
    const int last = std::clamp(upTo, 0, samples.Columns() - 1);
    for (int ch = 0; ch < kChannelTable; ++ch) {
        const auto row = samples.Row(ch);
        reference[size_t(ch)] = *std::max_element(row.begin(), row.begin() + last + 1);
    }
}

} // namespace bandora
