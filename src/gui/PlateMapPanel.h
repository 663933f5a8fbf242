#pragma once

#include "core/display/WellActivity.h"

#include <QGroupBox>
#include <QTimer>

#include <array>
#include <optional>
#include <vector>

class QComboBox;
class QSpinBox;

namespace bandora {

struct AppState;
class PlateMap;

// The main window's live plate map with its choices: how far back the
// colours look (cmb_mapwindow: last cycle, last 10 min, last hour) and after
// how many minutes without a count a well is flagged (spn_nomove, 60 by
// default). It keeps the wells' activity from the counts the acquisition
// cycle hands it, and draws the map a few times a second at most, however
// often the counts grow.
class PlateMapPanel final : public QGroupBox {
    Q_OBJECT
public:
    PlateMapPanel(AppState& state, QWidget* parent = nullptr);

    // The plate and groups of the project again (start-up, after the setup
    // window changed them); forgets the activity unless a run is under way.
    void Prepare();
    // What the live display hands on from the acquisition cycle.
    void StartRun();
    void TakeLive(const WellActivity::Counts& counts, double cycleFraction);
    void EndCycle(const WellActivity::Counts& counts);
    // The selected channel changed: its well is framed.
    void ShowSelection();

    // The wells flagged now, with the time of their last count: for the
    // map's outlines and for whoever records the run's notes.
    std::vector<InactiveWell> InactiveWells() const;
    const WellActivity& Activity() const { return activity_; }
    // The tooltip of a well: its label and group, its activity in the
    // chosen window, and "no movement since hh:mm" when flagged.
    QString WellToolTip(int well) const;
    // The map drawn now, from the activity as it stands.
    void Redraw();

    PlateMap* pic_platemap = nullptr;
    QComboBox* cmb_mapwindow = nullptr;
    QSpinBox* spn_nomove = nullptr;

Q_SIGNALS:
    // A well of the map was clicked: its channel is to be shown.
    void wellChosen(int well);

private:
    void PrepareTables();
    void ScheduleRedraw();
    ActivityWindow Window() const;

    AppState& state_;
    WellActivity activity_;
    std::vector<int> wellGroup_;
    // What the tables were made from.
    struct Layout {
        qint16 rows, columns;
        std::array<qint16, kChannelTable> well, group;
        std::array<bool, kChannelTable> enabled;
        bool operator==(const Layout&) const = default;
    };
    std::optional<Layout> prepared_;
    QTimer redraw_;
};

} // namespace bandora
