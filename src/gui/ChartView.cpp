#include "ChartView.h"

#include <QPainter>

namespace bandora {

ChartView::ChartView(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(320, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::SetPainting(charts::Painting painting)
{
    painting_ = std::move(painting);
    Redraw();
}

void ChartView::Redraw()
{
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    stale_ = false;
    const QSize size = this->size().expandedTo(QSize(1, 1));
    image_ = QImage(size, QImage::Format_RGB32);
    image_.fill(Qt::white);
    if (painting_) {
        QPainter p(&image_);
        p.setFont(font());
        painting_(p, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    update();
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void ChartView::resizeEvent(QResizeEvent*) { Redraw(); }

void ChartView::showEvent(QShowEvent*)
{
    if (stale_ || image_.size() != size())
        Redraw();
}

} // namespace bandora
