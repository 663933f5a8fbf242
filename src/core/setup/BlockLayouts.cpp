#include "BlockLayouts.h"

#include "GroupRules.h"
#include "core/common/Rounding.h"
#include "core/storage/PlateFormat.h"
#include "core/storage/ProjectSetup.h"
#include "core/storage/RecordSyntax.h"

#include <QVector>

namespace bandora {

QStringList BlockLayoutItems(const PlateFormat& plate)
{
    QStringList items;
    for (int i = 1; i <= 16; ++i) {
        if (plate.Columns % i != 0)
            continue;
        for (int j = 1; j <= 16; ++j)
            if (plate.Rows % j == 0)
                items << QStringLiteral("%1x%2 [RowsxColumn]")
                             .arg(j, 2, 10, QLatin1Char('0'))
                             .arg(i, 2, 10, QLatin1Char('0'));
    }
    return items;
}

int DefaultBlockLayout(int itemCount) { return itemCount >= 3 ? 2 : 0; }

bool ApplyBlockLayout(ProjectSetup& project, const PlateFormat& plate, const QString& item)
{
    const int r = static_cast<int>(RoundHalfEven(NumericValue(item.mid(0, 2))));
    const int c = static_cast<int>(RoundHalfEven(NumericValue(item.mid(3, 2))));
    if (r < 1 || c < 1 || plate.Rows < 1 || plate.Columns < 1)
        return false;

    ClearGroups(project);
    const int maxWell = plate.MaxWell;
    const int lastGroup = qMin(maxWell / (r * c), kMaxGroup);

    // Blocks start at the first well no earlier block has covered. Tracking
    // the covered wells, rather than looking at their channels, keeps the
    // blocks aligned when a well has only disabled beams and so stays free.
    QVector<bool> covered(maxWell + 1, false);
    for (int g = 0; g <= lastGroup; ++g) {
        int start = 0;
        bool found = false;
        for (int col = 0; col < plate.Columns && !found; ++col) {
            for (int row = 0; row < plate.Rows && !found; ++row) {
                const int well = col * plate.Rows + row;
                if (well <= maxWell && !covered[well]) {
                    start = well;
                    found = true;
                }
            }
        }
        for (int a = 1; a <= r; ++a) {
            for (int b = 1; b <= c; ++b) {
                if (g * a * b > maxWell)
                    continue;
                const int well = start + (a - 1) + (b - 1) * plate.Rows;
                if (well > maxWell)
                    continue;
                covered[well] = true;
                for (int ch : ChannelsOfWell(plate, well))
                    if (project.ChannelEnabled[ch] && project.ChannelGroup[ch] == -1)
                        project.ChannelGroup[ch] = static_cast<qint16>(g);
                project.GroupName[g] = QStringLiteral("Group%1").arg(g);
            }
        }
    }
    return true;
}

} // namespace bandora
