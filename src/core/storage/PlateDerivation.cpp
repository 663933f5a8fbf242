#include "PlateDerivation.h"

#include "PlateFiles.h"
#include "RecordSyntax.h"
#include "core/common/Rounding.h"

#include <QDir>

#include <cmath>
#include <limits>

// Layout of a plate file as written here (the reader takes the fields by
// position and ignores the three texts):
//
//   line   fields
//   1      title, naming the fields that follow in angle brackets
//   2      description: the first line shown when the plate is applied
//   3      Rows, RowPitch, RowOffset, Columns, ColumnPitch, ColumnOffset
//   4      table heading "<Channel>,<Well>,<Beam>"
//   5-388  per channel 0-383: "CH" and the channel number, well (-1 = unused), beam
//
// Pitches and offsets are in steps of the beam grid and place each well's box
// on the plate picture (100 units per step) centred on the well, so the box
// holds the dots of the well's beams. They are rounded to 4 decimals: the
// picture resolves 1/100 of a step.

namespace bandora {

namespace {

// Footprints of the derived plates, in mm:
//
//   plate    rows x columns  pitch  A1 from left  A1 from top  bottom disc
//   w48      6 x 8           13.08  18.16         10.08         7.43
//   w24      4 x 6           19.30  17.88         13.79        10.12
//   w6       2 x 3           39.12  24.76         23.16        28.58
//   w96flat  8 x 12           9.00  14.38         11.24         6.60
//
// Pitches and A1 positions are published microplate dimensions. The beam
// counts the plate descriptions promise (48 wells 1 to 3 beams, 24 wells 4,
// 6 wells 30 to 32) need discs smaller than the wells' bottoms, which leaves
// the beams next to the wall out; the diameters are the ones that give those
// counts with every beam clear of a disc edge. The 24-well A1 column position
// is the one, near the published values, at which every well gets exactly
// four beams. The 96-well flat bottom of 6.6 mm holds its 2 x 2 block of
// beams as it is.
const PlateFootprint kW48{6, 8, 13.08, 18.16, 10.08, 7.43};
const PlateFootprint kW24{4, 6, 19.30, 17.88, 13.79, 10.12};
const PlateFootprint kW6{2, 3, 39.12, 24.76, 23.16, 28.58};
const PlateFootprint kW96Flat{8, 12, 9.00, 14.38, 11.24, 6.60};

double BeamXMm(int channel) { return kBeamFirstColumnMm + kBeamPitchMm * (channel / 16); }
double BeamYMm(int channel) { return kBeamFirstRowMm + kBeamPitchMm * (channel % 16); }

// Left (or top) edge of the box of the first well, in grid steps: the centre
// of beam k lies at k + 0.5 steps.
double GridOffset(double firstWellMm, double pitchMm, double firstBeamMm)
{
    return (firstWellMm - pitchMm / 2 - firstBeamMm) / kBeamPitchMm + 0.5;
}

double Steps(double value) { return RoundToDecimals(value, 4) + 0.0; } // + 0.0 turns -0 into 0

} // namespace

QStringList ShippedPlateNames()
{
    return {QStringLiteral("w384"), QStringLiteral("w96f"), QStringLiteral("w96u"), QStringLiteral("w48"),
            QStringLiteral("w24"),  QStringLiteral("w6"),   QStringLiteral("w96flat")};
}

std::optional<PlateFootprint> ShippedFootprint(const QString& plateName)
{
    if (plateName == QLatin1String("w48"))
        return kW48;
    if (plateName == QLatin1String("w24"))
        return kW24;
    if (plateName == QLatin1String("w6"))
        return kW6;
    if (plateName == QLatin1String("w96flat"))
        return kW96Flat;
    return std::nullopt;
}

PlateFormat DerivePlate(const PlateFootprint& fp)
{
    PlateFormat p;
    p.Rows = fp.Rows;
    p.Columns = fp.Columns;
    p.RowPitch = Steps(fp.PitchMm / kBeamPitchMm);
    p.ColumnPitch = p.RowPitch;
    p.RowOffset = Steps(GridOffset(fp.FirstRowMm, fp.PitchMm, kBeamFirstRowMm));
    p.ColumnOffset = Steps(GridOffset(fp.FirstColumnMm, fp.PitchMm, kBeamFirstColumnMm));

    // The discs are narrower than the pitch, so a beam lies in one well at most.
    const double radius = fp.BottomDiameterMm / 2;
    QVector<qint16> beamsOfWell(fp.Rows * fp.Columns, 0);
    p.ChannelWell.fill(-1);
    p.ChannelBeam.fill(0);
    p.MaxWell = 0;
    p.MaxBeam = 0;
    for (int ch = 0; ch < kChannels; ++ch) {
        for (int col = 0; col < fp.Columns; ++col) {
            for (int row = 0; row < fp.Rows; ++row) {
                const double dx = BeamXMm(ch) - (fp.FirstColumnMm + col * fp.PitchMm);
                const double dy = BeamYMm(ch) - (fp.FirstRowMm + row * fp.PitchMm);
                if (std::hypot(dx, dy) >= radius)
                    continue;
                const int well = col * fp.Rows + row;
                p.ChannelWell[ch] = static_cast<qint16>(well);
                p.ChannelBeam[ch] = beamsOfWell[well]++;
                p.MaxWell = qMax<qint16>(p.MaxWell, static_cast<qint16>(well));
                p.MaxBeam = qMax(p.MaxBeam, p.ChannelBeam[ch]);
            }
        }
    }
    p.RebuildWellBeamChannel();
    return p;
}

double NearestBeamToAnEdgeMm(const PlateFootprint& fp)
{
    double nearest = std::numeric_limits<double>::infinity();
    for (int ch = 0; ch < kChannels; ++ch)
        for (int col = 0; col < fp.Columns; ++col)
            for (int row = 0; row < fp.Rows; ++row) {
                const double dx = BeamXMm(ch) - (fp.FirstColumnMm + col * fp.PitchMm);
                const double dy = BeamYMm(ch) - (fp.FirstRowMm + row * fp.PitchMm);
                nearest = std::min(nearest, std::fabs(std::hypot(dx, dy) - fp.BottomDiameterMm / 2));
            }
    return nearest;
}

std::optional<PlateFormat> ShippedPlate(const QString& plateName)
{
    if (const auto fp = ShippedFootprint(plateName))
        return DerivePlate(*fp);
    if (plateName == QLatin1String("w384") || plateName == QLatin1String("w96f") ||
        plateName == QLatin1String("w96u"))
        return BuiltInPlate(plateName);
    return std::nullopt;
}

namespace {

RecordWriter PlateFileWriter(const QString& plateName, const PlateFormat& plate)
{
    RecordWriter w;
    w.Header(QStringLiteral("Plate format %1 <Description>,<Rows>,<RowPitch>,<RowOffset>,"
                            "<Columns>,<ColumnPitch>,<ColumnOffset>")
                 .arg(plateName));
    w.Record({KnownPlateTexts(plateName).value(0, plateName)});
    w.Record({qint64(plate.Rows), plate.RowPitch, plate.RowOffset, qint64(plate.Columns), plate.ColumnPitch,
              plate.ColumnOffset});
    w.Header(QStringLiteral("<Channel>,<Well>,<Beam>"));
    for (int ch = 0; ch < kChannels; ++ch) {
        const bool used = plate.ChannelWell[ch] >= 0;
        w.Record({QStringLiteral("CH%1").arg(ch), qint64(used ? plate.ChannelWell[ch] : -1),
                  qint64(used ? plate.ChannelBeam[ch] : 0)});
    }
    return w;
}

} // namespace

QByteArray PlateFileBytes(const QString& plateName, const PlateFormat& plate)
{
    return PlateFileWriter(plateName, plate).Bytes();
}

void WriteShippedPlateFiles(const QString& folder)
{
    for (const QString& name : ShippedPlateNames())
        PlateFileWriter(name, *ShippedPlate(name)).WriteTo(QDir(folder).filePath(name + QStringLiteral(".dat")));
}

} // namespace bandora
