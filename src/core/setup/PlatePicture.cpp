#include "PlatePicture.h"

#include "core/storage/PlateFormat.h"

#include <QVector>

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
    // The beam grid and every well, with half a step before them for the
    // column numbers. Plates with large wells (6 wells) reach past the beam
    // grid; they are shown whole.
    const double left = qMin(plate.ColumnOffset * kUnitsPerStep, 0.0) - kUnitsPerStep / 2;
    const double top = qMin(plate.RowOffset * kUnitsPerStep, 0.0) - kUnitsPerStep / 2;
    const QRectF wells = WellBox(plate, {0, 0}).united(WellBox(plate, {plate.Columns - 1, plate.Rows - 1}));
    return QRectF(QPointF(left, top), QPointF(qMax(kGridWidth, wells.right()), qMax(kGridHeight, wells.bottom())));
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

double LabelCentreY(const PlateFormat& plate, int row)
{
    const QRectF box = WellBox(plate, {0, row});
    QVector<double> edges{box.top()};
    for (int r = 0; r < 16; ++r) {
        const double y = BeamDot(r).y();
        if (y > box.top() && y < box.bottom())
            edges << y;
    }
    edges << box.bottom();
    double best = box.center().y(), widest = -1;
    for (int i = 1; i < edges.size(); ++i) {
        if (edges[i] - edges[i - 1] > widest + 1e-9) {
            widest = edges[i] - edges[i - 1];
            best = (edges[i] + edges[i - 1]) / 2;
        }
    }
    return best;
}

WellCell CellAt(const PlateFormat& plate, QPointF point)
{
    return {IndexAt(point.x(), plate.ColumnOffset, plate.ColumnPitch, plate.Columns),
            IndexAt(point.y(), plate.RowOffset, plate.RowPitch, plate.Rows)};
}

} // namespace bandora
