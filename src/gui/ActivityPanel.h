#pragma once

#include <QPointF>
#include <QString>

class QPainter;

namespace bandora {

class PictureBox;
struct ActivityFigures;
struct ChannelView;

// The drawing of the activity panel: the counts of the last buffer cycle of
// the selected channel, of its well and of its group as three bars with their
// values and labels, the temperature and the number of samples taken. The
// panel's coordinates run from -30 to 300 across and from 300 (top) down to
// -30; bar heights are counts.
class ActivityPanel {
public:
    explicit ActivityPanel(PictureBox& box) : box_(box) {}

    // The axes, the title and an empty channel bar with its count blank.
    void Reset(int channel);

    void Draw(const ChannelView& view, const ActivityFigures& figures, const QString& temperatureText,
              qint64 samples);

    static QString Title(int channel) { return QStringLiteral("CH%1 Activity").arg(channel); }

private:
    QPointF Map(double x, double y) const;
    void Begin(QPainter& p, int channel);
    void Bar(QPainter& p, double left, double right, double count);
    // Text hanging from (x, y), cut short at the right edge of the panel.
    void Text(QPainter& p, double x, double y, const QString& text);

    PictureBox& box_;
};

} // namespace bandora
