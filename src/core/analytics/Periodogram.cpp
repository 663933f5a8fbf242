#include "Periodogram.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace bandora {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Regularised upper incomplete gamma function Q(a, x): the series for small
// x, Lentz's continued fraction beyond.
double UpperGamma(double a, double x)
{
    if (x <= 0.0)
        return 1.0;
    const double lead = a * std::log(x) - x - std::lgamma(a);
    if (x < a + 1.0) {
        double term = 1.0 / a, sum = term;
        for (int n = 1; n < 1000 && std::abs(term) > std::abs(sum) * 1e-16; ++n) {
            term *= x / (a + n);
            sum += term;
        }
        return std::max(0.0, 1.0 - sum * std::exp(lead));
    }
    constexpr double tiny = 1e-300;
    double b = x + 1.0 - a, c = 1.0 / tiny, d = 1.0 / b, h = d;
    for (int i = 1; i < 1000; ++i) {
        const double an = -i * (i - a);
        b += 2.0;
        d = an * d + b;
        if (std::abs(d) < tiny)
            d = tiny;
        c = b + an / c;
        if (std::abs(c) < tiny)
            c = tiny;
        d = 1.0 / d;
        const double delta = d * c;
        h *= delta;
        if (std::abs(delta - 1.0) < 1e-16)
            break;
    }
    return std::exp(lead) * h;
}

