#pragma once

// The three drawings of the offline window, each onto the retained image of
// its plot picture: the raw signals of a well's beams over a page, the same
// signals with the level curves of the activity analysis and the events it
// counted per real-time file, and the recorded activity of the well and its
// group in 30-minute bins.

#include "core/offline/GroupActivity.h"
#include "core/offline/PageAnalysis.h"
#include "core/offline/RealTimeStore.h"

#include <QColor>
#include <QImage>
#include <QString>

namespace bandora {

// Beam 0 red, 1 blue, 2 green, 3 orange-brown; on plates of more than four
// beams per well, beam k from 4 on shades from green to red along k / K.
QColor BeamColour(int beam, int maxBeam);

struct SignalPlotInput {
    const RealTimeStore* Store = nullptr;
    QVector<WellBeam> Beams;
    int MaxBeam = 0;       // largest beam index of the plate
    QString WellText;      // "B3"
    int Page = 1;
    int PageCount = 1;
};

void DrawChannelSignals(QImage& image, const SignalPlotInput& in);

struct AnalysisPlotInput {
    SignalPlotInput Signals;
    const PageAnalysisResult* Analysis = nullptr;
    double Threshold = 1.8;
    int Method = 0;
};

void DrawAnalysis(QImage& image, const AnalysisPlotInput& in);

struct ActivityPlotInput {
    const GroupActivity* Activity = nullptr;
    QString WellText;   // "B3"
    QString GroupEntry; // "001_control" or "999_Free"
};

void DrawGroupActivity(QImage& image, const ActivityPlotInput& in);

} // namespace bandora
