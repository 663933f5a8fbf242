#pragma once

// What the acquisition cycle and the run control ask of the main window's
// live display. The display is built on the window's CycleState and reads
// the ring buffers, the column and the counts from it; it draws into
// retained pictures and repaints the screen at a capped rate, so every call
// here is cheap enough for any tick.
//
// When each is called (the tick steps as the cycle numbers them):
//
//   | call                  | by                                                        |
//   |-----------------------|-----------------------------------------------------------|
//   | ResetActivityPanel    | run start, before calibration and zero; after the device  |
//   |                       | test gives the activity panel back                        |
//   | ResetSignalPlot       | run start once calibration and zero are done, and window  |
//   |                       | activation after the ring buffers were re-created         |
//   | RedrawSignal          | tick step 4: TickCount = DSP_Interval, after the column   |
//   |                       | was read, before detection                                |
//   | DrawNewPoints         | tick step 6: PlotTicks > 1, after detection, before       |
//   |                       | Column moves on (calling it every tick is fine too)       |
//   | DrawActivityPanel     | tick step 6, with DrawNewPoints                           |
//   | ShowElapsed           | time keeping: every 25th column while running, every tick |
//   |                       | while paused, after the lapse test; and ShowElapsed(0, 0, |
//   |                       | Aq_lapse) at run start, which clears the time bar         |
//   | RunStarted            | run start, once RunStart is set, before the first tick    |
//   | BufferCycleCounted    | buffer-cycle end, once IntervalCount holds the whole      |
//   |                       | cycle's counts (zero mode: after the analysis)            |
//
// Nothing here talks to the instrument, changes the cycle's state or shows a
// message.

#include <QString>
#include <QtGlobal>

namespace bandora {

class LiveDisplay {
public:
    virtual ~LiveDisplay() = default;

    // Clears the activity panel to its axes, its title and an empty channel
    // bar.
    virtual void ResetActivityPanel() = 0;

    // Clears the signal plot and scales it to the cycle's RT_Buffer; the
    // trace starts again from column 0.
    virtual void ResetSignalPlot() = 0;

    // The whole signal plot of the selected channel, up to the column the
    // tick has just filled (CycleState::Column), with a zoomed trace's
    // reference taken again from the buffer.
    virtual void RedrawSignal() = 0;

    // The trace and level of the selected channel from the last column drawn
    // up to CycleState::Column, and the white sweep band ahead of it. A column
    // below the last one drawn means a new buffer cycle: the old pass is
    // finished first.
    virtual void DrawNewPoints() = 0;

    // The channel, well and group bars from CycleState::IntervalCount, the
    // temperature text ("0.0") and CycleState::TotalTicks samples.
    virtual void DrawActivityPanel(const QString& temperatureText) = 0;

    // Txt_time and the time bar: elapsedMs since RunStart, and the whole
    // minutes of it (ElapsedMinutes), against the programmed lapse Aq_lapse.
    // The bar follows the milliseconds, so it moves at every time keeping
    // and is full when the lapse ends. It is drawn afresh each time, so
    // (0, 0, lapse) clears it.
    virtual void ShowElapsed(qint64 elapsedMs, qint32 elapsedMinutes, qint16 aqLapse) = 0;

    // A run has started: the plate map forgets the last run's activity.
    virtual void RunStarted() {}

    // CycleState::IntervalCount holds the counts of the buffer cycle that
    // has just ended.
    virtual void BufferCycleCounted() {}
};

// Txt_time: the elapsed time as "hh:mm:ss [nd]", hours within the day and
// the whole days in brackets ("02:03:04 [1d]"). A negative time (the clock
// set back) shows as 0.
QString ElapsedTimeText(qint64 elapsedMs);

} // namespace bandora
