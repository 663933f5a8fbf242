#include "Picwell.h"

#include "core/setup/PlatePicture.h"
#include "core/storage/PlateFormat.h"
#include "core/storage/ProjectSetup.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

namespace bandora {

namespace {

const QColor kBackground(255, 255, 255);
const QColor kWellBox(200, 0, 0);
const QColor kBeamUsed(20, 60, 220);
const QColor kBeamUnused(250, 215, 0);
const QColor kBeamUnusedEdge(150, 120, 0);

// Group label colours by group number mod 4: green, blue, red, black.
QColor GroupColour(int group)
{
    static const QColor colours[] = {QColor(0, 140, 0), QColor(0, 0, 230), QColor(220, 0, 0), QColor(0, 0, 0)};
    return colours[GroupColourIndex(group)];
}

} // namespace

Picwell::Picwell(ProjectSetup& project, const PlateFormat& plate, QWidget* parent)
    : QWidget(parent), project_(project), plate_(plate)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

void Picwell::updateTransform()
{
    // One scale for both axes, so wells keep their shape; the plate sits in
    // the middle of whatever room the window gives it.
    const QRectF view = PictureView(plate_);
    const double scale = qMin(width() / view.width(), height() / view.height());
    const double dx = (width() - view.width() * scale) / 2 - view.left() * scale;
    const double dy = (height() - view.height() * scale) / 2 - view.top() * scale;
    toWidget_ = QTransform(scale, 0, 0, scale, dx, dy);
}

QPoint Picwell::cellCentre(WellCell cell) const
{
    return toWidget_.map(WellBox(plate_, cell).center()).toPoint();
}

WellCell Picwell::cellAt(QPoint pos) const { return CellAt(plate_, toWidget_.inverted().map(QPointF(pos))); }

void Picwell::redraw()
{
    if (image_.size() != size())
        image_ = QImage(size().expandedTo({1, 1}), QImage::Format_RGB32);
    updateTransform();
    image_.fill(kBackground);
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing);
    const double scale = toWidget_.m11();
    const double step = kUnitsPerStep * scale; // pixels per beam-grid step

    // Well boxes.
    p.setPen(QPen(kWellBox, 1.2));
    p.setBrush(Qt::NoBrush);
    for (int c = 0; c < plate_.Columns; ++c)
        for (int r = 0; r < plate_.Rows; ++r)
            p.drawRect(toWidget_.mapRect(WellBox(plate_, {c, r})).adjusted(1, 1, -1, -1));

    // Beam dots: radius 5 units, but never smaller than a dot one can see.
    const double radius = qMax(5 * scale, 2.6);
    for (int ch = 0; ch < kChannels; ++ch) {
        const bool used = project_.ChannelEnabled[ch] && plate_.ChannelWell[ch] >= 0;
        p.setPen(QPen(used ? kBeamUsed : kBeamUnusedEdge, 0.8));
        p.setBrush(used ? kBeamUsed : kBeamUnused);
        p.drawEllipse(toWidget_.map(BeamDot(ch)), radius, radius);
    }

    // Group labels, in the upper part of each well, clear of the beam dots.
    const QRectF box0 = toWidget_.mapRect(WellBox(plate_, {0, 0}));
    QFont labelFont = font();
    labelFont.setBold(true);
    // As large as the well allows, down to where the widest label still fits.
    int pixels = qBound(7, static_cast<int>(box0.height() * 0.38), 16);
    for (; pixels > 7; --pixels) {
        labelFont.setPixelSize(pixels);
        if (QFontMetricsF(labelFont).horizontalAdvance(QStringLiteral("G388")) <= box0.width() - 3)
            break;
    }
    labelFont.setPixelSize(pixels);
    p.setFont(labelFont);
    for (int c = 0; c < plate_.Columns; ++c) {
        for (int r = 0; r < plate_.Rows; ++r) {
            const int well = WellOfCell(plate_, {c, r});
            if (well > plate_.MaxWell)
                continue;
            const int g = project_.ChannelGroup[plate_.WellBeamChannel(well, 0)];
            if (g < 0 || g > kMaxGroup || plate_.ChannelWell[plate_.WellBeamChannel(well, 0)] != well)
                continue;
            const QRectF box = toWidget_.mapRect(WellBox(plate_, {c, r}));
            const double centre = toWidget_.map(QPointF(0, LabelCentreY(plate_, r))).y();
            const QRectF text(box.left(), centre - pixels, box.width(), 2 * pixels);
            const QString label = QStringLiteral("G%1").arg(g);
            // A thin white halo keeps the label readable where it crosses a beam dot.
            p.setPen(kBackground);
            for (const QPointF d : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)})
                p.drawText(text.translated(d), Qt::AlignHCenter | Qt::AlignVCenter, label);
            p.setPen(GroupColour(g));
            p.drawText(text, Qt::AlignHCenter | Qt::AlignVCenter, label);
        }
    }

    // Column numbers along the top edge.
    QFont numberFont = font();
    numberFont.setPixelSize(qBound(8, static_cast<int>(step * 0.42), 15));
    p.setFont(numberFont);
    p.setPen(Qt::black);
    for (int c = 0; c < plate_.Columns; ++c) {
        const QRectF box = toWidget_.mapRect(WellBox(plate_, {c, 0}));
        const QRectF text(box.left(), box.top() - step / 2, box.width(), step / 2);
        p.drawText(text, Qt::AlignHCenter | Qt::AlignBottom, QString::number(c + 1));
    }
    update();
}

void Picwell::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, image_);
    if (drag_.Dragged()) {
        // The rectangle the drag will act on, from cell to cell.
        const QRectF a = toWidget_.mapRect(WellBox(plate_, drag_.Start()));
        const QRectF b = toWidget_.mapRect(WellBox(plate_, drag_.Current()));
        p.setPen(QPen(Qt::black, 2, Qt::DashLine));
        p.setBrush(QColor(0, 0, 0, 28));
        p.drawRect(a.united(b));
    }
}

void Picwell::resizeEvent(QResizeEvent*) { redraw(); }

void Picwell::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    const WellCell cell = cellAt(event->position().toPoint());
    Q_EMIT wellHovered(WellOfCell(plate_, cell));
    drag_.Press(project_, plate_, cell, group_, event->button() == Qt::LeftButton);
    redraw();
    Q_EMIT wellsClicked();
}

void Picwell::mouseMoveEvent(QMouseEvent* event)
{
    const WellCell cell = cellAt(event->position().toPoint());
    Q_EMIT wellHovered(WellOfCell(plate_, cell));
    if (drag_.Move(cell))
        update();
}

void Picwell::mouseReleaseEvent(QMouseEvent* event)
{
    if (!drag_.Active())
        return;
    drag_.Release(project_, plate_, cellAt(event->position().toPoint()));
    redraw();
    Q_EMIT wellsReleased();
}

} // namespace bandora
