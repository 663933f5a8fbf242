#include "PlatePicture.h"

#include "core/storage/PlateFormat.h"

#include <cmath>

namespace bandora {

namespace {

constexpr double kGridWidth = 24 * kUnitsPerStep;
constexpr double kGridHeight = 16 * kUnitsPerStep;

int IndexAt(double position, double offset, double pitch, int count)
{
    if (!(pitch > 0.0) || count < 1)
        return 0;
    const double index = std::floor((position - offset * kUnitsPerStep) / (pitch * kUnitsPerStep));
    if (!(index > 0.0)) // also not-a-number
        return 0;
    return index >= count ? count - 1 : static_cast<int>(index);
}

} // namespace

QRectF PictureView(const PlateFormat& plate)
{
    const double left = plate.ColumnOffset * kUnitsPerStep - kUnitsPerStep / 2;
    const double top = plate.RowOffset * kUnitsPerStep - kUnitsPerStep / 2;
    return QRectF(QPointF(left, top), QPointF(kGridWidth, kGridHeight));
}

QRectF WellBox(const PlateFormat& plate, WellCell cell)
{
    const double w = plate.ColumnPitch * kUnitsPerStep;
    const double h = plate.RowPitch * kUnitsPerStep;
    return QRectF(cell.column * w + plate.ColumnOffset * kUnitsPerStep,
                  cell.row * h + plate.RowOffset * kUnitsPerStep, w, h);
}

QPointF BeamDot(int channel)
{
    return QPointF((channel / 16) * kUnitsPerStep + kUnitsPerStep / 2,
                   (channel % 16) * kUnitsPerStep + kUnitsPerStep / 2);
}

WellCell CellAt(const PlateFormat& plate, QPointF point)
{
    return {IndexAt(point.x(), plate.ColumnOffset, plate.ColumnPitch, plate.Columns),
            IndexAt(point.y(), plate.RowOffset, plate.RowPitch, plate.Rows)};
}

} // namespace bandora
