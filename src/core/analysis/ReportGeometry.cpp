#include "ReportGeometry.h"

namespace bandora {

ReportGeometry::ReportGeometry()
{
    ChannelWell.fill(-1);
    ChannelBeam.fill(0);
}

ReportGeometry ReportGeometry::FromPlate(const PlateFormat& plate)
{
    ReportGeometry g;
    g.Rows = qMax<qint16>(plate.Rows, 1);
    g.MaxWell = -1;
    g.MaxBeam = 0;
    for (int ch = 0; ch < kChannels; ++ch) {
        const qint16 well = plate.ChannelWell[ch];
        const qint16 beam = plate.ChannelBeam[ch];
        if (well < 0 || beam < 0)
            continue;
        g.ChannelWell[ch] = well;
        g.ChannelBeam[ch] = beam;
        g.MaxWell = qMax(g.MaxWell, well);
        g.MaxBeam = qMax(g.MaxBeam, beam);
    }
    const int beams = g.MaxBeam + 1;
    g.wellMap_.fill(-1, qsizetype(g.MaxWell + 1) * beams);
    for (int ch = 0; ch < kChannels; ++ch)
        if (g.ChannelWell[ch] >= 0)
            g.wellMap_[qsizetype(g.ChannelWell[ch]) * beams + g.ChannelBeam[ch]] = qint16(ch);
    return g;
}

qint16 ReportGeometry::WellChannel(int well, int beam) const
{
    if (well < 0 || beam < 0 || well > MaxWell || beam > MaxBeam)
        return -1;
    const qsizetype i = qsizetype(well) * (MaxBeam + 1) + beam;
    return i < wellMap_.size() ? wellMap_[i] : qint16(-1);
}

QVector<qint16> ReportGeometry::WellChannels(int well) const
{
    QVector<qint16> channels;
    for (int b = 0; b <= MaxBeam; ++b)
        if (const qint16 ch = WellChannel(well, b); ch >= 0)
            channels << ch;
    return channels;
}

QString ReportGeometry::WellLabel(int well) const
{
    const int rows = qMax<int>(Rows, 1);
    return QString(QChar(ushort('A' + well % rows))) + QString::number(well / rows + 1);
}

QString ReportGeometry::ChannelWellLabel(int ch) const
{
    return WellLabel(ChannelWell[ch]) + QLatin1Char('.') + QString::number(ChannelBeam[ch]);
}

} // namespace bandora
