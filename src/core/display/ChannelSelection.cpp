#include "ChannelSelection.h"

#include <algorithm>

namespace bandora {

GroupUsedTable ComputeGroupUsed(const ProjectSetup& project)
{
    GroupUsedTable used;
    used.fill(-1);
    for (int ch = 0; ch < kChannels; ++ch) {
        const int g = project.ChannelGroup[ch];
        if (g >= 0 && g < kChannelTable)
            used[g] = 1;
    }
    return used;
}

QStringList RowItems(const PlateFormat& plate)
{
    QStringList rows;
    for (int r = 1; r <= plate.Rows; ++r)
        rows << QString(QChar(64 + r));
    return rows;
}

QStringList ColumnItems(const PlateFormat& plate)
{
    QStringList columns;
    for (int c = 1; c <= plate.Columns; ++c)
        columns << QString::number(c);
    return columns;
}

QStringList GroupItems(const ProjectSetup& project, const GroupUsedTable& used)
{
    QStringList items;
    for (int g = 0; g < kChannels; ++g)
        if (used[g] != -1)
            items << GroupItemText(g, project.GroupName[g]);
    if (items.isEmpty())
        items << GroupItemText(0, project.GroupName[0]);
    return items;
}

QStringList GroupListItems(const ProjectSetup& project, const PlateFormat& plate, int group)
{
    QStringList items;
    for (int ch = 0; ch < kChannels; ++ch) {
        if (project.ChannelGroup[ch] != group || !project.ChannelEnabled[ch] || plate.ChannelWell[ch] < 0)
            continue;
        items << WellItemText(plate, ch);
    }
    return items;
}

std::optional<PlatePlace> ParseChannelItem(const QString& item)
{
    const QString t = item.trimmed();
    const int dot = t.indexOf(QLatin1Char('.'));
    if (t.size() < 4 || dot < 2 || dot == t.size() - 1 || !t[0].isLetter())
        return std::nullopt;
    bool columnOk = false, beamOk = false;
    const int column = t.mid(1, dot - 1).toInt(&columnOk);
    const int beam = t.mid(dot + 1).toInt(&beamOk);
    if (!columnOk || !beamOk || column < 1 || beam < 0)
        return std::nullopt;
    return PlatePlace{t[0].toUpper().unicode() - 65, column - 1, beam};
}

int WellAt(const PlateFormat& plate, int row, int column)
{
    if (row < 1 || row > plate.Rows || column < 1 || column > plate.Columns)
        return -1;
    const int well = (column - 1) * plate.Rows + (row - 1);
    return well <= plate.MaxWell ? well : -1;
}

ChannelView ChannelView::Of(int channel, const ProjectSetup& project, const PlateFormat& plate)
{
    ChannelView v;
    v.channel = std::clamp(channel, 0, kChannels);
    v.well = plate.ChannelWell[v.channel];
    if (v.well >= 0) {
        v.wellLabel = WellLabel(v.well, plate.Rows);
        for (int ch = 0; ch < kChannels; ++ch)
            if (plate.ChannelWell[ch] == v.well)
                v.wellChannels.push_back(ch);
    } else {
        v.wellChannels.push_back(v.channel);
    }

    const int g = project.ChannelGroup[v.channel];
    if (g < 0 || g >= kChannelTable)
        return v;
    v.group = g;
    v.groupLabel = GroupItemText(g, project.GroupName[g]);
    // A group is made of wells: every beam of a well that one of the group's
    // channels lies in counts towards the group's mean.
    std::vector<bool> inGroup(size_t(std::max<int>(plate.MaxWell, 0)) + 1, false);
    for (int ch = 0; ch < kChannels; ++ch) {
        const int w = plate.ChannelWell[ch];
        if (project.ChannelGroup[ch] == g && w >= 0 && w < int(inGroup.size()))
            inGroup[size_t(w)] = true;
    }
    for (int ch = 0; ch < kChannels; ++ch) {
        const int w = plate.ChannelWell[ch];
        if (w >= 0 && w < int(inGroup.size()) && inGroup[size_t(w)])
            v.groupChannels.push_back(ch);
    }
    return v;
}

ActivityFigures FiguresOf(const ChannelView& view, const std::array<qint16, kChannelTable>& counts)
{
    static constexpr double kMost = 9999;
    const auto mean = [&counts](const std::vector<int>& channels) {
        if (channels.empty())
            return 0.0;
        double sum = 0;
        for (int ch : channels)
            sum += counts[size_t(ch)];
        return std::min(sum / double(channels.size()), kMost);
    };
    ActivityFigures f;
    f.channel = counts[size_t(view.channel)];
    f.well = mean(view.wellChannels);
    f.hasGroup = view.group >= 0 && !view.groupChannels.empty();
    f.group = f.hasGroup ? mean(view.groupChannels) : 0.0;
    return f;
}

} // namespace bandora
