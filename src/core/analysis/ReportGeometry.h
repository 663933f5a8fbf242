#pragma once

// The plate as a report sees it: for every channel its well (-1 = none) and
// its beam within the well, and the map from (well, beam) back to the
// channel, in which a cell without a beam holds -1. A report asks "does this
// well have a beam 0?" for every well, so an empty cell must never be taken
// for channel 0.

#include "core/storage/PlateFormat.h"

#include <QVector>

#include <array>

namespace bandora {

struct ReportGeometry {
    qint16 Rows = 8;     // well rows of the plate: wells are numbered down the columns
    qint16 MaxWell = -1; // largest well number of the channel list (-1: no well at all)
    qint16 MaxBeam = 0;  // largest beam index of the channel list
    std::array<qint16, kChannelTable> ChannelWell{};
    std::array<qint16, kChannelTable> ChannelBeam{};

    ReportGeometry();

    // The wells and beams of a plate read from its file; channels the plate
    // does not use belong to no well.
    static ReportGeometry FromPlate(const PlateFormat& plate);

    // Channel of (well, beam), or -1 when the plate has no beam there. A later
    // channel on the same cell wins, as in the plate's own table.
    qint16 WellChannel(int well, int beam) const;

    bool BelongsToWell(int ch) const { return ch >= 0 && ch < kChannels && ChannelWell[ch] >= 0; }

    // The channels of a well's beams 0..MaxBeam that exist, in beam order.
    QVector<qint16> WellChannels(int well) const;

    // "A" + (well mod Rows), then the column from 1: C7 for row 3, column 7.
    QString WellLabel(int well) const;
    // The channel's well label, "." and its beam: C7.1.
    QString ChannelWellLabel(int ch) const;

private:
    QVector<qint16> wellMap_; // (MaxWell + 1) x (MaxBeam + 1), -1 for no beam
};

} // namespace bandora
