#include "PlateMap.h"

#include <QFontInfo>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <cmath>

namespace bandora {

namespace {

const QColor kUnusedWell(228, 228, 228);
const QColor kCellEdge(170, 170, 170);
const QColor kInactive(220, 0, 0);
const QColor kSelected(0, 0, 0);
const QColor kText(40, 40, 40);
constexpr int kScaleBar = 8; // height of the colour scale's bar

// Little activity is pale, much is deep blue: the red of the alarm and the
// group colours stay readable on every step.
constexpr std::array<QRgb, 5> kScale = {0xf7fbff, 0xc6dbef, 0x6baed6, 0x2171b5, 0x08306b};

// The next round number: 1, 1.5, 2, 3, 4, 5, 6, 8 times a power of ten.
int RoundUp(double value)
{
    if (value <= 1)
        return 1;
    const double decade = std::pow(10.0, std::floor(std::log10(value)));
    for (const double step : {1.0, 1.5, 2.0, 3.0, 4.0, 5.0, 6.0, 8.0, 10.0})
        if (value <= step * decade + 1e-9)
            return int(std::lround(step * decade));
    return int(std::lround(10 * decade));
}

// A frame `width` pixels wide inside r, drawn as four filled bands: much
// cheaper than a wide pen for hundreds of wells.
void Frame(QPainter& p, const QRect& r, int width, const QColor& colour)
{
    p.fillRect(QRect(r.left(), r.top(), r.width(), width), colour);
    p.fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), colour);
    p.fillRect(QRect(r.left(), r.top(), width, r.height()), colour);
    p.fillRect(QRect(r.right() - width + 1, r.top(), width, r.height()), colour);
}

} // namespace

PlateMap::PlateMap(QWidget* parent) : PictureBox(parent, Qt::white)
{
    setObjectName(QStringLiteral("pic_platemap"));
    setMouseTracking(false);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    connect(this, &PictureBox::resized, this, &PlateMap::Draw);
}

QColor PlateMap::ActivityColour(double value, double top)
{
    const double t = top > 0 ? std::clamp(value / top, 0.0, 1.0) : 0.0;
    const double pos = t * double(kScale.size() - 1);
    const int i = std::min(int(pos), int(kScale.size()) - 2);
    const double f = pos - i;
    const QColor a(kScale[size_t(i)]), b(kScale[size_t(i) + 1]);
    return QColor(int(std::lround(a.red() + (b.red() - a.red()) * f)),
                  int(std::lround(a.green() + (b.green() - a.green()) * f)),
                  int(std::lround(a.blue() + (b.blue() - a.blue()) * f)));
}

QColor PlateMap::GroupColour(int group)
{
    // No red (the alarm) and no blue (the scale) among them.
    static const std::array<QColor, 6> colours = {QColor(0, 160, 0),   QColor(235, 140, 0), QColor(190, 0, 190),
                                                  QColor(0, 160, 160), QColor(120, 80, 20), QColor(150, 150, 0)};
    return colours[size_t(std::max(group, 0)) % colours.size()];
}

QFont PlateMap::LabelFont(int pitch) const
{
    QFont f = font();
    const int px = QFontInfo(f).pixelSize();
    f.setPixelSize(std::clamp(pitch - 2, 7, std::max(px, 7)));
    return f;
}

void PlateMap::SetFigures(Figures figures)
{
    const bool reshaped = figures.rows != figures_.rows || figures.columns != figures_.columns
                          || figures.legendGroups != figures_.legendGroups;
    figures_ = std::move(figures);
    if (reshaped)
        updateGeometry();
}

int PlateMap::FooterHeight() const
{
    // The scale on one line, then the groups.
    return 4 + fontMetrics().height() * (1 + LegendLines());
}

int PlateMap::LegendLines() const
{
    int lines = 0;
    for (const LegendItem& item : Legend())
        lines = std::max(lines, item.line + 1);
    return lines;
}

QSize PlateMap::SizeForPitch(int pitch) const
{
    const QFontMetrics m(font());
    return {m.horizontalAdvance(QStringLiteral("MM")) + figures_.columns * pitch + 4,
            m.height() + figures_.rows * pitch + 4 + FooterHeight() + 2};
}

