#pragma once

// The activity analysis of one beam over one buffer of raw values: it learns
// the beam's own threshold from the buffer, cuts upward spikes, builds a level
// curve and counts the passages of the signal below it. The live zero mode
// runs it on every used channel at each buffer-cycle end; the offline channel
// view and the report re-analysis run it on recorded buffers.
//
// The analysis covers the first 500 values of the buffer (one buffer cycle of
// the standard 500 ticks). A shorter buffer cycle (RT_Buffer 200..499) is
// analysed over its own length with the same windows; a buffer too short for
// those windows is not analysed at all.

#include "core/storage/SampleTable.h"

#include <QtGlobal>

#include <array>
#include <span>

namespace bandora {

constexpr int kAnalysisSamples = 500;     // values of one standard buffer cycle
constexpr int kMinAnalysisSamples = 100;  // shortest buffer the windows fit in

// The figures the analysis learned from the last buffer, for the offline view
// and for tests: mean envelope amplitude D, mean signal M and the threshold
// in percent, first on the raw buffer and then on the clipped one.
struct AnalysisDetail {
    qint32 RawAmplitude = 0;
    qint32 RawSignal = 0;
    double RawThreshold = 0.0;
    qint32 Amplitude = 0;
    qint32 Signal = 0;
    double Threshold = 0.0;
    qint16 AmplitudeLimit = 0; // the least move the baseline method counts
};

// Holds the working tables of the analysis, so that a call allocates nothing.
// One analyser serves one caller (the acquisition cycle, the offline window,
// the report); AnalysisLevel is the level curve of the channel it analysed last.
class ChannelAnalyzer {
public:
    // The level curve of the last analysed channel: for methods 0 and 1 the
    // level the signal was compared with, for method 2 the smoothed signal
    // less its baseline and the amplitude limit. Entries beyond the analysed
    // length (and entry 0 for method 2) keep their earlier values.
    std::array<qint16, kAnalysisSamples + 1> AnalysisLevel{};

    // Counts the events of channel ch of the table with the sensitivity
    // factor (SnrThreshold live) and DSP_Method method: 0 "Threshold+Binary",
    // 1 "Threshold Avrg", 2 baseline subtraction. Values of that channel above
    // the clip level are lowered in the caller's table. Any other method, a
    // channel outside 0..384 or a buffer too short counts 0.
    int AnalyzeChannel(SampleTable& samples, int ch, double factor, int method);

    // The same on one beam's buffer held by the caller.
    int AnalyzeChannel(std::span<qint16> samples, double factor, int method);

    const AnalysisDetail& Detail() const { return detail_; }

private:
    struct Means {
        qint32 amplitude = 0;
        qint32 signal = 0;
    };

    Means TakeEnvelopes(const qint16* s, int n, qint16 start);
    void AverageEnvelopeWindows(int n);
    void ClipSpikes(qint16* s, int n, double threshold);
    int CountBaselineMethod(const qint16* s, int n, qint16 limit);
    int CountLevelMethod(const qint16* s, int n, double threshold, int method);

    using Table16 = std::array<qint16, kAnalysisSamples + 1>;
    using TableF = std::array<double, kAnalysisSamples + 1>;
    Table16 upper_{};    // upper envelope: the last local maximum
    Table16 lower_{};    // lower envelope: the last local minimum
    Table16 clip_{};     // clip level of the spike cutting
    Table16 envMean_{};  // mean of the 30 upper-envelope values around each sample
    TableF baseline_{};
    TableF smooth_{};
    AnalysisDetail detail_;
};

} // namespace bandora
