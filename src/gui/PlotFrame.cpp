#include "PlotFrame.h"

#include <QFontMetrics>

#include <cmath>

namespace bandora {

namespace {

constexpr int kTick = 4;

} // namespace

PlotFrame PlotFrame::Inside(const QImage& image, int left, int top, int right, int bottom)
{
    PlotFrame f;
    const int w = qMax(image.width() - left - right, 20);
    const int h = qMax(image.height() - top - bottom, 20);
    f.Box = QRect(left, top, w, h);
    return f;
}

double PlotFrame::PyClamped(double y) const { return qBound<double>(Box.top(), Py(y), Box.bottom()); }

QFont PlotFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void DrawBox(QPainter& p, const PlotFrame& f)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(f.Box.adjusted(0, 0, -1, -1));
}

void DrawYLabel(QPainter& p, const PlotFrame& f, double y, const QString& text)
{
    const int py = int(std::lround(f.Py(y)));
    p.setPen(Qt::black);
    p.drawLine(f.Box.left() - kTick, py, f.Box.left(), py);
    p.setFont(PlotFont());
    const QRect r(0, py - 10, f.Box.left() - kTick - 3, 20);
    p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, text);
}

void DrawXLabel(QPainter& p, const PlotFrame& f, double x, const QString& text)
{
    const int px = int(std::lround(f.Px(x)));
    p.setPen(Qt::black);
    p.drawLine(px, f.Box.bottom(), px, f.Box.bottom() + kTick);
    p.setFont(PlotFont());
    const int w = QFontMetrics(p.font()).horizontalAdvance(text) + 4;
    // Labels at the ends stay inside the image.
    const int left = qBound(0, px - w / 2, p.device()->width() - w);
    p.drawText(QRect(left, f.Box.bottom() + kTick + 1, w, 18), Qt::AlignCenter, text);
}

void DrawXTitle(QPainter& p, const PlotFrame& f, const QString& text)
{
    p.setPen(Qt::black);
    p.setFont(PlotFont(13, true));
    p.drawText(QRect(f.Box.left(), f.Box.bottom() + 22, f.Box.width(), 20), Qt::AlignCenter, text);
}

void DrawYTitle(QPainter& p, const PlotFrame& f, const QString& text)
{
    p.save();
    p.setPen(Qt::black);
    p.setFont(PlotFont(13, true));
    p.translate(4, f.Box.center().y());
    p.rotate(-90);
    p.drawText(QRect(-f.Box.height() / 2, 0, f.Box.height(), 18), Qt::AlignCenter, text);
    p.restore();
}

void DrawTitle(QPainter& p, const PlotFrame& f, const QString& text)
{
    p.setPen(Qt::black);
    p.setFont(PlotFont(14, true));
    p.drawText(QRect(f.Box.left(), 4, f.Box.width(), 20), Qt::AlignLeft | Qt::AlignVCenter, text);
}

void DrawLegend(QPainter& p, const PlotFrame& f, const QVector<LegendEntry>& entries)
{
    p.setFont(PlotFont());
    const QFontMetrics m(p.font());
    int x = f.Box.right();
    const int y = f.Box.top() - 12;
    for (auto it = entries.crbegin(); it != entries.crend(); ++it) {
        const int w = m.horizontalAdvance(it->Text);
        x -= w;
        p.setPen(Qt::black);
        p.drawText(QRect(x, y - 9, w + 2, 18), Qt::AlignLeft | Qt::AlignVCenter, it->Text);
        x -= 26;
        p.setPen(QPen(it->Colour, 3));
        p.drawLine(x, y, x + 20, y);
        x -= 14;
    }
}

double NiceStep(double range, int ticks)
{
    if (range <= 0 || ticks <= 0)
        return 1;
    const double raw = range / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (raw <= m * power)
            return m * power;
    return 10 * power;
}

void DrawPlotMessage(QImage& image, const QString& text)
{
    QPainter p(&image);
    p.setPen(Qt::darkGray);
    p.setFont(PlotFont(16, true));
    p.drawText(image.rect(), Qt::AlignCenter | Qt::TextWordWrap, text);
}

} // namespace bandora