PlateMap::Geometry PlateMap::Layout() const
{
    Geometry g;
    const QFontMetrics m(font());
    g.labelWidth = m.horizontalAdvance(QStringLiteral("MM")) * (figures_.rows > 26 ? 2 : 1) / 2 + 4;
    g.headerHeight = m.height();
    const int rows = std::max(figures_.rows, 1), columns = std::max(figures_.columns, 1);
    const int byWidth = (width() - g.labelWidth - 2) / columns;
    const int byHeight = (height() - g.headerHeight - FooterHeight() - 2) / rows;
    g.pitch = std::max(std::min(byWidth, byHeight), 3);
    // The plate sits in the middle of what is left to it.
    const int plateWidth = g.labelWidth + columns * g.pitch;
    g.left = std::max((width() - plateWidth) / 2, 0) + g.labelWidth;
    g.top = g.headerHeight;
    return g;
}

QRect PlateMap::CellRect(int well) const
{
    if (well < 0 || well >= figures_.rows * figures_.columns)
        return {};
    return Cell(Layout(), well);
}

QRect PlateMap::Cell(const Geometry& g, int well) const
{
    const int column = well / figures_.rows, row = well % figures_.rows;
    return {g.left + column * g.pitch, g.top + row * g.pitch, g.pitch - 1, g.pitch - 1};
}

int PlateMap::WellAt(QPoint point) const
{
    const Geometry g = Layout();
    if (point.x() < g.left || point.y() < g.top)
        return -1;
    const int column = (point.x() - g.left) / g.pitch, row = (point.y() - g.top) / g.pitch;
    if (column >= figures_.columns || row >= figures_.rows)
        return -1;
    return column * figures_.rows + row;
}

void PlateMap::Draw()
{
    QImage& img = image();
    img.fill(background());
    const Figures& f = figures_;
    const int wells = f.rows * f.columns;
    // A few runaway wells should not wash out the rest: the busiest
    // twentieth of the moving wells is left out of the scale.
    std::vector<double> moving;
    for (int w = 0; w < wells && w < int(f.values.size()); ++w)
        if (w < int(f.used.size()) && f.used[size_t(w)] && f.values[size_t(w)] > 0)
            moving.push_back(f.values[size_t(w)]);
    double top = 0;
    if (!moving.empty()) {
        // Fewer than twenty moving wells are all on the scale.
        const size_t last = moving.size() - 1;
        const auto at = moving.begin() + std::ptrdiff_t(moving.size() < 20 ? last : last * 95 / 100);
        std::nth_element(moving.begin(), at, moving.end());
        top = *at;
    }
    scaleTop_ = RoundUp(top);

    QPainter p(&img);
    const Geometry g = Layout();
    const QFont labels = LabelFont(g.pitch);
    p.setFont(labels);
    p.setPen(kText);
    const QFontMetrics lm(labels);
    // Column numbers: every one when they fit, else every other one.
    const int step = lm.horizontalAdvance(QString::number(f.columns)) + 2 <= g.pitch ? 1 : 2;
    for (int c = 0; c < f.columns; c += step)
        p.drawText(QRect(g.left + c * g.pitch - g.pitch, 0, g.pitch * 3 - 1, g.headerHeight), Qt::AlignCenter,
                   QString::number(c + 1));
    for (int r = 0; r < f.rows; ++r)
        p.drawText(QRect(g.left - g.labelWidth, g.top + r * g.pitch, g.labelWidth - 3, g.pitch), Qt::AlignRight | Qt::AlignVCenter,
                   QString(QChar(u'A' + r)));

    const auto at = [](const auto& table, int w, auto fallback) {
        return w < int(table.size()) ? table[size_t(w)] : fallback;
    };
    const int outline = g.pitch >= 14 ? 2 : 1;
    for (int w = 0; w < wells; ++w) {
        const QRect cell = Cell(g, w);
        if (!at(f.used, w, false)) {
            p.fillRect(cell, kUnusedWell);
            continue;
        }
        p.fillRect(cell, ActivityColour(at(f.values, w, 0.0), scaleTop_));
        const int group = at(f.group, w, -1);
        if (at(f.inactive, w, false)) {
            Frame(p, cell, outline + 1, kInactive);
            p.setPen(kInactive);
            p.drawLine(cell.topLeft() + QPoint(2, 2), cell.bottomRight() - QPoint(2, 2));
        } else {
            Frame(p, cell, group >= 0 ? outline : 1, group >= 0 ? GroupColour(group) : kCellEdge);
        }
    }
    if (f.selectedWell >= 0 && f.selectedWell < wells) {
        const QRect cell = Cell(g, f.selectedWell);
        Frame(p, cell.adjusted(-2, -2, 1, 1), 2, kSelected);
    }
    DrawFooter(p, g.top + f.rows * g.pitch + 4);
    p.end();
    changed();
}

