#include "BeamDetection.h"

#include "core/common/Rounding.h"
#include "core/storage/PlateFormat.h"

#include <algorithm>
#include <cmath>

namespace bandora {

namespace {

constexpr qint16 kTotalCountCap = 10000;    // TotalCount stops rising here
constexpr qint16 kBlankMinStart = 10000;    // BlankMin before any sample
constexpr double kBlankMargin = 1.15;       // blank threshold: 15 % above the blank swing
constexpr int kMethod2Window = 10;          // method 2 levels on the last 10 ticks only
constexpr qint32 kSaturatedSignal = 1945;   // a mean signal this high asks for recalibration

void Count(CycleState& cycle, int ch)
{
    if (cycle.TotalCount[ch] < kTotalCountCap)
        ++cycle.TotalCount[ch];
    if (cycle.IntervalCount[ch] < 32767)
        ++cycle.IntervalCount[ch];
}

// The largest sample of the last `ticks` columns before col (0 when none).
qint16 RecentMax(const CycleState& cycle, int ch, int col, int ticks)
{
    const auto row = cycle.Sample.Row(ch);
    const int rt = cycle.RT_Buffer();
    qint16 highest = 0;
    for (int k = ticks; k >= 1; --k)
        highest = std::max(highest, row[WindowIndex(col, k, rt)]);
    return highest;
}

// The sum of the last three columns of a level table before col.
int RecentSum3(const SampleTable& table, int ch, int col, int rt)
{
    const auto row = table.Row(ch);
    return row[WindowIndex(col, 1, rt)] + row[WindowIndex(col, 2, rt)] + row[WindowIndex(col, 3, rt)];
}

// The blank reading's threshold: the swing of the beam on an empty plate,
// relative to its highest value, plus a margin; never below 1 %.
double BlankThreshold(qint16 blankMin, qint16 blankMax)
{
    const double thr = std::floor((1.0 - double(blankMin) / blankMax) * 100.0 * kBlankMargin) + 1.0;
    return std::max(thr, 1.0);
}

void NormalModeChannel(CycleState& cycle, const DetectionContext& ctx, int ch, TickDetection& result)
{
    const int col = cycle.Column;
    const int rt = cycle.RT_Buffer();
    const int interval = ctx.DSP_Interval;
    const int method = ctx.DSP_Method;
    const bool knownMethod = method >= 0 && method <= 2;
    double& thr = (*ctx.ChannelThreshold)[ch];
    auto level = cycle.Level.Row(ch);
    const qint16 s = cycle.Sample(ch, col);

    if (col == 0)
        cycle.IntervalCount[ch] = 0;

    if (*ctx.BlankReading) {
        cycle.BlankMax[ch] = std::max(cycle.BlankMax[ch], s);
        cycle.BlankMin[ch] = std::min(cycle.BlankMin[ch], s);
        // A beam that never gave a value keeps the threshold and level it had.
        if (cycle.BlankMax[ch] > 0 && cycle.BlankMin[ch] < kBlankMinStart) {
            thr = BlankThreshold(cycle.BlankMin[ch], cycle.BlankMax[ch]);
            level[col] = NearestInt16((100.0 - thr) / 100.0 * s);
        }
        if (cycle.BlankTickCount > ctx.Threshold_Counter) {
            *ctx.BlankReading = false;
            result.BlankReadingEnded = true;
            result.BlankEndChannel = ch;
        }
    } else if (method == 0 || method == 1) {
        // The level trails the recent peaks lowered by the threshold, smoothed
        // with the levels of the three ticks before.
        const qint16 highest = RecentMax(cycle, ch, col, interval);
        const int sum = RecentSum3(cycle.Level, ch, col, rt);
        level[col] = NearestInt16(((100.0 - thr) * highest / 100.0 + sum) / 4.0);
    } else if (method == 2) {
        const qint16 highest = RecentMax(cycle, ch, col, kMethod2Window);
        level[col] = NearestInt16((100.0 - thr) * highest / 100.0);
    } else {
        return; // no level and no count for a method this program does not know
    }

    // The first levels of a run had no past to trail: on the first tick that
    // has one, the window behind it takes that level too.
    if (cycle.TickCount == interval + 1 && interval >= 1) {
        if (col < interval) {
            const qint16 v = level[1];
            std::fill(level.begin(), level.begin() + col + 1, v);
        } else {
            const qint16 v = level[col - interval + 1];
            std::fill(level.begin() + (col - interval), level.begin() + col + 1, v);
        }
    }

    if (!knownMethod || cycle.TickCount <= 1.5 * interval)
        return;
    const qint16 l = level[col];
    if (method == 0) {
        if (s < l && !cycle.BelowLevel[ch]) {
            cycle.BelowLevel[ch] = true;
            cycle.PendingCount[ch] = 1;
        } else if (s >= l && cycle.BelowLevel[ch]) {
            cycle.BelowLevel[ch] = false;
        }
        // One score per window of DSP_Interval + 1 ticks, however often the
        // beam was interrupted in it.
        if (cycle.WindowTick >= interval) {
            if (cycle.PendingCount[ch] == 1)
                Count(cycle, ch);
            cycle.PendingCount[ch] = 0;
        }
    } else {
        if (s < l && !cycle.BelowLevel[ch]) {
            cycle.BelowLevel[ch] = true;
            Count(cycle, ch);
            cycle.PendingCount[ch] = 1;
        } else if (s >= l && cycle.BelowLevel[ch]) {
            cycle.BelowLevel[ch] = false;
            cycle.PendingCount[ch] = 0;
        }
    }
}

void ZeroModeChannel(CycleState& cycle, const DetectionContext& ctx, int ch)
{
    const int col = cycle.Column;
    const int rt = cycle.RT_Buffer();
    const double thr = (*ctx.ChannelThreshold)[ch];
    auto sample = cycle.Sample.Row(ch);
    auto level = cycle.Level.Row(ch);
    auto upper = cycle.UpperLevel.Row(ch);
    auto peak = cycle.LastPeak.Row(ch);
    auto valley = cycle.LastValley.Row(ch);
    const qint16 s = sample[col];

    // Start of a run or of a buffer cycle: the levels start from the sample
    // itself and the statistics of the buffer cycle start afresh.
    if (cycle.TickCount <= ctx.DSP_Interval || col < 2) {
        cycle.AmplitudeSum[ch] = 0;
        cycle.SignalSum[ch] = 0;
        cycle.StatTicks[ch] = 0;
        peak[col] = valley[col] = s;
        level[col] = NearestInt16((100.0 - thr) / 100.0 * s);
        upper[col] = NearestInt16((100.0 + thr) / 100.0 * s);
        return;
    }

    // A single sample that jumped above the upper level is a glitch, not the
    // beam: it becomes the mean of its neighbours. (The upper level of this
    // column is taken below, after the removal, from the cleaned window.)
    qint16& prev = sample[col - 1];
    if (prev > upper[col - 1] && prev > s && prev > sample[col - 2])
        prev = NearestInt16((s + sample[col - 2]) / 2.0);

    valley[col] = valley[col - 1];
    peak[col] = peak[col - 1];
    if (prev < sample[col - 2] && prev < s)
        valley[col] = prev;
    if (prev > sample[col - 2] && prev > s)
        peak[col] = prev;
    cycle.AmplitudeSum[ch] += peak[col] - valley[col];
    cycle.SignalSum[ch] += prev;
    cycle.StatTicks[ch] += 1;

    const qint16 highest = RecentMax(cycle, ch, col, ctx.DSP_Interval);
    const int sumLower = RecentSum3(cycle.Level, ch, col, rt);
    const int sumUpper = RecentSum3(cycle.UpperLevel, ch, col, rt);
    level[col] = NearestInt16(((100.0 - thr) / 100.0 * highest + sumLower) / 4.0);
    upper[col] = NearestInt16(((thr + 100.0) / 100.0 * highest + sumUpper) / 4.0);
}

} // namespace

DetectionContext DetectionContext::For(ProjectSetup& project, const PlateFormat& plate, bool& BlankReading)
{
    DetectionContext ctx;
    ctx.DSP_Method = project.DSP_Method;
    ctx.DSP_Interval = project.DSP_Interval;
    ctx.Threshold_Counter = project.Threshold_Counter;
    ctx.BlankReading = &BlankReading;
    ctx.ChannelThreshold = &project.ChannelThreshold;
    ctx.ChannelWell = &plate.ChannelWell;
    return ctx;
}

QString BlankReadingEndCaption(int channel)
{
    return QStringLiteral("Setting (") + QString::number(channel) + QStringLiteral(") OK...");
}

int WindowIndex(int col, int k, int rtBuffer)
{
    int idx = col - k;
    if (idx <= 0) {
        const int ring = std::max(rtBuffer - 1, 1);
        idx += ring;
        // Only a window longer than the buffer cycle wraps more than once.
        while (idx < 0)
            idx += ring;
    }
    return idx;
}

TickDetection DetectTick(CycleState& cycle, const DetectionContext& ctx)
{
    TickDetection result;
    if (!ctx.BlankReading || !ctx.ChannelThreshold || !ctx.ChannelWell)
        return result;
    for (int ch = 0; ch < kChannels; ++ch) {
        if (!ctx.AutoZero || *ctx.BlankReading) {
            if (cycle.TickCount > ctx.DSP_Interval)
                NormalModeChannel(cycle, ctx, ch, result);
        } else if ((*ctx.ChannelWell)[ch] >= 0) {
            ZeroModeChannel(cycle, ctx, ch);
        }
    }
    return result;
}

bool DetectBufferEnd(CycleState& cycle, const DetectionContext& ctx)
{
    if (!ctx.AutoZero || !ctx.BlankReading || *ctx.BlankReading || !ctx.ChannelThreshold || !ctx.ChannelWell)
        return false;
    bool recalibrationDue = false;
    for (int ch = 0; ch < kChannels; ++ch) {
        if ((*ctx.ChannelWell)[ch] < 0)
            continue;
        // The means of the buffer cycle: swing between peaks and valleys (D)
        // and signal (M). A beam that swings little for its level gets a
        // tight threshold.
        if (cycle.StatTicks[ch] > 0) {
            cycle.AmplitudeSum[ch] = qint32(RoundHalfEven(double(cycle.AmplitudeSum[ch]) / cycle.StatTicks[ch]));
            cycle.SignalSum[ch] = qint32(RoundHalfEven(double(cycle.SignalSum[ch]) / cycle.StatTicks[ch]));
        }
        const qint32 d = cycle.AmplitudeSum[ch];
        const qint32 m = cycle.SignalSum[ch];
        const double t = (m <= d || m <= 0) ? ctx.SnrThreshold * 100.0
                                            : (1.0 - double(m - d) / m) * 100.0 * ctx.SnrThreshold;
        (*ctx.ChannelThreshold)[ch] = std::max(t + 1.0, 1.0);

        // A beam near saturation whose receiver can still be turned down.
        if (m >= kSaturatedSignal && ctx.AutoCalibrate && ctx.Recording && ctx.CalPinHole && ctx.CalGain
            && ((*ctx.CalGain)[ch] != 0 || (*ctx.CalPinHole)[ch] > 1))
            recalibrationDue = true;

        const int n = cycle.Analyzer.AnalyzeChannel(cycle.Sample, ch, ctx.SnrThreshold, ctx.DSP_Method);
        cycle.IntervalCount[ch] = qint16(n);
        if (cycle.TotalCount[ch] < kTotalCountCap)
            cycle.TotalCount[ch] = qint16(cycle.TotalCount[ch] + n);
    }
    return recalibrationDue;
}

} // namespace bandora
