#pragma once

// The raw beam signals of one page of an experiment, as the offline window
// shows them: the records of up to five real-time files, each record in its
// own block slot. A file holds 11 records (one per buffer cycle), so file k of
// the page fills slots 11k .. 11k+10 and every recorded buffer cycle of the
// page is shown; slot s of page p then pairs with activity record 55(p-1)+s.
//
// The store is laid out channel by channel, so the signal of one beam over
// the whole page is one contiguous run of values.

#include "ExperimentBrowser.h"
#include "core/storage/ProjectSetup.h"
#include "core/storage/RealTimeFile.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <span>
#include <vector>

namespace bandora {

constexpr int kSlotsPerFile = kRecordsPerRealTimeFile;           // 11
constexpr int kSlotsPerPage = kFilesPerPage * kSlotsPerFile;     // 55
constexpr int kSlotSamples = 500;                                // samples of a slot that are shown
constexpr int kSlotColumns = kSlotSamples + 1;                   // sample 500 repeats sample 499
constexpr int kPageSamples = kSlotsPerPage * kSlotSamples;       // 27,500

class RealTimeStore {
public:
    // Sizes the store for one page, every value 0.
    void Allocate();
    // Gives the memory back (the window closes).
    void Release();
    bool IsAllocated() const { return !values_.empty(); }
    void Clear();

    // The 501 values of a channel (0..384) in a slot (0..54).
    std::span<const qint16> Slot(int ch, int slot) const
    {
        return {values_.data() + Index(ch, slot), size_t(kSlotColumns)};
    }
    std::span<qint16> Slot(int ch, int slot) { return {values_.data() + Index(ch, slot), size_t(kSlotColumns)}; }

    qint16 Value(int ch, int slot, int sample) const { return values_[Index(ch, slot) + size_t(sample)]; }

    // Ticks 0..n-1 of the slot hold recorded values; the rest of the slot (a
    // buffer cycle never recorded, the end of one cut short, the ticks beyond
    // a shorter buffer cycle) holds none. 0 for a slot nothing was read into.
    int RecordedSamples(int slot) const { return recorded_[size_t(slot)]; }
    void SetRecordedSamples(int slot, int samples) { recorded_[size_t(slot)] = samples; }

    // The runs of recorded ticks across the page, as [first, end) positions
    // 500 x slot + tick: consecutive slots recorded whole make one run.
    std::vector<std::pair<int, int>> RecordedRuns() const;

    size_t Bytes() const { return values_.size() * sizeof(qint16); }

private:
    static size_t Index(int ch, int slot)
    {
        return (size_t(ch) * kSlotsPerPage + size_t(slot)) * kSlotColumns;
    }
    std::vector<qint16> values_;
    std::array<int, kSlotsPerPage> recorded_{};
};

// What loading a page found.
struct PageLoad {
    int FilesRead = 0;
    int RecordsRead = 0;    // whole or partial records placed in slots
    int PartialRecords = 0; // records cut short at the end of a file
    QStringList Errors;     // files that exist but could not be read
};

// Called before each file of the page is read with the share of the page
// done so far, 0..100, for the progress bar.
using PageProgress = std::function<void(int percent)>;

// Files of page p (from 1): 5(p-1) .. 5p-1. The store is cleared, then each
// file that exists is read record by record into its slots; a last record cut
// short is read as far as it goes (its whole ticks count as recorded), the
// rest of its slot left 0. The record
// size follows the experiment's buffer cycle (rtBuffer ticks); slots show its
// first 500 ticks.
PageLoad LoadRealTimePage(RealTimeStore& store, const QString& experimentFolder, int page, int rtBuffer,
                          const PageProgress& progress = {});

// The activity record that slot s of page p was recorded with.
constexpr qint64 CountsRecordOfSlot(int page, int slot)
{
    return qint64(page - 1) * kSlotsPerPage + slot;
}

} // namespace bandora
