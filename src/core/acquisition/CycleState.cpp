#include "CycleState.h"

#include "core/link/Frames.h"

#include <algorithm>

namespace bandora {

void CycleState::Dimension(int rtBuffer)
{
    const int length = std::max(rtBuffer, kMinBuffer);
    for (SampleTable* table : {&Sample, &Level, &UpperLevel, &LastPeak, &LastValley})
        table->Resize(length);
    Column = 0;
}

void CycleState::ResetCounters()
{
    Column = 0;
    TickCount = 0;
    BlankTickCount = 0;
    TotalTicks = 0;
    WindowTick = 0;
    WindowToggle = 0;
    PlotTicks = 0;
}

void CycleState::StoreBlockColumn(const BeamBlock* block, int first)
{
    const int col = Column;
    if (!block && col <= 1)
        return;
    for (int s = 0; s < kBlockSamples; ++s) {
        const int ch = ChannelOfSample(first, s);
        Sample(ch, col) = block ? std::max<qint16>(block->samples[size_t(s)], 0) : Sample(ch, col - 1);
    }
}

void CycleState::ResetChannels()
{
    Sample.Fill(0);
    Level.Fill(0);
    BelowLevel.fill(false);
    PendingCount.fill(0);
    TotalCount.fill(0);
    IntervalCount.fill(0);
}

void CycleState::ResetBlankStatistics()
{
    BlankMax.fill(0);
    BlankMin.fill(10000);
    PendingCount.fill(0);
    TotalCount.fill(0);
    IntervalCount.fill(0);
}

} // namespace bandora
