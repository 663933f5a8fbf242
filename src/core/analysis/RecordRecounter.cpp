#include "RecordRecounter.h"

#include "core/storage/ProjectSetup.h"
#include "core/storage/RealTimeFile.h"

#include <QtEndian>

#include <latch>
#include <thread>

namespace bandora {

namespace {
// Channels a core takes at a time: small enough to even out the cores'
// shares, large enough that they seldom meet at the counter.
constexpr int kChannelsPerTake = 4;
} // namespace

RecordRecounter::RecordRecounter(const ReportGeometry& plate, int rtBuffer, int method, double factor, int threads)
    : rtBuffer_(std::max(rtBuffer, 1)), method_(method), factor_(factor)
{
    for (int ch = 0; ch < kChannels; ++ch)
        if (plate.BelongsToWell(ch) && plate.WellChannel(plate.ChannelWell[ch], 0) >= 0)
            analysed_.push_back(qint16(ch));
    if (threads <= 0)
        threads = int(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::clamp(threads, 1, 16);
    for (int t = 0; t < threads; ++t) {
        auto worker = std::make_unique<Worker>();
        worker->beam.resize(size_t(rtBuffer_) + 1);
        workers_.push_back(std::move(worker));
    }
    pool_.setMaxThreadCount(std::max(threads - 1, 1));
}

RecordRecounter::~RecordRecounter() { pool_.waitForDone(); }

void RecordRecounter::Work(Worker& worker, std::span<const std::span<const char>> records,
                           std::span<Counts> counts)
{
    // Work item k is a run of channels of one record: record k / takes,
    // the channels from (k mod takes) x kChannelsPerTake on.
    const int analysed = int(analysed_.size());
    const int takes = (analysed + kChannelsPerTake - 1) / kChannelsPerTake;
    const int items = takes * int(records.size());
    for (int item = next_.fetch_add(1); item < items; item = next_.fetch_add(1)) {
        const std::span<const char> record = records[size_t(item / takes)];
        Counts& out = counts[size_t(item / takes)];
        // The record stores the table column by column: value (channel c,
        // column s) at byte 2 x (385 x s + c). A short record reads as zeros.
        const qint64 values = qint64(record.size()) / 2;
        const int first = (item % takes) * kChannelsPerTake;
        for (int k = first; k < std::min(first + kChannelsPerTake, analysed); ++k) {
            const int ch = analysed_[size_t(k)];
            for (int s = 0; s < rtBuffer_; ++s) {
                const qint64 v = qint64(kChannelTable) * s + ch;
                worker.beam[size_t(s)] = v < values ? qFromLittleEndian<qint16>(record.data() + 2 * v) : qint16(0);
            }
            out[size_t(ch)] = qint16(worker.analyzer.AnalyzeChannel(
                std::span<qint16>(worker.beam.data(), size_t(rtBuffer_)), factor_, method_));
        }
    }
}

void RecordRecounter::Recount(std::span<const std::span<const char>> records, std::span<Counts> counts)
{
    Q_ASSERT(counts.size() >= records.size());
    for (size_t i = 0; i < records.size(); ++i)
        counts[i].fill(0);
    next_.store(0);
    const int helpers = int(workers_.size()) - 1;
    std::latch done(helpers);
    for (int t = 1; t <= helpers; ++t) {
        Worker* worker = workers_[size_t(t)].get();
        pool_.start([this, worker, records, counts, &done] {
            Work(*worker, records, counts);
            done.count_down();
        });
    }
    Work(*workers_[0], records, counts);
    done.wait();
}

} // namespace bandora
