#pragma once

// The analysis of one well's beams over the page on show: each slot (one
// buffer cycle) of each beam goes through the activity analysis with the
// threshold and method the user chose, giving the events of that cycle and
// the level curve the signal was compared with.

#include "OfflineExperiment.h"
#include "RealTimeStore.h"

#include <QString>
#include <QVector>

#include <array>

namespace bandora {

class ChannelAnalyzer;

// The "Threshold:" box: its numeric value, or 1.8 when it lies outside
// 1.1 .. 6.0 (then the box shows "1.8").
struct ThresholdChoice {
    double Value = 1.8;
    bool Replaced = false;
};
ThresholdChoice ThresholdOfBox(const QString& text);

struct BeamAnalysis {
    WellBeam Beam;
    std::array<qint32, kSlotsPerPage> SlotCounts{};
    std::array<qint32, kFilesPerPage> FileTotals{};   // events per real-time file of the page
    // The level curve of each slot, samples 0..499 (valid over the slot's
    // recorded ticks; a slot never recorded is not analysed).
    std::vector<std::array<qint16, kSlotSamples>> Level;
};

struct PageAnalysisResult {
    // The time (minutes from the run start) of the activity record paired with
    // each slot; -1 where the activity file has no such record.
    std::array<qint32, kSlotsPerPage> SlotMinutes{};
    // The real-time files of the page that hold a record: only they have totals.
    std::array<bool, kFilesPerPage> FileRecorded{};
    QVector<BeamAnalysis> Beams;
};

// Analyses the beams over slots 0..54 of page `page`. The stored signals are
// not changed (each slot is analysed on a copy).
PageAnalysisResult AnalyzePage(const RealTimeStore& store, const QString& experimentFolder, int page,
                               const QVector<WellBeam>& beams, double threshold, int method,
                               ChannelAnalyzer& analyzer);

} // namespace bandora
