#pragma once

// Beam level detection and activity counting, run by the acquisition cycle
// on the column it has just filled. A moving organism interrupts a beam and
// its raw value drops; one count is one passage of the signal below the
// beam's level.
//
//   - blank reading: learns each beam's threshold from its extremes on an
//     empty plate, over Threshold_Counter ticks;
//   - normal mode (AutoZero off): a level per tick after DSP_Method, and a
//     count per passage below it (method 0: at most one per window);
//   - zero mode (AutoZero on): an upper and a lower level per tick, and the
//     counting left to ChannelAnalyzer at the end of each buffer cycle.

#include "CycleState.h"

#include <QString>

#include <array>

namespace bandora {

struct PlateFormat;

// What the detection reads from the project, the plate and the run state,
// gathered by the cycle, and the tables it writes back.
struct DetectionContext {
    qint16 DSP_Method = 1;
    qint16 DSP_Interval = 30;
    qint16 Threshold_Counter = 300;
    bool AutoZero = false;
    bool AutoCalibrate = false;
    bool Recording = false;
    double SnrThreshold = 1.8;

    bool* BlankReading = nullptr;                              // cleared when the blank reading ends
    std::array<double, kChannelTable>* ChannelThreshold = nullptr; // learned here, in percent
    const std::array<qint16, kChannelTable>* ChannelWell = nullptr; // < 0: channel not on the plate
    // The receiver settings of the calibration, for the zero mode's check that
    // a saturated beam can still be turned down; none: no recalibration.
    const std::array<qint16, kChannelTable>* CalPinHole = nullptr;
    const std::array<qint16, kChannelTable>* CalGain = nullptr;

    // The project's settings and tables and the plate's channel map; the run
    // flags (AutoZero, Recording, ...) are left for the cycle to set.
    static DetectionContext For(ProjectSetup& project, const PlateFormat& plate, bool& BlankReading);
};

// What one tick's detection asks of the cycle.
struct TickDetection {
    // The blank reading ended on this tick: the cycle stops its timer and
    // shows BlankReadingEndCaption(BlankEndChannel) meanwhile.
    bool BlankReadingEnded = false;
    int BlankEndChannel = -1;
};

// "Setting (0) OK...": the caption shown as the blank reading ends.
QString BlankReadingEndCaption(int channel);

// The column k ticks back from col: at or before column 0 it wraps to the end
// of the previous buffer cycle, so column 0 itself is read as RT_Buffer - 1.
int WindowIndex(int col, int k, int rtBuffer);

// Detection and counting of channels 0..383 at the column the cycle has just
// filled (cycle.Column), once per running tick. While a blank reading runs it
// takes precedence over the zero mode, so that it always ends.
TickDetection DetectTick(CycleState& cycle, const DetectionContext& ctx);

// The buffer-cycle end, zero mode only (otherwise nothing): per used channel
// the threshold from the cycle's statistics, then ChannelAnalyzer's count into
// IntervalCount and TotalCount; the analysis may clip Sample, which the
// real-time record written afterwards keeps. Returns whether a saturated beam
// asks for the automatic recalibration.
bool DetectBufferEnd(CycleState& cycle, const DetectionContext& ctx);

} // namespace bandora
