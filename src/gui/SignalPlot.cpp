#include "SignalPlot.h"

#include "PictureBox.h"
#include "core/display/SignalTrace.h"

#include <QFontInfo>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace bandora {

namespace {

using S = SignalScale;

// The plot's lettering is the window's, unless the picture is too low for it.
int LetterPixels(const QWidget& box, int height)
{
    return std::max(std::min(QFontInfo(box.font()).pixelSize(), height / 14), 8);
}

} // namespace

void SignalPlot::SetBuffer(int rtBuffer) { rtBuffer_ = std::max(rtBuffer, 1); }

QPointF SignalPlot::Map(double x, double y) const
{
    const QImage& img = box_.image();
    const double width = rtBuffer_ + S::kRightMargin - S::kLeft;
    const double height = S::kTop - S::kBottom;
    return {(x - S::kLeft) * img.width() / width, (S::kTop - y) * img.height() / height};
}

bool SignalPlot::Bold() const { return box_.image().height() >= 360; }

void SignalPlot::DrawSignalAxis(QPainter& p)
{
    p.fillRect(QRectF(Map(0, 2000), Map(5, 0)).normalized(), Qt::black);
}

void SignalPlot::Clear()
{
    QImage& img = box_.image();
    img.fill(box_.background());
    QPainter p(&img);
    p.fillRect(QRectF(Map(0, 10), Map(rtBuffer_, 0)).normalized(), Qt::black);
    DrawSignalAxis(p);
    QFont font = p.font();
    font.setPixelSize(LetterPixels(box_, img.height()));
    p.setFont(font);
    p.setPen(Qt::black);
    // The text hangs from its point, as picture-area printing does.
    const QPointF at = Map(rtBuffer_ / 2.0, -65);
    p.drawText(QRectF(at.x(), at.y(), img.width() - at.x(), img.height() - at.y()), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("Time"));
    box_.changed();
}

void SignalPlot::DrawCurve(std::span<const qint16> values, int from, int to, const QColor& colour, int reference,
                           int zoom, bool definedOnly)
{
    const int last = std::min<int>(to, int(values.size()) - 1);
    const int first = std::max(from, 1);
    if (first > last)
        return;
    QPainter p(&box_.image());
    p.setPen(QPen(colour, 1));
    // A large plot draws its curves two pixels thick, as three one-pixel
    // passes: the rasteriser's one-pixel lines are many times cheaper than
    // its wide ones, and the whole plot is redrawn within a tick.
    static const QPointF kThin[] = {{0, 0}};
    static const QPointF kBold[] = {{0, 0}, {1, 0}, {0, 1}};
    const std::span<const QPointF> passes = Bold() ? std::span<const QPointF>(kBold) : kThin;
    // Runs of joined columns go out as one polyline each.
    QPolygonF run;
    run.reserve(last - first + 2);
    const auto flush = [&] {
        if (run.size() > 1)
            for (const QPointF& shift : passes) {
                p.translate(shift);
                p.drawPolyline(run);
                p.resetTransform();
            }
        run.clear();
    };
    for (int c = first; c <= last; ++c) {
        if (definedOnly && (values[size_t(c - 1)] <= 0 || values[size_t(c)] <= 0)) {
            flush();
            continue;
        }
        if (run.isEmpty())
            run << Map(c - 1, PlotValue(values[size_t(c - 1)], reference, zoom));
        run << Map(c, PlotValue(values[size_t(c)], reference, zoom));
    }
    flush();
    box_.changed();
}

void SignalPlot::DrawBand(int column)
{
    QPainter p(&box_.image());
    const QRectF band = QRectF(Map(column + S::kBandFrom, S::kBandTop), Map(column + S::kBandTo, S::kBandBottom));
    p.fillRect(band.normalized(), Qt::white);
    // Near the start of a pass the band reaches the signal axis; the axis
    // stays whole.
    if (column + S::kBandFrom <= 5)
        DrawSignalAxis(p);
    box_.changed();
}

} // namespace bandora
