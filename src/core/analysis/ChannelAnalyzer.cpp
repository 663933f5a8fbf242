#include "ChannelAnalyzer.h"

#include "core/common/Rounding.h"

#include <algorithm>
#include <cmath>

namespace bandora {

namespace {

constexpr int kEnvelopeWindow = 30;  // upper-envelope values behind the clip and level curves
constexpr int kBaselineWindow = 50;  // width of the baseline minimum and its average
constexpr int kSmoothWindow = 10;    // width of the smoothing of the baseline-free signal
constexpr int kBinaryWindow = 30;    // method 0 scores at most once per window
constexpr int kStretchSteps = 10;    // method 2 scores a move at this step after a turn
constexpr qint16 kMinAmplitudeLimit = 5;

// nearest() of a value bound for a 16-bit table, as NearestInt16 but kept in
// a double: the clip and level curves feed each value into the next, and
// staying in doubles (which hold these whole numbers exactly) keeps that
// chain short. Inside the 16-bit range the processor's round-to-nearest-even
// does the rounding.
inline double Nearest16(double x)
{
    constexpr double kShifter = 6755399441055744.0; // 1.5 x 2^52
    if (x > -32768.0 && x < 32767.0)
        return (x + kShifter) - kShifter;
    return NearestInt16(x);
}

// nearest(sum / count) of whole numbers, exactly.
inline qint16 NearestRatio(qint32 sum, qint32 count)
{
    qint32 q = sum / count;
    qint32 r = sum % count;
    if (r < 0) {
        r += count;
        --q;
    }
    // Without a branch: whether to round up is as random as the beam.
    q += int(2 * r > count) | (int(2 * r == count) & (q & 1));
    return qint16(std::clamp<qint32>(q, -32768, 32767));
}

// Threshold in percent from the mean envelope amplitude and mean signal:
// the flatter the beam, the tighter the threshold. Never below 1 %.
double ThresholdFrom(double t)
{
    return std::max(t + 1.0, 1.0);
}

} // namespace

int ChannelAnalyzer::AnalyzeChannel(SampleTable& samples, int ch, double factor, int method)
{
    if (ch < 0 || ch >= kChannelTable || samples.Columns() == 0)
        return 0;
    return AnalyzeChannel(samples.Row(ch).first(size_t(samples.BufferLength())), factor, method);
}

int ChannelAnalyzer::AnalyzeChannel(std::span<qint16> samples, double factor, int method)
{
    const int n = int(std::min<size_t>(samples.size(), kAnalysisSamples));
    if (n < kMinAnalysisSamples)
        return 0;
    qint16* s = samples.data();

    // A first threshold from the raw buffer sets how far above its recent
    // peaks a value may go before it counts as a spike and is cut.
    const Means raw = TakeEnvelopes(s, n, s[1]);
    detail_.RawAmplitude = raw.amplitude;
    detail_.RawSignal = raw.signal;
    double t = factor;
    if (raw.signal > 0)
        t = (1.0 - double(raw.signal - raw.amplitude) / raw.signal) * 100.0 * factor;
    detail_.RawThreshold = ThresholdFrom(t);
    AverageEnvelopeWindows(n);
    ClipSpikes(s, n, detail_.RawThreshold);

    // The threshold that counts is learned again from the clipped buffer.
    const Means clipped = TakeEnvelopes(s, n, s[2]);
    detail_.Amplitude = clipped.amplitude;
    detail_.Signal = clipped.signal;
    t = factor;
    if (clipped.signal > 0 && clipped.signal > clipped.amplitude)
        t = (1.0 - double(clipped.signal - clipped.amplitude) / clipped.signal) * 100.0 * factor;
    detail_.Threshold = ThresholdFrom(t);
    detail_.AmplitudeLimit =
        std::max(NearestInt16(double(clipped.amplitude)), kMinAmplitudeLimit);

    if (method == 2)
        return CountBaselineMethod(s, n, detail_.AmplitudeLimit);
    if (method == 0 || method == 1) {
        AverageEnvelopeWindows(n);
        return CountLevelMethod(s, n, detail_.Threshold, method);
    }
    return 0;
}

// Upper and lower envelopes hold the last strict local maximum and minimum;
// their mean distance is the beam's typical swing, compared with its mean level.
ChannelAnalyzer::Means ChannelAnalyzer::TakeEnvelopes(const qint16* s, int n, qint16 start)
{
    upper_[0] = lower_[0] = upper_[1] = lower_[1] = start;
    qint16 up = start;
    qint16 low = start;
    qint64 sumAmplitude = 0;
    qint64 sumSignal = 0;
    int count = 0;
    for (int i = 2; i <= n - 2; ++i) {
        const qint16 before = s[i - 1], here = s[i], after = s[i + 1];
        // Written as selections: on a noisy beam extremes come at random.
        low = (here < before && here < after) ? here : low;
        up = (here > before && here > after) ? here : up;
        upper_[i] = up;
        lower_[i] = low;
        sumAmplitude += up - low;
        sumSignal += here;
        ++count;
    }
    Means means;
    if (count > 0) {
        means.amplitude = qint32(RoundHalfEven(double(sumAmplitude) / count));
        means.signal = qint32(RoundHalfEven(double(sumSignal) / count));
    }
    return means;
}

// For each sample, the mean of the 30 upper-envelope values before it; the
// first 30 samples have no such past and take the 30 values after them.
// Kept as running sums of whole numbers, so the result is exact.
void ChannelAnalyzer::AverageEnvelopeWindows(int n)
{
    qint32 ahead = 0;
    for (int k = 1; k <= kEnvelopeWindow; ++k)
        ahead += upper_[k];
    for (int i = 0; i < kEnvelopeWindow && i < n; ++i) {
        envMean_[i] = NearestRatio(ahead, kEnvelopeWindow);
        ahead += upper_[i + kEnvelopeWindow + 1] - upper_[i + 1];
    }
    qint32 behind = 0;
    for (int k = 0; k < kEnvelopeWindow; ++k)
        behind += upper_[k];
    for (int i = kEnvelopeWindow; i < n; ++i) {
        envMean_[i] = NearestRatio(behind, kEnvelopeWindow);
        behind += upper_[i] - upper_[i - kEnvelopeWindow];
    }
}

// The clip level follows the recent peaks raised by the first threshold;
// anything above it (a flash, a bubble, a glitch of the receiver) is cut.
void ChannelAnalyzer::ClipSpikes(qint16* s, int n, double threshold)
{
    double c1 = 0, c2 = 0, c3 = 0; // the clip levels of the three samples before
    for (int i = 0; i < n; ++i) {
        const double a = envMean_[i];
        const double c = i > 3 ? Nearest16((c1 + (c2 + c3) + (threshold + 100.0) * a / 100.0) * 0.25)
                               : Nearest16((threshold + 100.0) / 100.0 * a);
        clip_[i] = qint16(c);
        if (s[i] > c)
            s[i] = qint16(c);
        c3 = c2;
        c2 = c1;
        c1 = c;
    }
}

// Methods 0 and 1: the level trails the recent peaks lowered by the threshold
// (more at the very start, where no level has built up yet). Method 1 counts
// every passage below it; method 0 at most one per window, the first window
// being samples 0..30 and every later one 30 samples long.
int ChannelAnalyzer::CountLevelMethod(const qint16* s, int n, double threshold, int method)
{
    auto& level = AnalysisLevel;
    int count = 0;
    bool below = false;
    int w = 0;
    double l1 = 0, l2 = 0, l3 = 0; // the levels of the three samples before
    for (int i = 0; i < n; ++i) {
        const double a = envMean_[i];
        const double l = i > 3 ? Nearest16((l1 + (l2 + l3) + (100.0 - threshold) * a / 100.0) * 0.25)
                               : Nearest16((100.0 - 1.75 * threshold) / 100.0 * a);
        level[i] = qint16(l);
        l3 = l2;
        l2 = l1;
        l1 = l;

        if (method == 0) {
            if (s[i] < level[i])
                below = true;
            if (w == kBinaryWindow && below) {
                ++count;
                below = false;
            }
        } else {
            if (s[i] < level[i] && !below) {
                below = true;
                ++count;
            }
            if (s[i] > level[i])
                below = false;
        }
        if (w == kBinaryWindow)
            w = 0;
        ++w;
    }
    return count;
}

// Method 2: the baseline is the running minimum of the beam, averaged; what
// is left, smoothed, must keep moving one way for ten steps after a turn and
// have moved more than the amplitude limit by then to count as an event.
int ChannelAnalyzer::CountBaselineMethod(const qint16* s, int n, qint16 limit)
{
    auto& b = baseline_;
    auto& d = smooth_;
    // Windows look ahead, except near the end of the buffer where they look back.
    const int lastAhead = n - kBaselineWindow - 1;  // 449 for 500 samples
    auto windowStart = [&](int i) { return i < lastAhead ? i : i - (kBaselineWindow - 1); };

    // The minimum of each 50-sample window from running minima within blocks
    // of 50: a window spans the end of one block and the start of the next.
    auto& fromStart = clip_;  // the clip levels are not needed any more
    auto& toEnd = upper_;
    for (int j = 0; j < n; ++j)
        fromStart[j] = j % kBaselineWindow == 0 ? s[j] : std::min(fromStart[j - 1], s[j]);
    for (int j = n - 1; j >= 0; --j)
        toEnd[j] = (j % kBaselineWindow == kBaselineWindow - 1 || j == n - 1) ? s[j]
                                                                              : std::min(toEnd[j + 1], s[j]);
    for (int i = 0; i < n; ++i) {
        const int first = windowStart(i);
        const qint16 lowest = std::min(toEnd[first], fromStart[first + kBaselineWindow - 1]);
        b[i] = std::min(9999.0, double(lowest));
    }
    // The average is taken in place: the look-ahead windows read values not
    // yet averaged (kept as an exact running sum of whole numbers), the
    // look-back windows at the end read values already averaged.
    double ahead = 0;
    for (int j = 0; j < kBaselineWindow; ++j)
        ahead += b[j];
    for (int i = 0; i < n; ++i) {
        if (i < lastAhead) {
            const double mean = ahead / kBaselineWindow;
            ahead += b[i + kBaselineWindow] - b[i];
            b[i] = mean;
        } else {
            double sum = 0;
            for (int j = i - (kBaselineWindow - 1); j <= i; ++j)
                sum += b[j];
            b[i] = sum / kBaselineWindow;
        }
    }
    for (int i = 0; i < n; ++i)
        b[i] = s[i] - b[i];
    // Each mean adds its ten values in order (so the rounding is always the
    // same); a fixed count lets consecutive means be summed side by side.
    const int lastSmoothAhead = n - kSmoothWindow - 1;  // 489 for 500 samples
    for (int i = 0; i < n; ++i) {
        const double* window = b.data() + (i < lastSmoothAhead ? i : i - (kSmoothWindow - 1));
        double sum = 0;
        for (int j = 0; j < kSmoothWindow; ++j)
            sum += window[j];
        d[i] = sum / kSmoothWindow;
    }

    int count = 0;
    int run = 0;
    qint16 peak = 0;
    bool falling = true;
    for (int i = 1; i < n; ++i) {
        const bool moved = d[i] != d[i - 1];
        if (d[i] < d[i - 1]) {
            if (falling) {
                ++run;
            } else {
                run = 0;
                falling = true;
                peak = NearestInt16(d[i]);
            }
        } else if (d[i] > d[i - 1]) {
            if (!falling) {
                ++run;
            } else {
                run = 0;
                falling = false;
                peak = NearestInt16(d[i]);
            }
        }
        // Scored on the step that makes the tenth, not again on the flat
        // samples after it: a move that pauses is still one event.
        if (moved && run == kStretchSteps && std::abs(peak - d[i]) > limit)
            ++count;
        AnalysisLevel[i] = NearestInt16(d[i] - limit);
    }
    return count;
}

} // namespace bandora
