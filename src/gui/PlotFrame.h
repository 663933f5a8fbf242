#pragma once

// The frame of a plot drawn on a retained image: the plotting box inside the
// margins that leave room for the title, the axis labels and the legend, and
// the mapping of data values to pixels.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QVector>

namespace bandora {

struct PlotFrame {
    QRect Box;                 // the plotting box, in image pixels
    double X0 = 0, X1 = 1;     // data range across the box
    double Y0 = 0, Y1 = 1;     // data range up the box

    // A box inside the image with room on each side (pixels).
    static PlotFrame Inside(const QImage& image, int left, int top, int right, int bottom);

    double Px(double x) const { return Box.left() + (x - X0) * (Box.width() - 1) / (X1 - X0); }
    double Py(double y) const { return Box.bottom() - (y - Y0) * (Box.height() - 1) / (Y1 - Y0); }
    // A y pixel kept within the box, so values beyond the range run along its edge.
    double PyClamped(double y) const;
};

// The label font of every plot, sized in pixels so a bitmap export reads the
// same on every screen.
QFont PlotFont(int pixelSize = 13, bool bold = false);

// The box outline.
void DrawBox(QPainter& p, const PlotFrame& f);
// A label left of the box at value y, with a short tick.
void DrawYLabel(QPainter& p, const PlotFrame& f, double y, const QString& text);
// A label under the box at value x, with a short tick.
void DrawXLabel(QPainter& p, const PlotFrame& f, double x, const QString& text);
// The axis titles: under the box in the middle, and turned up along its left side.
void DrawXTitle(QPainter& p, const PlotFrame& f, const QString& text);
void DrawYTitle(QPainter& p, const PlotFrame& f, const QString& text);
// The title above the box.
void DrawTitle(QPainter& p, const PlotFrame& f, const QString& text);

struct LegendEntry {
    QColor Colour;
    QString Text;
};
// A row of coloured line samples and their texts, right-aligned above the box.
void DrawLegend(QPainter& p, const PlotFrame& f, const QVector<LegendEntry>& entries);

// A step of 1, 2 or 5 times a power of ten giving about `ticks` ticks over range.
double NiceStep(double range, int ticks);

// A message in the middle of an empty plot.
void DrawPlotMessage(QImage& image, const QString& text);

} // namespace bandora
