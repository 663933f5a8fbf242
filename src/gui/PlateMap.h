#pragma once

#include "PictureBox.h"
#include "core/display/WellActivity.h"

#include <QDateTime>
#include <QFont>
#include <QRect>

class QPainter;

#include <functional>
#include <vector>

namespace bandora {

// The picture of the plate map: one cell per well coloured by its activity,
// row letters and column numbers around the wells, the group of each well as
// the colour of its outline, wells that stopped moving outlined in red and
// crossed out, the selected well in a black frame, and under the plate the
// colour scale and the groups' colours. Everything is drawn afresh from the
// figures set here (Draw), so the picture never shows half of two states.
class PlateMap final : public PictureBox {
    Q_OBJECT
public:
    explicit PlateMap(QWidget* parent = nullptr);

    // What one drawing shows.
    struct Figures {
        int rows = 8;
        int columns = 12;
        std::vector<bool> used;         // per well: it has a counting beam
        std::vector<int> group;         // per well: its group number, -1 none
        std::vector<QString> groupText; // per group shown in the legend: "003_control"
        std::vector<int> legendGroups;  // the groups of the legend, in number order
        std::vector<double> values;     // per well: counts per beam in the window
        std::vector<bool> inactive;     // per well: no count for the alarm time
        int selectedWell = -1;
        QString windowText = QStringLiteral("last cycle");
    };

    void SetFigures(Figures figures);
    const Figures& CurrentFigures() const { return figures_; }
    // The whole picture again from the figures.
    void Draw();

    // Where a well is drawn, and the well under a point (-1 for none).
    QRect CellRect(int well) const;
    int WellAt(QPoint point) const;
    // The top of the colour scale: a round number at or above all but the
    // busiest twentieth of the moving wells (they show the deepest colour), at
    // least 1.
    double ScaleTop() const { return scaleTop_; }
    // The colour of a value on the scale 0..top.
    static QColor ActivityColour(double value, double top);
    // The outline colour of a group.
    static QColor GroupColour(int group);

    // The text shown when the mouse rests on a well.
    std::function<QString(int well)> ToolTipFor;

    // At least wells large enough to read; it takes whatever room more it
    // is given, and the wells stay square.
    QSize sizeHint() const override { return SizeForPitch(kLeastPitch); }
    QSize minimumSizeHint() const override { return SizeForPitch(kLeastPitch); }
    static constexpr int kLeastPitch = 11;

Q_SIGNALS:
    void wellClicked(int well);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Geometry {
        int labelWidth = 0;  // the row letters' column
        int headerHeight = 0; // the column numbers' row
        int pitch = 0;        // one well
        int left = 0, top = 0;
    };
    Geometry Layout() const;
    QRect Cell(const Geometry& g, int well) const;
    int FooterHeight() const;
    // Lines the groups' legend takes at the picture's width, at most two.
    int LegendLines() const;
    // Where each group of the legend goes: its index in legendGroups (or
    // -(i + 1) for "+n more" from item i on), its left edge and its line.
    struct LegendItem {
        int index;
        int x;
        int line;
    };
    std::vector<LegendItem> Legend() const;
    QSize SizeForPitch(int pitch) const;
    QFont LabelFont(int pitch) const;
    void DrawFooter(QPainter& p, int top);

    Figures figures_;
    double scaleTop_ = 1;
};

} // namespace bandora
