#pragma once

// One tick of the acquisition cycle on the column its beams have just filled:
// the detection, then the counters as a run moves them (column, binary
// window, plot and tick counts), with the window's work at its fixed points.
// The main window's run, the display demonstration, the tests and the
// benchmarks all tick through here; each says what its steps do.

#include "BeamDetection.h"

#include <functional>

namespace bandora {

// What the tick asks of whoever drives it. A step left empty is skipped.
struct TickSteps {
    std::function<void()> RedrawSignal;                 // the tick on which the first window is full
    std::function<void(int channel)> BlankReadingEnded; // the detection ended the blank reading
    std::function<void()> Draw;                         // new trace points, every second tick
    // Column back to 0 (a buffer cycle ended), then every 25th column; false
    // ends the tick there (the run stopped or a record failed).
    std::function<bool()> BufferCycleEnd;
    std::function<bool()> TimeKeeping;
};

// Columns between two time keepings.
constexpr int kTimeKeepingColumns = 25;

TickDetection RunTick(CycleState& cycle, const DetectionContext& ctx, const TickSteps& steps);

} // namespace bandora
