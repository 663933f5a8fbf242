#pragma once

// The acquisition cycle's own state: the ring buffers of samples and levels
// of every channel over one buffer cycle, the tick counters and the detection
// tables. It belongs to whoever drives the cycle (the main window) and lives
// as long as it; nothing here talks to the instrument or draws.

#include "core/analysis/ChannelAnalyzer.h"
#include "core/storage/ProjectSetup.h"
#include "core/storage/SampleTable.h"

#include <QtGlobal>

#include <array>

namespace bandora {

struct BeamBlock;

struct CycleState {
    // The smallest buffer cycle the ring buffers are built for: the window
    // index wraps on RT_Buffer - 1 columns, which must not be empty.
    static constexpr int kMinBuffer = 2;

    explicit CycleState(int rtBuffer = 500) { Dimension(rtBuffer); }

    // Sizes every ring buffer for buffer cycles of rtBuffer ticks (RT_Buffer)
    // and clears them: done when the window loads and when RT_Buffer changes.
    void Dimension(int rtBuffer);

    int RT_Buffer() const { return Sample.BufferLength(); }

    // Ring buffers by channel and column (0..RT_Buffer; column RT_Buffer is
    // never filled, so a real-time record carries it as zero).
    SampleTable Sample;     // raw beam values 0..4095
    SampleTable Level;      // lower level: a sample below it is an interrupted beam
    SampleTable UpperLevel; // upper level, zero mode; kept from run to run
    SampleTable LastPeak;   // zero mode: last strict local maximum, carried forward
    SampleTable LastValley; // zero mode: last strict local minimum, carried forward

    // Tick counters.
    qint16 Column = 0;         // column this tick fills, 0..RT_Buffer-1
    qint32 TickCount = 0;      // ticks since the run (or resume) started
    qint32 BlankTickCount = 0; // ticks since the run or the blank reading started
    qint32 TotalTicks = 0;
    qint16 WindowTick = 0;     // 0..DSP_Interval: phase of the binary window
    qint16 WindowToggle = 0;   // flipped at the end of each binary window
    qint16 PlotTicks = 0;

    // Detection, per channel 0..384.
    std::array<bool, kChannelTable> BelowLevel{};
    std::array<qint16, kChannelTable> PendingCount{};  // method 0: a crossing not yet scored
    std::array<qint16, kChannelTable> TotalCount{};    // counts of the run, capped at 10000
    std::array<qint16, kChannelTable> IntervalCount{}; // counts of this buffer cycle; [384] = temperature
    std::array<qint16, kChannelTable> BlankMax{};
    std::array<qint16, kChannelTable> BlankMin{};
    std::array<qint32, kChannelTable> AmplitudeSum{};  // zero mode statistics of the buffer cycle
    std::array<qint32, kChannelTable> SignalSum{};
    std::array<qint32, kChannelTable> StatTicks{};

    // The analysis run on every used channel at a zero-mode buffer-cycle end;
    // its working tables are allocated once, here.
    ChannelAnalyzer Analyzer;

    // The counters of a run or blank-reading start: column and ticks to 0,
    // the binary window to its start.
    void ResetCounters();

    // Column `Column` of the 96 beams of the block whose first channel is
    // `first`: its samples, a value below zero read as zero. A block that did
    // not come (null) repeats the column before, so a dropped reply looks like
    // a still beam rather than an interruption.
    void StoreBlockColumn(const BeamBlock* block, int first);

    // Run start: samples, lower levels and counts of every channel to 0.
    // The upper levels stay as the previous run left them.
    void ResetChannels();

    // Blank-reading start: extremes to 0 and 10000, the counts to 0.
    void ResetBlankStatistics();
};

} // namespace bandora
