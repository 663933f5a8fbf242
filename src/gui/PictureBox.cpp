#include "PictureBox.h"

#include <QPainter>
#include <QResizeEvent>

namespace bandora {

PictureBox::PictureBox(QWidget* parent, QColor background)
    : QWidget(parent), image_(QSize(1, 1), QImage::Format_RGB32), background_(background)
{
    image_.fill(background_);
    setAttribute(Qt::WA_OpaquePaintEvent);
    repaint_.setSingleShot(true);
    repaint_.setInterval(kRepaintMs);
    connect(&repaint_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void PictureBox::clear()
{
    image_.fill(background_);
    changed();
}

void PictureBox::changed()
{
    if (!repaint_.isActive())
        repaint_.start();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void PictureBox::resizeEvent(QResizeEvent* event)
{
    const QSize size = event->size().expandedTo(QSize(1, 1));
    image_ = QImage(size, QImage::Format_RGB32);
    image_.fill(background_);
    Q_EMIT resized();
}

} // namespace bandora
