#include "core/offline/RealTimeStore.h"
#include "support/RecordedExperiment.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

// The value recorded in buffer cycle r at tick s, as a slot shows it (tick
// 500 repeats tick 499).
qint16 Shown(int ch, int r, int s) { return PatternValue(ch, r, std::min(s, kSlotSamples - 1)); }

} // namespace

TEST(RealTimeStore, EveryRecordOfAPageHasItsOwnSlot)
{
    QTemporaryDir dir;
    // Seven files: 0..5 full (11 records each), file 6 with 3 records.
    RecordCycles(dir.path(), 6 * kRecordsPerRealTimeFile + 3);
    RealTimeStore store;
    QVector<int> progress;
    const PageLoad first = LoadRealTimePage(store, dir.path(), 1, 500, [&](int p) { progress << p; });
    EXPECT_EQ(first.FilesRead, 5);
    EXPECT_EQ(first.RecordsRead, 55);
    EXPECT_EQ(progress, (QVector<int>{0, 25, 50, 75, 100}));
    EXPECT_EQ(store.Bytes(), size_t(kChannelTable) * 55 * 501 * 2); // about 21 MB

    // The 11th record of each file (b = 10) is shown, not overwritten by the next file.
    for (int slot : {0, 10, 11, 21, 32, 54})
        for (int ch : {0, 17, 383})
            for (int s : {0, 1, 250, 499, 500})
                ASSERT_EQ(store.Value(ch, slot, s), Shown(ch, slot, s)) << slot << " " << ch << " " << s;
    EXPECT_EQ(CountsRecordOfSlot(1, 54), 54);

    // Page 2 holds files 5 and 6; the slots of files that do not exist are
    // empty, not left from page 1.
    const PageLoad second = LoadRealTimePage(store, dir.path(), 2, 500);
    EXPECT_EQ(second.FilesRead, 2);
    EXPECT_EQ(second.RecordsRead, 14);
    EXPECT_EQ(store.Value(5, 0, 3), Shown(5, 55, 3));
    EXPECT_EQ(store.Value(5, 13, 3), Shown(5, 68, 3));
    EXPECT_EQ(CountsRecordOfSlot(2, 13), 68);
    for (int slot : {14, 22, 54})
        EXPECT_EQ(store.Value(5, slot, 3), 0);
}

TEST(RealTimeStore, MissingFilesAndOtherBufferLengths)
{
    // A buffer cycle of 200 ticks: the records are found by their own length.
    RealTimeStore store;
    QTemporaryDir shortCycles;
    RecordCycles(shortCycles.path(), 3, true, 200);
    LoadRealTimePage(store, shortCycles.path(), 1, 200);
    EXPECT_EQ(store.Value(9, 2, 199), PatternValue(9, 2, 199));
    EXPECT_EQ(store.Value(9, 2, 200), 0);

    // An experiment recorded without real-time files: nothing read, no progress, all 0.
    QTemporaryDir empty;
    RecordCycles(empty.path(), 3, false);
    int calls = 0;
    const PageLoad none = LoadRealTimePage(store, empty.path(), 1, 500, [&](int) { ++calls; });
    EXPECT_EQ(none.FilesRead, 0);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(store.Value(9, 2, 199), 0);
}
