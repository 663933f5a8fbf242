#pragma once

// Choosing the channel shown in detail: by plate row, column and beam, or
// from the list of the channels of a group, and what the activity panel
// needs to know about the chosen channel's well and group. Plain tables and
// texts; the main window puts them into its lists.

#include "core/setup/GroupRules.h"
#include "core/storage/PlateFormat.h"
#include "core/storage/ProjectSetup.h"

#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace bandora {

// Per group number: 1 when a channel of the project belongs to it, else -1.
using GroupUsedTable = std::array<qint16, kChannelTable>;
GroupUsedTable ComputeGroupUsed(const ProjectSetup& project);

// "A", "B", ... one per plate row; "1", "2", ... one per plate column.
QStringList RowItems(const PlateFormat& plate);
QStringList ColumnItems(const PlateFormat& plate);

// The group choice: every used group in number order, or the item of group 0
// when no group is used, so the list is never empty. Items are the group
// list's own (GroupItemText, read back by GroupOfItem).
QStringList GroupItems(const ProjectSetup& project, const GroupUsedTable& used);

// The channels of a group that are enabled and lie in a well, in channel
// order, each as its well and beam: "C7.1" (WellItemText).
QStringList GroupListItems(const ProjectSetup& project, const PlateFormat& plate, int group);

// A place on the plate: row and column indexes from 0, and the beam.
struct PlatePlace {
    int row = 0;
    int column = 0;
    int beam = 0;
};

// "B12.2" -> row 1, column 11, beam 2. Nothing for a text of another shape.
std::optional<PlatePlace> ParseChannelItem(const QString& item);

// The well of a row letter and a column number (both from 1); -1 when the
// place lies off the plate.
int WellAt(const PlateFormat& plate, int row, int column);

// The selected channel with its well and its group, recomputed whenever the
// selection changes and kept for the activity panel.
struct ChannelView {
    int channel = 0;
    int well = -1;
    QString wellLabel;          // "C7"; empty when the channel has no well
    int group = -1;             // -1: no group, no group bar
    QString groupLabel;         // "003_control"
    std::vector<int> wellChannels;  // the beams of its well (itself without a well)
    std::vector<int> groupChannels; // every beam of the wells of its group

    static ChannelView Of(int channel, const ProjectSetup& project, const PlateFormat& plate);
};

// The three bars of the activity panel for one buffer cycle's counts: the
// channel's own count, and the mean over its well and over its group, both
// held at 9999 so a runaway beam cannot push the text off the panel.
struct ActivityFigures {
    int channel = 0;
    double well = 0;
    bool hasGroup = false;
    double group = 0;
};
ActivityFigures FiguresOf(const ChannelView& view, const std::array<qint16, kChannelTable>& counts);

} // namespace bandora