void PlateMap::DrawFooter(QPainter& p, int top)
{
    const Figures& f = figures_;
    p.setFont(font());
    const QFontMetrics m(font());
    const int x0 = 4, line = m.height();
    // "0 [scale] 50  counts per beam, last cycle" on one line.
    const QString topText = QString::number(scaleTop_);
    const QString unit = QStringLiteral("counts per beam, %1").arg(f.windowText);
    const int zeroWidth = m.horizontalAdvance(QStringLiteral("0")) + 4;
    const int barWidth = std::clamp(width() - x0 - zeroWidth - m.horizontalAdvance(topText + unit) - 20, 30, 140);
    const int barLeft = x0 + zeroWidth, barTop = top + (line - kScaleBar) / 2;
    QLinearGradient gradient(barLeft, 0, barLeft + barWidth, 0);
    for (size_t i = 0; i < kScale.size(); ++i)
        gradient.setColorAt(double(i) / double(kScale.size() - 1), QColor(kScale[i]));
    p.fillRect(QRect(barLeft, barTop, barWidth, kScaleBar), gradient);
    p.setPen(kCellEdge);
    p.drawRect(QRect(barLeft, barTop, barWidth - 1, kScaleBar - 1));
    p.setPen(kText);
    p.drawText(QRect(x0, top, zeroWidth, line), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("0"));
    p.drawText(QRect(barLeft + barWidth + 4, top, width(), line), Qt::AlignLeft | Qt::AlignVCenter,
               topText + QStringLiteral("  ") + unit);

    // The groups' colours, as many as two lines hold.
    const int box = line - 4;
    for (const LegendItem& item : Legend()) {
        const int y = top + line * (1 + item.line);
        if (item.index < 0) {
            p.drawText(QRect(item.x, y, width() - item.x, line), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("+%1").arg(f.legendGroups.size() - size_t(-item.index - 1)));
            break;
        }
        Frame(p, QRect(item.x + 1, y + 3, box - 2, box - 2), 2, GroupColour(f.legendGroups[size_t(item.index)]));
        p.setPen(kText);
        p.drawText(QRect(item.x + box + 4, y, width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                   f.groupText[size_t(item.index)]);
    }
}

std::vector<PlateMap::LegendItem> PlateMap::Legend() const
{
    std::vector<LegendItem> items;
    const QFontMetrics m(font());
    const int box = m.height() - 4;
    int x = 4, line = 0;
    const size_t n = std::min(figures_.legendGroups.size(), figures_.groupText.size());
    for (size_t i = 0; i < n; ++i) {
        const int itemWidth = box + 4 + m.horizontalAdvance(figures_.groupText[i]) + 10;
        if (x > 4 && x + itemWidth > width()) {
            if (++line == 2) {
                // No room for the rest: they are counted on the second line.
                items.push_back({-int(i) - 1, items.empty() ? 4 : x, 1});
                break;
            }
            x = 4;
        }
        items.push_back({int(i), x, line});
        x += itemWidth;
    }
    return items;
}

void PlateMap::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const int well = WellAt(event->position().toPoint());
        if (well >= 0 && well < int(figures_.used.size()) && figures_.used[size_t(well)])
            Q_EMIT wellClicked(well);
    }
    PictureBox::mousePressEvent(event);
}

bool PlateMap::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int well = WellAt(help->pos());
        if (well >= 0 && ToolTipFor)
            QToolTip::showText(help->globalPos(), ToolTipFor(well), this, CellRect(well));
        else
            QToolTip::hideText();
        return true;
    }
    return PictureBox::event(event);
}

} // namespace bandora
