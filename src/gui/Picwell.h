#pragma once

#include "core/setup/WellDrag.h"

#include <QImage>
#include <QTransform>
#include <QWidget>

namespace bandora {

struct PlateFormat;
struct ProjectSetup;

// The plate picture of the Groups panel: red well boxes, a dot per beam
// (blue where the plate uses an enabled channel, yellow otherwise), the group
// of each well as "G" and its number, and the column numbers. The drawing is
// kept in an image and redrawn only when the groups or the plate change.
//
// Left click: the well joins the selected group if free; right click frees
// it. Dragging marks a rectangle of wells that all join the group (or are
// freed) when the button is released.
class Picwell : public QWidget {
    Q_OBJECT
public:
    Picwell(ProjectSetup& project, const PlateFormat& plate, QWidget* parent = nullptr);

    // The group that clicks and drags assign.
    void setGroup(int group) { group_ = group; }

    // Draws the plate again from the project and the plate.
    void redraw();

    const QImage& image() const { return image_; }

    // Widget position of the middle of a well cell (for tests and tools).
    QPoint cellCentre(WellCell cell) const;

    QSize sizeHint() const override { return {760, 520}; }
    // Small enough for a 1366 x 768 screen, large enough that the labels of a
    // 384-well plate stay legible.
    QSize minimumSizeHint() const override { return {620, 420}; }

Q_SIGNALS:
    // The well under the cursor.
    void wellHovered(int well);
    // A click changed the wells (the well lists are to be refilled).
    void wellsClicked();
    // The button came up, after a click or a drag (the group list too is to
    // be refilled: a group may have come into use).
    void wellsReleased();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void updateTransform();
    WellCell cellAt(QPoint pos) const;

    ProjectSetup& project_;
    const PlateFormat& plate_;
    int group_ = 0;
    WellDrag drag_;
    QImage image_;
    QTransform toWidget_; // picture units -> widget pixels
};

} // namespace bandora
