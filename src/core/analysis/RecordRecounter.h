#pragma once

// Counts the activity of every channel of recorded buffer cycles again from
// their raw beam values (records of a real-time file), with the analysis
// method and sensitivity the operator chose. The channels are independent,
// so they are shared out among the processor's cores a few at a time; each
// core has its own analyser and its own copy of a beam's buffer, and the
// counts are those of a one-core run to the last event. Several records go
// out at once, so that the cores meet only once per batch: a core that the
// system lends to another program for a moment then holds up little.

#include "ChannelAnalyzer.h"
#include "ReportGeometry.h"

#include <QThreadPool>

#include <array>
#include <atomic>
#include <memory>
#include <span>
#include <vector>

namespace bandora {

class RecordRecounter {
public:
    // threads: how many cores to use; 0 = every core of the machine.
    RecordRecounter(const ReportGeometry& plate, int rtBuffer, int method, double factor, int threads = 0);
    ~RecordRecounter();

    using Counts = std::array<qint16, kChannels>;

    // The counts of channels 0..383 from the bytes of each real-time record
    // (counts[i] for records[i]). A channel outside every well, or in a
    // well without a beam 0, counts 0.
    void Recount(std::span<const std::span<const char>> records, std::span<Counts> counts);
    void Recount(std::span<const char> record, Counts& counts)
    {
        Recount(std::span<const std::span<const char>>(&record, 1), std::span<Counts>(&counts, 1));
    }

    int Threads() const { return int(workers_.size()); }

private:
    struct Worker {
        ChannelAnalyzer analyzer;
        std::vector<qint16> beam;
    };
    void Work(Worker& worker, std::span<const std::span<const char>> records, std::span<Counts> counts);

    std::vector<qint16> analysed_; // the channels counted, in channel order
    int rtBuffer_;
    int method_;
    double factor_;
    std::vector<std::unique_ptr<Worker>> workers_;
    QThreadPool pool_;
    std::atomic<int> next_{0};
};

} // namespace bandora
