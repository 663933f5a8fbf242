#pragma once

#include "ProjectSetup.h"

#include <QString>
#include <QVector>

#include <array>

namespace bandora {

// The plate in use: the well grid for drawing and the channel <-> well tables.
// Channel = 16 x grid column + grid row on the 16 x 24 grid of a 384-well
// plate; wells are numbered down the columns from 0 (A1 = 0, B1 = 1, ...).
struct PlateFormat {
    qint16 Rows = 8;
    double RowPitch = 2.0;      // in 384-grid steps
    double RowOffset = -0.5;
    qint16 Columns = 12;
    double ColumnPitch = 2.0;
    double ColumnOffset = 0.0;

    std::array<qint16, kChannelTable> ChannelWell{}; // -1 = channel not used by this plate
    std::array<qint16, kChannelTable> ChannelBeam{};
    qint16 MaxWell = 0;
    qint16 MaxBeam = 0;

    // Channel of (well, beam), wells 0..MaxWell x beams 0..MaxBeam; cells
    // without a channel hold 0.
    qint16 WellBeamChannel(int well, int beam) const;

    // Recreates the (well, beam) -> channel table from ChannelWell/ChannelBeam;
    // a later channel overwrites an earlier one on the same cell.
    void RebuildWellBeamChannel();

private:
    QVector<qint16> wellBeamChannel_;
};

// The label of a well: row letter from "A" and column number (C7 for row 3,
// column 7); wells are numbered down the columns.
QString WellLabel(int well, int rows);

} // namespace bandora
