#include "PlateFormat.h"

namespace bandora {

qint16 PlateFormat::WellBeamChannel(int well, int beam) const
{
    if (well < 0 || beam < 0 || well > MaxWell || beam > MaxBeam)
        return 0;
    const qsizetype i = static_cast<qsizetype>(well) * (MaxBeam + 1) + beam;
    return i < wellBeamChannel_.size() ? wellBeamChannel_[i] : 0;
}

void PlateFormat::RebuildWellBeamChannel()
{
    const int maxWell = qMax<int>(MaxWell, 0);
    const int maxBeam = qMax<int>(MaxBeam, 0);
    wellBeamChannel_.fill(0, static_cast<qsizetype>(maxWell + 1) * (maxBeam + 1));
    for (int ch = 0; ch < kChannels; ++ch) {
        const int well = ChannelWell[ch];
        const int beam = ChannelBeam[ch];
        if (well < 0 || beam < 0 || well > maxWell || beam > maxBeam)
            continue;
        wellBeamChannel_[static_cast<qsizetype>(well) * (maxBeam + 1) + beam] = static_cast<qint16>(ch);
    }
}

QString WellLabel(int well, int rows)
{
    if (well < 0 || rows < 1)
        return QString();
    const int column = well / rows;
    const int row = well - column * rows;
    return QString(QChar(u'A' + row)) + QString::number(column + 1);
}

} // namespace bandora
