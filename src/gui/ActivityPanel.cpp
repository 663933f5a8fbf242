#include "ActivityPanel.h"

#include "PictureBox.h"
#include "core/common/Rounding.h"
#include "core/display/ChannelSelection.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace bandora {

namespace {

constexpr double kLeft = -30, kRight = 300, kTop = 300, kBottom = -30;
// Rows of lettering, from the top: the temperature and samples, the bar
// labels, the bar values.
constexpr double kLabelRow = 275;
constexpr double kValueRow = 250;

QString Count(double value) { return QString::number(RoundHalfEven(value)); }

} // namespace

QPointF ActivityPanel::Map(double x, double y) const
{
    const QImage& img = box_.image();
    return {(x - kLeft) * img.width() / (kRight - kLeft), (kTop - y) * img.height() / (kTop - kBottom)};
}

void ActivityPanel::Begin(QPainter& p, int channel)
{
    QImage& img = box_.image();
    img.fill(box_.background());
    QFont font = p.font();
    // Rows of lettering are 25 units apart; the letters fill most of that,
    // and the narrowest texts still fit their 60-unit columns.
    const double unitY = img.height() / (kTop - kBottom);
    const double unitX = img.width() / (kRight - kLeft);
    const double window = QFontInfo(box_.font()).pixelSize();
    font.setPixelSize(std::max(int(std::min({window, unitY * 20, unitX * 10})), 8));
    p.setFont(font);
    p.setPen(Qt::black);
    p.fillRect(QRectF(Map(0, 255), Map(2, 0)).normalized(), Qt::black);
    p.fillRect(QRectF(Map(0, 2), Map(255, 0)).normalized(), Qt::black);
    Text(p, 10, -5, Title(channel));
}

void ActivityPanel::Bar(QPainter& p, double left, double right, double count)
{
    const double top = count - 1;
    if (top <= 3)
        return;
    p.fillRect(QRectF(Map(left, top), Map(right, 3)).normalized(), QColor(128, 128, 128));
}

void ActivityPanel::Text(QPainter& p, double x, double y, const QString& text)
{
    const QPointF at = Map(x, y);
    const QRectF room(at.x(), at.y(), box_.image().width() - at.x(), box_.image().height() - at.y());
    p.drawText(room, Qt::AlignLeft | Qt::AlignTop,
               p.fontMetrics().elidedText(text, Qt::ElideRight, int(std::max(room.width(), 0.0))));
}

void ActivityPanel::Reset(int channel)
{
    QPainter p(&box_.image());
    Begin(p, channel);
    box_.changed();
}

void ActivityPanel::Draw(const ChannelView& view, const ActivityFigures& figures, const QString& temperatureText,
                         qint64 samples)
{
    QPainter p(&box_.image());
    Begin(p, view.channel);

    Bar(p, 11, 39, figures.channel);
    Text(p, 10, kLabelRow, QStringLiteral("Channel"));
    Text(p, 20, kValueRow, QString::number(figures.channel));

    Bar(p, 81, 109, figures.well);
    Text(p, 80, kLabelRow, QStringLiteral("Well ") + view.wellLabel);
    Text(p, 80, kValueRow, Count(figures.well));

    if (figures.hasGroup) {
        Bar(p, 141, 169, figures.group);
        Text(p, 140, kLabelRow, view.groupLabel);
        Text(p, 140, kValueRow, Count(figures.group));
    }

    Text(p, 0, kTop, QStringLiteral("NSamp=%1").arg(samples));
    Text(p, 250, kTop, QStringLiteral("T=%1*C").arg(temperatureText));
    box_.changed();
}

} // namespace bandora
