#pragma once

// Counts the activity of every channel of one recorded buffer cycle again
// from its raw beam values (one record of a real-time file), with the
// analysis method and sensitivity the operator chose. The channels are
// independent, so they are shared out among the processor's cores; each core
// has its own analyser and its own copy of a beam's buffer, and the counts
// are those of a one-core run to the last event.

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

    // The counts of channels 0..383 from the bytes of one real-time record.
    // A channel outside every well, or in a well without a beam 0, counts 0.
    void Recount(std::span<const char> record, std::span<qint16, kChannels> counts);

    int Threads() const { return int(workers_.size()); }

private:
    struct Worker {
        ChannelAnalyzer analyzer;
        std::vector<qint16> beam;
    };
    void Work(Worker& worker, std::span<const char> record, std::span<qint16, kChannels> counts);

    std::vector<qint16> analysed_; // the channels counted, in channel order
    int rtBuffer_;
    int method_;
    double factor_;
    std::vector<std::unique_ptr<Worker>> workers_;
    QThreadPool pool_;
    std::atomic<int> next_{0};
};

} // namespace bandora
