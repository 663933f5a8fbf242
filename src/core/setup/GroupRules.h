#pragma once

// Groups of wells ("biological replicate groups") as the setup window edits
// them: the texts of its group and well lists and the rules by which wells
// join and leave groups. A well belongs to a group through its channels
// (beams); ChannelGroup -1 means free.

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace bandora {

struct PlateFormat;
struct ProjectSetup;

// Group numbers that can carry channels: one group per channel at most.
constexpr int kMaxGroup = 383;

// "003_Group3": the group number as three digits, "_", the name.
QString GroupItemText(int group, const QString& name);

// The group number of a group-list item (its first three characters).
int GroupOfItem(const QString& item);

// The items of the group list: every group up to the highest one in use,
// even when empty, plus one more as the next free slot. A group in use that
// is still named "Free" is named "Group" and its number on the way.
struct GroupList {
    QStringList items;
    int selected = 0; // the item of the requested group, else the first
};
GroupList FillGroupList(ProjectSetup& project, int requestedGroup);

// The well-list item of a channel: row letter, column number, ".", beam
// (A1.0, C12.1). Each beam of a well is its own item.
QString WellItemText(const PlateFormat& plate, int channel);

// The well of a well-list item, or nothing when the text is not one of the plate.
std::optional<int> WellOfItem(const PlateFormat& plate, const QString& item);

// Channels listed for a group (-1: the free list): in the group, enabled and
// used by the plate, in channel order. Disabled beams are never listed.
QVector<int> ListedChannels(const ProjectSetup& project, const PlateFormat& plate, int group);

// Every channel the plate maps to a well, in channel order.
QVector<int> ChannelsOfWell(const PlateFormat& plate, int well);

// The list actions ("<=", "=>", double-click, Enter): every beam of the well
// of the item joins the group (-1 frees them). Returns false when the item
// names no well of the plate.
bool MoveWellOfItem(ProjectSetup& project, const PlateFormat& plate, const QString& item, int group);

// A click on the plate picture. Left button: the enabled beams of the well
// that are free join the group (a click never takes a well from another
// group). Right button: the enabled beams of the well become free.
void ClickWell(ProjectSetup& project, const PlateFormat& plate, int well, int group, bool leftButton);

// The end of a drag over the plate picture: every well of the rectangle
// between the two cells (corners included). Left button: all enabled beams
// join the group, taken from other groups too. Right button: they become free.
struct WellCell {
    int column = 0;
    int row = 0;
    friend bool operator==(const WellCell&, const WellCell&) = default;
};
void AssignRectangle(ProjectSetup& project, const PlateFormat& plate, WellCell from, WellCell to, int group,
                     bool leftButton);

// The well of a cell of the plate grid: wells are numbered down the columns.
int WellOfCell(const PlateFormat& plate, WellCell cell);

// "CLEAR LIST" (and a new plate): every channel free, every group named "Free".
void ClearGroups(ProjectSetup& project);

// Renames a group from the operator's answer; an empty answer keeps the old
// name. The name is made safe for the quoted fields of groups.dat.
bool RenameGroup(ProjectSetup& project, int group, const QString& answer);

} // namespace bandora
