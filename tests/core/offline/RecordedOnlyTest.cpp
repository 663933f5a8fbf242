// The offline views show what was recorded and nothing else: buffer cycles
// never recorded are gaps, not signals at 0, in the store, the analysis and
// the exports.

#include "core/analysis/ChannelAnalyzer.h"
#include "core/offline/ExperimentBrowser.h"
#include "core/offline/PageAnalysis.h"
#include "core/offline/SignalExport.h"
#include "support/RecordedExperiment.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(RecordedOnly, UnrecordedBufferCyclesAreGapsInTheStoreTheAnalysisAndTheExport)
{
    QTemporaryDir dir;
    RecordCycles(dir.path(), 14); // file 0 whole (slots 0..10), file 1 with slots 11..13
    // The run was cut short inside its 14th record: 100 whole ticks of it.
    QFile(RealTimeFilePath(dir.path(), 1)).resize(2 * RealTimeRecordBytes(500) + 2 * kChannelTable * 100 + 10);
    RealTimeStore store;
    LoadRealTimePage(store, dir.path(), 1, 500);
    EXPECT_EQ(store.RecordedSamples(0), 500);
    EXPECT_EQ(store.RecordedSamples(13), 100);
    EXPECT_EQ(store.RecordedSamples(14), 0);
    EXPECT_EQ(store.RecordedRuns(), (std::vector<std::pair<int, int>>{{0, 13 * 500 + 100}}));

    // The analysis counts nothing where nothing was recorded, and only the
    // files of the page that exist have totals.
    ChannelAnalyzer analyzer;
    const PageAnalysisResult a = AnalyzePage(store, dir.path(), 1, {{0, 24}}, 1.8, 1, analyzer);
    EXPECT_EQ(a.FileRecorded, (std::array<bool, kFilesPerPage>{true, true, false, false, false}));
    for (int slot = 14; slot < kSlotsPerPage; ++slot)
        ASSERT_EQ(a.Beams[0].SlotCounts[size_t(slot)], 0) << slot;

    // The export holds the recorded ticks only.
    SignalExportRequest request;
    request.WellText = QStringLiteral("A7");
    request.PageText = QStringLiteral("1/1");
    request.Beams = {{0, 24}};
    const QList<QByteArray> lines = SignalExportText(request, store).split('\n');
    ASSERT_EQ(lines.size(), 6 + 13 * 500 + 100 + 1);
    EXPECT_EQ(lines[6 + 13 * 500 + 99], QByteArray::number(PatternValue(24, 13, 99)) + " \r");
}

