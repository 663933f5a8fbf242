#pragma once

// The activity of every well of the plate during a run, for the main
// window's plate map: the counts of the buffer cycle under way as they grow,
// the completed buffer cycles of the last hour, and when each well last
// showed a count, so that wells whose organism stopped moving can be flagged.
// Plain tables: nothing here draws, and time comes from the caller's clock.

#include "core/storage/PlateFormat.h"
#include "core/storage/ProjectSetup.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <deque>
#include <vector>

namespace bandora {

// How far back the map's colours look.
enum class ActivityWindow { LastCycle = 0, Last10Min = 1, LastHour = 2 };

// A well with no count for longer than the alarm time.
struct InactiveWell {
    int well = -1;
    QString label;   // "C7"
    QDateTime since; // its last count, or the run start when it never counted
};

class WellActivity {
public:
    using Counts = std::array<qint16, kChannelTable>;

    // The wells of the plate and the beams that count in each: enabled
    // channels that lie in a well. Forgets the run.
    void Prepare(const ProjectSetup& project, const PlateFormat& plate);

    // A run starts: no history; every used well counts as moving now.
    void StartRun(const QDateTime& now);
    bool Running() const { return started_; }

    // The counts of the buffer cycle under way (CycleState::IntervalCount)
    // and how much of the cycle has passed (0..1). A well whose count grew
    // since the last look has moved now.
    void TakeLive(const Counts& counts, double cycleFraction, const QDateTime& now);
    // A buffer cycle has ended with these counts.
    void EndCycle(const Counts& counts, const QDateTime& now);

    int Wells() const { return int(beams_.size()); }
    int Rows() const { return rows_; }
    int Columns() const { return columns_; }
    // The well has at least one beam that counts.
    bool Used(int well) const { return well >= 0 && well < Wells() && beams_[size_t(well)] > 0; }

    // Counts per beam of every well over the window: the cycle under way
    // plus the completed cycles that ended within the window. "Last cycle"
    // slides over one buffer cycle: the cycle under way plus the part of the
    // previous cycle it has not yet replaced, so the colours do not drop to
    // nothing at each cycle start. Wells without beams hold 0.
    std::vector<double> Values(ActivityWindow window, const QDateTime& now) const;

    // When the well last counted (the run start when it never did); invalid
    // before a run.
    QDateTime LastMovement(int well) const;
    // Used wells without a count for at least `minutes`, in well order; none
    // before a run or with a time of 0 or less.
    std::vector<InactiveWell> InactiveWells(const QDateTime& now, int minutes) const;

private:
    struct Cycle {
        QDateTime end;
        std::vector<float> sums; // counts per well
    };
    void SumWells(const Counts& counts, std::vector<float>& sums) const;

    int rows_ = 0;
    int columns_ = 0;
    std::array<qint16, kChannelTable> channelWell_{}; // -1: the channel does not count
    std::vector<int> beams_;                          // counting beams per well
    std::vector<float> live_;                         // counts per well of the cycle under way
    double liveFraction_ = 0;
    std::deque<Cycle> history_;                       // the last hour, oldest first
    std::vector<QDateTime> lastMove_;
    bool started_ = false;
};

} // namespace bandora
