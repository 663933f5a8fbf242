#include "RealTimeStore.h"

#include "core/storage/SampleTable.h"

#include <QFileInfo>

#include <algorithm>

namespace bandora {

void RealTimeStore::Allocate()
{
    values_.assign(size_t(kChannelTable) * kSlotsPerPage * kSlotColumns, 0);
    recorded_.fill(0);
}

void RealTimeStore::Release()
{
    values_.clear();
    values_.shrink_to_fit();
    recorded_.fill(0);
}

void RealTimeStore::Clear()
{
    std::fill(values_.begin(), values_.end(), 0);
    recorded_.fill(0);
}

std::vector<std::pair<int, int>> RealTimeStore::RecordedRuns() const
{
    std::vector<std::pair<int, int>> runs;
    for (int slot = 0; slot < kSlotsPerPage; ++slot) {
        const int n = RecordedSamples(slot);
        if (n == 0)
            continue;
        const int first = slot * kSlotSamples;
        if (!runs.empty() && runs.back().second == first)
            runs.back().second = first + n;
        else
            runs.push_back({first, first + n});
    }
    return runs;
}

PageLoad LoadRealTimePage(RealTimeStore& store, const QString& experimentFolder, int page, int rtBuffer,
                          const PageProgress& progress)
{
    PageLoad result;
    if (!store.IsAllocated())
        store.Allocate();
    else
        // A page with fewer files than the last one must not show the last
        // one's signals in its empty slots.
        store.Clear();

    const int first = kFilesPerPage * (page - 1);
    const int shown = std::clamp(rtBuffer, 1, kSlotSamples);
    SampleTable block;
    for (int k = 0; k < kFilesPerPage; ++k) {
        const QString path = RealTimeFilePath(experimentFolder, first + k);
        if (!QFileInfo(path).isFile())
            continue;
        if (progress)
            progress(100 * k / (kFilesPerPage - 1));
        RealTimeFileReader reader(path, rtBuffer);
        if (!reader.IsOpen()) {
            result.Errors << reader.ErrorText();
            continue;
        }
        ++result.FilesRead;
        const qint64 records = reader.RecordCount() + (reader.HasPartialRecord() ? 1 : 0);
        for (int b = 0; b < kSlotsPerFile && b < records; ++b) {
            const qint64 bytes = reader.Read(b, block);
            if (bytes <= 0)
                break;
            ++result.RecordsRead;
            if (b == reader.RecordCount())
                ++result.PartialRecords;
            const int slot = kSlotsPerFile * k + b;
            // A tick is recorded when all its channels are.
            const qint64 ticks = bytes / (qint64(kChannelTable) * 2);
            store.SetRecordedSamples(slot, int(std::min<qint64>(ticks, shown)));
            for (int ch = 0; ch < kChannels; ++ch) {
                const auto from = block.Row(ch);
                auto to = store.Slot(ch, slot);
                std::copy_n(from.begin(), shown, to.begin());
                to[kSlotSamples] = to[kSlotSamples - 1];
            }
        }
    }
    return result;
}

} // namespace bandora