// Solves f(z) = target for a decreasing f on [lo, hi] by bisection.
template <typename F> double Bisect(F f, double target, double lo, double hi)
{
    for (int i = 0; i < 200 && hi - lo > 1e-12 * std::max(1.0, hi); ++i) {
        const double mid = 0.5 * (lo + hi);
        (f(mid) > target ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

double Variance(std::span<const double> x, double& mean)
{
    mean = 0.0;
    for (double v : x)
        mean += v;
    mean /= double(x.size());
    double ss = 0.0;
    for (double v : x)
        ss += (v - mean) * (v - mean);
    return ss;
}

// The highest power above its threshold. Neighbouring periods can share
// their number of columns and so their Qp; the tie goes to the period that
// the columns span exactly.
int HighestAboveThreshold(const Periodogram& p, const std::vector<double>& periods)
{
    auto mismatch = [&](size_t i) {
        const double samples = periods[i] / PeriodogramEngine::kSampleHours;
        return std::abs(samples - std::round(samples));
    };
    int best = -1;
    for (size_t i = 0; i < p.Power.size(); ++i) {
        if (!(p.Power[i] > p.Threshold[i]))
            continue;
        const size_t b = size_t(best);
        const bool tie = best >= 0 && std::abs(p.Power[i] - p.Power[b]) <= 1e-12 * std::abs(p.Power[b]);
        if (best < 0 || (tie ? mismatch(i) < mismatch(b) : p.Power[i] > p.Power[b]))
            best = int(i);
    }
    return best;
}

} // namespace

QString PeriodMethodName(PeriodMethod method)
{
    return method == PeriodMethod::ChiSquare ? QStringLiteral("chi_square") : QStringLiteral("lomb_scargle");
}

std::vector<double> PeriodsTested(const AnalyticsOptions& o)
{
    std::vector<double> periods;
    const int count = int(std::floor((o.PeriodMaxHours - o.PeriodMinHours) / o.PeriodStepHours + 1e-9)) + 1;
    for (int i = 0; i < count; ++i)
        periods.push_back(std::round((o.PeriodMinHours + i * o.PeriodStepHours) * 1e9) / 1e9);
    return periods;
}

double ChiSquareUpperTail(double x, double df) { return UpperGamma(0.5 * df, 0.5 * x); }

double ChiSquareUpperQuantile(double p, double df)
{
    double hi = df + 10.0;
    while (ChiSquareUpperTail(hi, df) > p)
        hi *= 2.0;
    return Bisect([df](double x) { return ChiSquareUpperTail(x, df); }, p, 0.0, hi);
}

double ChiSquareQp(std::span<const double> x, int columns)
{
    const size_t n = x.size();
    if (columns < 1 || n == 0)
        return kNaN;
    double mean = 0.0;
    const double ss = Variance(x, mean);
    if (!(ss > 0.0))
        return kNaN;
    std::vector<double> sum(size_t(columns), 0.0);
    std::vector<int> count(size_t(columns), 0);
    for (size_t i = 0; i < n;)
        for (int h = 0; h < columns && i < n; ++h, ++i) {
            sum[size_t(h)] += x[i];
            ++count[size_t(h)];
        }
    double between = 0.0;
    for (int h = 0; h < columns; ++h)
        if (count[size_t(h)] > 0) {
            const double d = sum[size_t(h)] / count[size_t(h)] - mean;
            between += d * d;
        }
    return double(n) * double(n) / columns * between / ss;
}

double BaluevFalseAlarm(double z, int n, double dtHours, double fmaxPerHour)
{
    if (z <= 0.0)
        return 1.0;
    if (z >= 1.0)
        return 0.0;
    const double nh = n - 1.0, nk = n - 3.0;
    // The weighted variance of evenly spaced times: dt^2 (n^2 - 1) / 12.
    const double dt2 = dtHours * dtHours * (double(n) * n - 1.0) / 12.0;
    const double w = fmaxPerHour * std::sqrt(4.0 * std::numbers::pi * dt2);
    const double gamma = std::sqrt(2.0 / nh) * std::exp(std::lgamma(nh / 2.0) - std::lgamma((nh - 1.0) / 2.0));
    const double tau = gamma * w * std::pow(1.0 - z, 0.5 * (nk - 1.0)) * std::sqrt(0.5 * nh * z);
    // 1 - (1 - single) e^-tau, written to keep its precision for strong peaks.
    const double single = std::pow(1.0 - z, 0.5 * nk);
    return std::clamp(-std::expm1(-tau) + single * std::exp(-tau), 0.0, 1.0);
}

PeriodogramEngine::PeriodogramEngine(std::vector<double> periods, double alpha, int samples)
    : periods_(std::move(periods)), alpha_(alpha), samples_(samples)
{
    const size_t np = periods_.size(), n = size_t(samples);
    const double corrected = 1.0 - std::pow(1.0 - alpha, 1.0 / double(std::max<size_t>(np, 1)));
    columns_.resize(np);
    chiThreshold_.resize(np);
    for (size_t j = 0; j < np; ++j) {
        columns_[j] = int(std::lround(periods_[j] / kSampleHours));
        chiThreshold_[j] = ChiSquareUpperQuantile(corrected, columns_[j]);
    }
    if (samples < 4)
        return;
    const double fmax = 1.0 / *std::min_element(periods_.begin(), periods_.end());
    lombThreshold_ = Bisect([&](double z) { return BaluevFalseAlarm(z, samples, kSampleHours, fmax); }, alpha, 0.0, 1.0);

    // tau and the trigonometric sums depend on the times alone, which all
    // subjects of an experiment share.
    cos_.resize(np * n);
    sin_.resize(np * n);
    cc_.resize(np);
    ss_.resize(np);
    for (size_t j = 0; j < np; ++j) {
        const double omega = 2.0 * std::numbers::pi / periods_[j];
        double s2 = 0.0, c2 = 0.0;
        for (size_t i = 0; i < n; ++i) {
            const double a = 2.0 * omega * double(i) * kSampleHours;
            s2 += std::sin(a);
            c2 += std::cos(a);
        }
        const double tau = std::atan2(s2, c2) / (2.0 * omega);
        double cc = 0.0, ss = 0.0;
        for (size_t i = 0; i < n; ++i) {
            const double a = omega * (double(i) * kSampleHours - tau);
            const double c = std::cos(a), s = std::sin(a);
            cos_[j * n + i] = c;
            sin_[j * n + i] = s;
            cc += c * c;
            ss += s * s;
        }
        cc_[j] = cc;
        ss_[j] = ss;
    }
}

SubjectPeriodograms PeriodogramEngine::Analyse(const QString& subject, std::span<const double> x) const
{
    SubjectPeriodograms out;
    out.Subject = subject;
    const double longest = periods_.empty() ? 0.0 : *std::max_element(periods_.begin(), periods_.end());
    if (x.empty()) {
        out.Refusal = QStringLiteral("no recorded minutes");
        return out;
    }
    if (double(x.size()) * kSampleHours < 2.0 * longest || int(x.size()) != samples_ || samples_ < 4) {
        out.Refusal = QStringLiteral("recording shorter than two cycles of %1 h").arg(longest, 0, 'f', 1);
        return out;
    }
    double mean = 0.0;
    const double ss = Variance(x, mean);
    if (!(ss > 1e-12 * std::max(1.0, mean * mean) * double(x.size()))) {
        out.Refusal = QStringLiteral("constant activity");
        return out;
    }

    const size_t np = periods_.size(), n = x.size();
    std::vector<double> y(n);
    for (size_t i = 0; i < n; ++i)
        y[i] = x[i] - mean;
    for (Periodogram* p : {&out.Chi, &out.Lomb}) {
        p->Power.resize(np);
        p->Threshold.resize(np);
        p->PValue.resize(np);
    }
    const double fmax = 1.0 / *std::min_element(periods_.begin(), periods_.end());
    for (size_t j = 0; j < np; ++j) {
        const double qp = ChiSquareQp(x, columns_[j]);
        out.Chi.Power[j] = qp;
        out.Chi.Threshold[j] = chiThreshold_[j];
        out.Chi.PValue[j] = ChiSquareUpperTail(qp, columns_[j]);

        const double* c = cos_.data() + j * n;
        const double* s = sin_.data() + j * n;
        double yc = 0.0, ys = 0.0;
        for (size_t i = 0; i < n; ++i) {
            yc += y[i] * c[i];
            ys += y[i] * s[i];
        }
        const double power = std::clamp((yc * yc / cc_[j] + ys * ys / ss_[j]) / ss, 0.0, 1.0);
        out.Lomb.Power[j] = power;
        out.Lomb.Threshold[j] = lombThreshold_;
        out.Lomb.PValue[j] = BaluevFalseAlarm(power, int(n), kSampleHours, fmax);
    }
    out.Chi.Peak = HighestAboveThreshold(out.Chi, periods_);
    out.Lomb.Peak = HighestAboveThreshold(out.Lomb, periods_);
    return out;
}

std::vector<double> QuarterHourSamples(const MinuteSeries& s, std::span<const double> perSample)
{
    constexpr qint64 kBin = 15;
    if (s.Samples == 0)
        return {};
    const qint64 first = s.ZtMinute(0) / kBin;
    const qint64 last = s.ZtMinute(s.SampleMinute(s.Samples - 1)) / kBin;
    std::vector<double> sum(size_t(last - first + 1), 0.0);
    std::vector<int> count(sum.size(), 0);
    for (qint64 k = 0; k < s.Samples; ++k) {
        if (!s.IsPresent(k))
            continue;
        const size_t b = size_t(s.ZtMinute(s.SampleMinute(k)) / kBin - first);
        sum[b] += perSample[size_t(k)] / s.Resolution; // a sample holds Resolution minutes
        ++count[b];
    }
    // The ends without data are left out; gaps inside are bridged.
    size_t a = 0, b = sum.size();
    while (a < b && count[a] == 0)
        ++a;
    while (b > a && count[b - 1] == 0)
        --b;
    std::vector<double> out;
    out.reserve(b - a);
    size_t previous = a;
    for (size_t i = a; i < b; ++i) {
        if (count[i] == 0) {
            out.push_back(0.0);
            continue;
        }
        const double v = sum[i] / count[i];
        // Fill the gap since the previous bin with data.
        const double pv = out.empty() ? v : sum[previous] / count[previous];
        for (size_t g = previous + 1; g < i; ++g)
            out[g - a] = pv + (v - pv) * double(g - previous) / double(i - previous);
        out.push_back(v);
        previous = i;
    }
    return out;
}

} // namespace bandora
