#pragma once

#include <QColor>
#include <QImage>
#include <QTimer>
#include <QWidget>

namespace bandora {

// A picture area: drawing goes onto a retained image that survives repaints,
// so a plot drawn point by point from the acquisition tick stays on screen
// without being redrawn from its buffers on every expose. The screen follows
// the drawing at most 25 times a second, however often the tick draws, so
// the display never holds up the acquisition.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr, QColor background = Qt::white);

    static constexpr int kRepaintMs = 40;

    // The retained drawing; paint on it, then call changed().
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }

    QColor background() const { return background_; }

    // Clears the drawing to the background colour and schedules a repaint.
    void clear();

    // The drawing changed: the screen shows it within kRepaintMs.
    void changed();

    QSize sizeHint() const override { return {320, 160}; }
    QSize minimumSizeHint() const override { return {120, 60}; }

Q_SIGNALS:
    // The drawing was resized (and cleared): owners redraw from their data.
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage image_;
    QColor background_;
    QTimer repaint_;
};

} // namespace bandora
