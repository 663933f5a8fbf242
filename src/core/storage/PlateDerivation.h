#pragma once

// The plate files shipped with the program and how their maps are derived.
//
// The 384 beams sit where the wells of a 384-well plate are: 4.5 mm apart,
// the first one where well A1 of a 384-well plate lies. A plate with fewer,
// larger wells is laid over that grid by its footprint (well pitch and the
// position of well A1, measured from the plate's top-left corner); a beam
// belongs to the well whose bottom disc contains it, and the beams of a well
// are numbered in channel order. w384, w96f and w96u are the built-in maps.

#include "PlateFormat.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace bandora {

// Where the beams are, in millimetres from the plate's top-left corner.
inline constexpr double kBeamPitchMm = 4.5;
inline constexpr double kBeamFirstColumnMm = 12.13;
inline constexpr double kBeamFirstRowMm = 8.99;

struct PlateFootprint {
    qint16 Rows = 0;
    qint16 Columns = 0;
    double PitchMm = 0;          // centre to centre of neighbouring wells
    double FirstColumnMm = 0;    // centre of well A1 from the plate's left edge
    double FirstRowMm = 0;       // centre of well A1 from the plate's top edge
    double BottomDiameterMm = 0; // the disc of the well bottom whose beams count for the well
};

// The names of every shipped plate file, in the order they are written.
QStringList ShippedPlateNames();

// The footprint a derived plate (w48, w24, w6, w96flat) is computed from.
std::optional<PlateFootprint> ShippedFootprint(const QString& plateName);

// The map and drawing geometry of a footprint over the beam grid.
PlateFormat DerivePlate(const PlateFootprint& footprint);

// How close the nearest beam comes to the bottom edge of any well, in mm: a
// beam right on an edge would make the map depend on rounding.
double NearestBeamToAnEdgeMm(const PlateFootprint& footprint);

// The plate of a shipped name: the built-in map for w384, w96f and w96u, the
// derived one for the others. Nothing for an unknown name.
std::optional<PlateFormat> ShippedPlate(const QString& plateName);

// The bytes of the plate file of a plate: title, description (the first line
// of the plate's texts), geometry, table heading and 384 channel records.
QByteArray PlateFileBytes(const QString& plateName, const PlateFormat& plate);

// Writes every shipped plate file into folder. Throws RecordError when a file
// cannot be written.
void WriteShippedPlateFiles(const QString& folder);

} // namespace bandora
