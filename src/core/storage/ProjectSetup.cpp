#include "ProjectSetup.h"

namespace bandora {

ProjectSetup::ProjectSetup()
{
    SetDefaultChannelEnabled();
    SetDefaultThresholds();
    SetDefaultGroupNames();
    SetDefaultChannelGroups();
}

qint16& ProjectSetup::Menu(int k)
{
    switch (k) {
    case 1: return Menu1;
    case 2: return Menu2;
    case 3: return Menu3;
    case 4: return Menu4;
    case 5: return Menu5;
    default: return Menu6;
    }
}

qint16 ProjectSetup::Menu(int k) const { return const_cast<ProjectSetup*>(this)->Menu(k); }

std::array<ToolRow, 7> ProjectSetup::DefaultMenuParam()
{
    std::array<ToolRow, 7> p{};
    p[1] = {0, 1, 1, 0, 0, 0};
    p[2] = {0, 9, 21, 0, 0, 0};
    p[3] = {0, 200, 0, 0, 0, 0};
    return p;
}

void ProjectSetup::SetDefaultChannelEnabled()
{
    for (int i = 0; i < kChannels; ++i)
        ChannelEnabled[i] = true;
}

void ProjectSetup::SetDefaultThresholds()
{
    for (int i = 0; i < kChannels; ++i)
        ChannelThreshold[i] = 3.0;
}

void ProjectSetup::SetDefaultGroupNames()
{
    for (int g = 0; g < kChannels; ++g)
        GroupName[g] = g < 12 ? QStringLiteral("Group%1").arg(g) : QStringLiteral("Free");
}

void ProjectSetup::SetDefaultChannelGroups()
{
    // Blocks of 16 channels (one grid column each) in pairs: 0-15 -> group 0,
    // 16-47 -> 1, ..., 336-367 -> 11, 368-383 -> 12.
    for (int b = 0; b < 24; ++b)
        for (int s = 0; s < 16; ++s)
            ChannelGroup[16 * b + s] = static_cast<qint16>((b + 1) / 2);
}

QString ProjectFolderName(int number) { return QStringLiteral("p%1").arg(number, 5, 10, QLatin1Char('0')); }

} // namespace bandora
