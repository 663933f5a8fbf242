#include "CycleTick.h"

namespace bandora {

TickDetection RunTick(CycleState& c, const DetectionContext& ctx, const TickSteps& steps)
{
    if (c.TickCount == ctx.DSP_Interval && steps.RedrawSignal)
        steps.RedrawSignal();
    const TickDetection detected = DetectTick(c, ctx);
    if (detected.BlankReadingEnded && steps.BlankReadingEnded)
        steps.BlankReadingEnded(detected.BlankEndChannel);
    if (c.PlotTicks > 1) {
        if (steps.Draw)
            steps.Draw();
        c.PlotTicks = 0;
    }
    ++c.BlankTickCount;
    ++c.Column;
    if (c.Column >= c.RT_Buffer()) {
        c.Column = 0;
        if (steps.BufferCycleEnd && !steps.BufferCycleEnd())
            return detected;
    }
    if (c.Column % kTimeKeepingColumns == 0 && steps.TimeKeeping && !steps.TimeKeeping())
        return detected;
    ++c.PlotTicks;
    if (c.WindowTick >= ctx.DSP_Interval) {
        c.WindowTick = 0;
        c.WindowToggle = c.WindowToggle == 0 ? 1 : 0;
    } else {
        ++c.WindowTick;
    }
    ++c.TotalTicks;
    ++c.TickCount;
    return detected;
}

} // namespace bandora
