// Throughput of the activity analysis: channel buffers of 500 values per
// second, for each method. The live zero mode runs it 384 times per buffer
// cycle; the report re-analysis runs it on every recorded buffer.

#include "BeamSignal.h"

#include "core/analysis/ChannelAnalyzer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

using namespace bandora;

static void BM_AnalyzeChannel(benchmark::State& state)
{
    const int method = int(state.range(0));
    const SampleTable signals = bench::BeamSignals(500);
    SampleTable work = signals;
    ChannelAnalyzer analyzer;
    int ch = 0;
    for (auto _ : state) {
        // The analysis clips the buffer it is given: start each from the raw beam.
        std::copy(signals.Row(ch).begin(), signals.Row(ch).end(), work.Row(ch).begin());
        benchmark::DoNotOptimize(analyzer.AnalyzeChannel(work, ch, 1.8, method));
        ch = (ch + 1) % kChannels;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("items/s = channel buffers per second");
}
BENCHMARK(BM_AnalyzeChannel)->ArgName("method")->Arg(0)->Arg(1)->Arg(2);

BENCHMARK_MAIN();
