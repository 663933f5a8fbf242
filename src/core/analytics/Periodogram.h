#pragma once

// Periodograms of a well or of a group's mean: the chi-square periodogram
// (Sokolove-Bushell, as the R circadian tools compute it) and the classic
// normalised Lomb-Scargle periodogram, over a range of periods.
//
// The series is first brought to one value per 15 minutes: the mean of the
// recorded minutes in each 15-minute bin aligned to ZT0; empty bins inside
// the recording are filled by linear interpolation between their
// neighbours, empty bins at its ends are left out. Sample i is at i x 0.25 h.
//
// Chi-square: P = round(T / 15 min) columns, sample i in column i mod P,
//   Qp = (N^2 / P) x sum_h (M_h - M)^2 / sum_i (x_i - M)^2, the partial last
//   row included; threshold the upper chi-square quantile with P degrees of
//   freedom at 1 - (1 - alpha)^(1 / number of periods); p-value the upper
//   chi-square tail of Qp.
// Lomb-Scargle on the centred series, tau from tan 2wt = sum sin 2wt / sum
//   cos 2wt, power = [(sum y cos w(t-tau))^2 / sum cos^2 + (sum y sin)^2 /
//   sum sin^2] / sum y^2, in 0..1; p-value the Baluev false-alarm
//   probability for the highest frequency tested, threshold the power whose
//   false-alarm probability is alpha.
// The peak is the highest power above its threshold, or none.

#include "AnalyticsOptions.h"
#include "MinuteSeries.h"

#include <span>
#include <vector>

namespace bandora {

enum class PeriodMethod { ChiSquare, LombScargle };

// "chi_square", "lomb_scargle".
QString PeriodMethodName(PeriodMethod method);

struct Periodogram {
    PeriodMethod Method = PeriodMethod::ChiSquare;
    std::vector<double> Power;     // per period tested
    std::vector<double> Threshold;
    std::vector<double> PValue;
    int Peak = -1;                 // index of the peak period, -1 for none
};

struct SubjectPeriodograms {
    QString Subject;  // a well or a group
    QString Refusal;  // why there are no numbers (too short, constant); empty when there are
    Periodogram Chi{PeriodMethod::ChiSquare, {}, {}, {}, -1};
    Periodogram Lomb{PeriodMethod::LombScargle, {}, {}, {}, -1};
};

// The periods from min to max by step, in hours.
std::vector<double> PeriodsTested(const AnalyticsOptions& options);

// Upper tail of the chi-square distribution with df degrees of freedom, and
// the x whose upper tail is p.
double ChiSquareUpperTail(double x, double df);
double ChiSquareUpperQuantile(double p, double df);

// Qp of the samples for a period of P samples.
double ChiSquareQp(std::span<const double> x, int columns);

// Baluev's false-alarm probability of a standard-normalised Lomb-Scargle
// power z for n evenly spaced samples dt hours apart, frequencies up to fmax
// (1/h).
double BaluevFalseAlarm(double z, int n, double dtHours, double fmaxPerHour);

// The periodograms of evenly spaced samples (15 minutes apart).
class PeriodogramEngine {
public:
    static constexpr double kSampleHours = 0.25;

    PeriodogramEngine(std::vector<double> periods, double alpha, int samples);

    // The periodograms of 15-minute samples.
    SubjectPeriodograms Analyse(const QString& subject, std::span<const double> x) const;

    const std::vector<double>& Periods() const { return periods_; }
    int Samples() const { return samples_; }

private:
    std::vector<double> periods_;
    double alpha_;
    int samples_;
    std::vector<int> columns_;        // P of each period
    std::vector<double> chiThreshold_;
    double lombThreshold_ = 1.0;
    // Per period: cos and sin of w(t - tau) at every sample, and their sums of squares.
    std::vector<double> cos_, sin_, cc_, ss_;
};

// The 15-minute samples of a per-sample series of the experiment (values of
// samples that are missing are not read). Empty when no bin holds data.
std::vector<double> QuarterHourSamples(const MinuteSeries& series, std::span<const double> perSample);

} // namespace bandora
