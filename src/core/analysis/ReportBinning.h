#pragma once

// The binning of an experiment's activity into time bins of B minutes and the
// statistics of a report: per bin the totals of every channel and well, the
// number of records and the mean temperature, and per group of wells the mean
// and standard deviation of its wells' totals.
//
// Bins are numbered from 1: bin k holds the records whose corrected time lies
// above (k-1) x B up to k x B (bin 1 also those at 0 and below). A report
// shows the bins 1..n that hold records, so only those are kept: a two-week
// file binned by two minutes keeps no more than the bins its records fall in.

#include "ExperimentSettings.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace bandora {

// The bin size B and the bin count n for a report ending at time E.
struct BinPlan {
    qint64 BinSize = 2;
    qint64 BinCount = 1;
    // The text the "Bin size (min):" box shows afterwards, when the rules
    // changed what the operator chose.
    std::optional<QString> ShownBinSize;
};

// B is the whole number of the text, at least 2. A bin longer than the
// recording shrinks to whole quarter hours (or to E + 1 minutes for a
// recording of half an hour at most). n = E / B rounded, ties to even, at
// least 1.
BinPlan PlanBins(const QString& binSizeText, qint64 endTime);

// The tables of one report. Per-bin vectors are indexed by the position of
// the bin in Bins (the bins holding records, in increasing order).
struct ReportTables {
    qint64 BinSize = 2;
    qint64 BinCount = 1;
    int Wells = 0;  // wells 0..Wells-1 (largest well number + 1)
    int Groups = 0; // groups 0..Groups-1 (largest group number + 1)

    std::vector<qint64> Bins;
    std::vector<qint64> RecordCount;   // records of the bin
    std::vector<qint64> Temperature;   // mean temperature in tenths of a degree, 0 without a reading
    std::vector<qint64> ChannelTotal;  // [bin x 384 + channel]
    std::vector<qint64> WellTotal;     // [bin x Wells + well]
    std::vector<qint64> GroupMean;     // [bin x Groups + group]
    std::vector<qint64> GroupSD;       // [bin x Groups + group]
    std::vector<qint64> GroupWellCount; // [group]: wells whose beam 0 is in the group

    // Positions in Bins of the bins a report shows: 1..n with records.
    std::vector<size_t> ShownBins() const;
    // The time of bin k: B x k minutes.
    qint64 BinTime(size_t i) const { return BinSize * Bins[i]; }
    // A well's total in bin k (0 when the bin holds no record).
    qint64 WellBinTotal(int well, qint64 bin) const;
    // The largest bin number holding a record (0 when none does).
    qint64 LastBinWithData() const { return Bins.empty() ? 0 : Bins.back(); }

    qint64 Channel(size_t i, int ch) const { return ChannelTotal[i * kChannels + ch]; }
    qint64 Well(size_t i, int well) const { return WellTotal[i * size_t(Wells) + well]; }
    qint64 Mean(size_t i, int g) const { return GroupMean[i * size_t(Groups) + g]; }
    qint64 SD(size_t i, int g) const { return GroupSD[i * size_t(Groups) + g]; }
};

// Takes the binned records one by one in file order (every record of the file
// but the last) and builds the tables.
class ReportBinner {
public:
    ReportBinner(const BinPlan& plan, const ExperimentSettings& settings);

    // One record: its corrected time and its 385 values (channels 0..383,
    // then the temperature in tenths of a degree).
    void Add(qint64 time, std::span<const qint16> values);

    // The group statistics, then the tables.
    ReportTables Finish();

private:
    void OpenBin(qint64 bin);

    const ExperimentSettings& settings_;
    ReportTables tables_;
    qint64 binEnd_;                 // the running bin end: it never moves back
    std::vector<QVector<qint16>> wellChannels_; // the existing beams of each well
    std::vector<qint64> temperatureSum_;
    std::vector<qint64> temperatureReadings_;
};

} // namespace bandora
