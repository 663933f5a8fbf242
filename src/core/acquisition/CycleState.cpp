#include "CycleState.h"

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
    LastBlock = 127;
    WindowTick = 0;
    WindowToggle = 0;
    PlotTicks = 0;
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
