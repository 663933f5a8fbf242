#pragma once

// A live display that draws nothing: the benchmarks time the acquisition,
// not the plots.

#include "core/acquisition/LiveDisplay.h"

namespace bandora::bench {

class NoDisplay final : public LiveDisplay {
public:
    void ResetActivityPanel() override {}
    void ResetSignalPlot() override {}
    void RedrawSignal() override {}
    void DrawNewPoints() override {}
    void DrawActivityPanel(const QString&) override {}
    void ShowElapsed(qint64, qint32, qint16) override {}
};

} // namespace bandora::bench
