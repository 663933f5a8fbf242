#pragma once

#include <QColor>
#include <QPointF>

#include <span>

class QPainter;

namespace bandora {

class PictureBox;

// The drawing of the real-time signal plot on its picture area, in the
// plot's own coordinates (SignalScale): the axes and the word "Time", curves
// of samples by buffer column, and the white sweep band that runs ahead of
// the newest sample over the previous pass. Knows nothing of channels or
// of the cycle; LivePlots decides what to draw when.
class SignalPlot {
public:
    explicit SignalPlot(PictureBox& box) : box_(box) {}

    // The number of columns of one pass (RT_Buffer).
    void SetBuffer(int rtBuffer);
    int Buffer() const { return rtBuffer_; }

    // Clears the picture to the axes and the word "Time".
    void Clear();

    // The segments joining column c - 1 to column c for c = from..to (a
    // segment needs a column before it, so column 0 only starts the curve).
    // Values are drawn through PlotValue with the reference and zoom given.
    // With definedOnly, a segment touching a value of 0 or less is left out
    // (a level not yet set).
    void DrawCurve(std::span<const qint16> values, int from, int to, const QColor& colour, int reference, int zoom,
                   bool definedOnly);

    // The band cleared ahead of the sample at this column.
    void DrawBand(int column);

    QColor TraceColour() const { return Qt::red; }
    QColor LevelColour() const { return QColor(0, 0, 255); }

private:
    QPointF Map(double x, double y) const;
    void DrawSignalAxis(QPainter& p);
    bool Bold() const;

    PictureBox& box_;
    int rtBuffer_ = 500;
};

} // namespace bandora
