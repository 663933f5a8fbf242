#pragma once

// A picture of the analytics view: painted once into an image at the size
// of the widget (again when it is resized or its content changes), shown
// from the image on every repaint.

#include "charts/AnalyticsCharts.h"

#include <QImage>
#include <QWidget>

namespace bandora {

class ChartView : public QWidget {
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent = nullptr);

    // What to paint; the picture is redrawn at once.
    void SetPainting(charts::Painting painting);
    // Paints the picture again at the widget's size; a hidden picture (a tab
    // not on show) waits until it is shown.
    void Redraw();
    const QImage& image() const { return image_; }
    const charts::Painting& painting() const { return painting_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void showEvent(QShowEvent*) override;

private:
    charts::Painting painting_;
    bool stale_ = true;
    QImage image_;
};

} // namespace bandora
