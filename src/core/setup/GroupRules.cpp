#include "GroupRules.h"

#include "core/common/Rounding.h"
#include "core/storage/PlateFormat.h"
#include "core/storage/ProjectSetup.h"
#include "core/storage/RecordSyntax.h"

namespace bandora {

namespace {

const QString kFree = QStringLiteral("Free");

bool InGroupRange(int group) { return group >= 0 && group <= kMaxGroup; }

void SetChannel(ProjectSetup& project, int channel, int group)
{
    project.ChannelGroup[channel] = static_cast<qint16>(group);
}

} // namespace

QString GroupItemText(int group, const QString& name)
{
    return QStringLiteral("%1_%2").arg(group, 3, 10, QLatin1Char('0')).arg(name);
}

int GroupOfItem(const QString& item) { return static_cast<int>(RoundHalfEven(NumericValue(item.left(3)))); }

GroupList FillGroupList(ProjectSetup& project, int requestedGroup)
{
    // Groups numbers beyond the channel count can only come from a damaged
    // chgroup.dat; such channels count as in no listed group.
    int maxUsed = -1;
    QVector<bool> used(kMaxGroup + 1, false);
    for (int ch = 0; ch < kChannels; ++ch) {
        const int g = project.ChannelGroup[ch];
        if (InGroupRange(g)) {
            used[g] = true;
            maxUsed = qMax(maxUsed, g);
        }
    }
    GroupList list;
    const int last = qMin(maxUsed + 1, kMaxGroup);
    for (int g = 0; g <= last; ++g) {
        // A group in use must not show as "Free": it is named after its number
        // before its item is made, so list, picture and reports agree.
        if (used[g] && project.GroupName[g] == kFree)
            project.GroupName[g] = QStringLiteral("Group%1").arg(g);
        list.items << GroupItemText(g, project.GroupName[g]);
    }
    const QString wanted = QStringLiteral("%1").arg(requestedGroup, 3, 10, QLatin1Char('0'));
    for (int i = 0; i < list.items.size(); ++i) {
        if (list.items[i].left(3) == wanted) {
            list.selected = i;
            break;
        }
    }
    return list;
}

QString WellItemText(const PlateFormat& plate, int channel)
{
    const int well = plate.ChannelWell[channel];
    const int rows = qMax<int>(plate.Rows, 1);
    return QStringLiteral("%1%2.%3")
        .arg(QChar(65 + well % rows))
        .arg(well / rows + 1)
        .arg(plate.ChannelBeam[channel]);
}

std::optional<int> WellOfItem(const PlateFormat& plate, const QString& item)
{
    if (item.size() < 2 || plate.Rows < 1)
        return std::nullopt;
    const int row = item[0].unicode() - 'A';
    const int dot = item.indexOf(QLatin1Char('.'));
    bool ok = false;
    const int column = item.mid(1, dot < 0 ? -1 : dot - 1).toInt(&ok);
    if (!ok || row < 0 || row >= plate.Rows || column < 1 || column > plate.Columns)
        return std::nullopt;
    const int well = row + plate.Rows * (column - 1);
    if (well > plate.MaxWell)
        return std::nullopt;
    return well;
}

QVector<int> ListedChannels(const ProjectSetup& project, const PlateFormat& plate, int group)
{
    QVector<int> channels;
    for (int ch = 0; ch < kChannels; ++ch)
        if (project.ChannelGroup[ch] == group && project.ChannelEnabled[ch] && plate.ChannelWell[ch] >= 0)
            channels << ch;
    return channels;
}

QVector<int> ChannelsOfWell(const PlateFormat& plate, int well)
{
    // Scanning the channel table rather than the (well, beam) table: a well
    // with fewer beams than the plate's most has empty cells there, and those
    // hold channel 0, which belongs to another well.
    QVector<int> channels;
    if (well < 0)
        return channels;
    for (int ch = 0; ch < kChannels; ++ch)
        if (plate.ChannelWell[ch] == well)
            channels << ch;
    return channels;
}

bool MoveWellOfItem(ProjectSetup& project, const PlateFormat& plate, const QString& item, int group)
{
    const auto well = WellOfItem(plate, item);
    if (!well)
        return false;
    for (int ch : ChannelsOfWell(plate, *well))
        SetChannel(project, ch, group);
    return true;
}

void ClickWell(ProjectSetup& project, const PlateFormat& plate, int well, int group, bool leftButton)
{
    for (int ch : ChannelsOfWell(plate, well)) {
        if (!project.ChannelEnabled[ch])
            continue;
        if (!leftButton)
            SetChannel(project, ch, -1);
        else if (project.ChannelGroup[ch] == -1)
            SetChannel(project, ch, group);
    }
}

int WellOfCell(const PlateFormat& plate, WellCell cell) { return plate.Rows * cell.column + cell.row; }

void AssignRectangle(ProjectSetup& project, const PlateFormat& plate, WellCell from, WellCell to, int group,
                     bool leftButton)
{
    const int c0 = qMin(from.column, to.column), c1 = qMax(from.column, to.column);
    const int r0 = qMin(from.row, to.row), r1 = qMax(from.row, to.row);
    for (int c = c0; c <= c1; ++c) {
        for (int r = r0; r <= r1; ++r) {
            for (int ch : ChannelsOfWell(plate, WellOfCell(plate, {c, r})))
                if (project.ChannelEnabled[ch])
                    SetChannel(project, ch, leftButton ? group : -1);
        }
    }
}

void ClearGroups(ProjectSetup& project)
{
    for (int ch = 0; ch < kChannelTable; ++ch)
        project.ChannelGroup[ch] = -1;
    for (int g = 0; g < kChannelTable; ++g)
        project.GroupName[g] = kFree;
    project.GroupColumnNames.clear();
    project.GroupColumnValues.clear();
}

bool RenameGroup(ProjectSetup& project, int group, const QString& answer)
{
    if (answer.isEmpty() || group < 0 || group >= kChannelTable)
        return false;
    project.GroupName[group] = SafeFieldText(answer);
    return true;
}

} // namespace bandora
