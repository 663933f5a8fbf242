#pragma once

// Beam signals for the benchmarks: each channel holds a steady level between
// 1500 and 2000 with receiver noise, and an organism interrupts it now and
// then for a few ticks, as on a plate of active larvae.

#include "core/storage/SampleTable.h"

#include <random>

namespace bandora::bench {

inline SampleTable BeamSignals(int rtBuffer, unsigned seed = 7)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> level(1500, 2000);
    std::uniform_int_distribution<int> noise(-15, 15);
    std::uniform_int_distribution<int> chance(0, 99);
    std::uniform_int_distribution<int> length(3, 15);
    SampleTable table(rtBuffer);
    for (int ch = 0; ch < kChannelTable - 1; ++ch) {
        const int base = level(rng);
        int dipLeft = 0;
        for (int s = 0; s < rtBuffer; ++s) {
            if (dipLeft == 0 && chance(rng) == 0)
                dipLeft = length(rng);
            int v = base + noise(rng);
            if (dipLeft > 0) {
                v = v / 2;
                --dipLeft;
            }
            table(ch, s) = qint16(v);
        }
    }
    return table;
}

} // namespace bandora::bench
