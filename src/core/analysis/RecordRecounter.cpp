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
constexpr int kChannelsPerTake = 8;
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

void RecordRecounter::Work(Worker& worker, std::span<const char> record, std::span<qint16, kChannels> counts)
{
    // The record stores the table column by column: value (channel c,
    // column s) at byte 2 x (385 x s + c). A short record reads as zeros.
    const qint64 values = qint64(record.size()) / 2;
    const int analysed = int(analysed_.size());
    for (int at = next_.fetch_add(kChannelsPerTake); at < analysed; at = next_.fetch_add(kChannelsPerTake)) {
        for (int k = at; k < std::min(at + kChannelsPerTake, analysed); ++k) {
            const int ch = analysed_[size_t(k)];
            for (int s = 0; s < rtBuffer_; ++s) {
                const qint64 v = qint64(kChannelTable) * s + ch;
                worker.beam[size_t(s)] = v < values ? qFromLittleEndian<qint16>(record.data() + 2 * v) : qint16(0);
            }
            counts[size_t(ch)] = qint16(worker.analyzer.AnalyzeChannel(
                std::span<qint16>(worker.beam.data(), size_t(rtBuffer_)), factor_, method_));
        }
    }
}

void RecordRecounter::Recount(std::span<const char> record, std::span<qint16, kChannels> counts)
{
    std::fill(counts.begin(), counts.end(), qint16(0));
    next_.store(0);
    const int helpers = int(workers_.size()) - 1;
    std::latch done(helpers);
    for (int t = 1; t <= helpers; ++t) {
        Worker* worker = workers_[size_t(t)].get();
        pool_.start([this, worker, record, counts, &done] {
            Work(*worker, record, counts);
            done.count_down();
        });
    }
    Work(*workers_[0], record, counts);
    done.wait();
}

} // namespace bandora
