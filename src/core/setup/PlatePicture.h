#pragma once

// Geometry of the plate picture of the setup window, in picture units: 100
// units per step of the 16 x 24 beam grid, so the whole grid is 2400 x 1600.
// Wells are placed by the plate's pitch and offset (in grid steps); beam
// dots sit in the middle of their grid cells.

#include "GroupRules.h"

#include <QPointF>
#include <QRectF>

namespace bandora {

struct PlateFormat;

constexpr double kUnitsPerStep = 100.0;

// The part of the picture that is drawn: from half a step before the first
// well (room for the column numbers) to the far corner of the beam grid, or
// of the wells where they reach further.
QRectF PictureView(const PlateFormat& plate);

// The box of the well in the given grid column and row (both from 0).
QRectF WellBox(const PlateFormat& plate, WellCell cell);

// The centre of the beam dot of a channel (16 x grid column + grid row).
QPointF BeamDot(int channel);

// The grid cell under a point. Points before the first well count as the
// first row or column, points past the last as the last one, so a click
// beside the plate never reaches a well of the next column.
WellCell CellAt(const PlateFormat& plate, QPointF point);

// Where the group labels of a row of wells go: the middle of the widest
// band of the well between its rows of beam dots (the first when several
// are as wide), so the label does not sit on the beams.
double LabelCentreY(const PlateFormat& plate, int row);

// The colour index of a group label: 0 green, 1 blue, 2 red, 3 black.
inline int GroupColourIndex(int group) { return group % 4; }

} // namespace bandora
