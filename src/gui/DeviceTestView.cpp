#include "DeviceTestView.h"

#include "PictureBox.h"
#include "core/AppState.h"
#include "core/acquisition/LiveDisplay.h"

#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace bandora {

namespace {

constexpr double kWidthUnits = DeviceTestView::kMargin + DeviceTestView::kColumns * DeviceTestView::kSquare;
constexpr double kHeightUnits = DeviceTestView::kMargin + DeviceTestView::kRows * DeviceTestView::kSquare;

// The strip above the map where lbl_autostart sits, in pixels.
constexpr int kLabelStrip = 22;

// The map fills the panel below the label strip: map units onto pixels.
QTransform MapUnits(const QImage& img)
{
    QTransform t;
    t.translate(0, kLabelStrip);
    t.scale(img.width() / kWidthUnits, std::max(1, img.height() - kLabelStrip) / kHeightUnits);
    return t;
}

} // namespace

DeviceTestView::DeviceTestView(AppState& state, PictureBox& Picact, PictureBox& picturetime, LiveDisplay& display,
                               QObject* parent)
    : QObject(parent), state_(state), picact_(Picact), picturetime_(picturetime), display_(display),
      test_(state.services, state.instrument, state.run)
{
    Timer_test.setObjectName(QStringLiteral("Timer_test"));
    Timer_test.setSingleShot(true);
    connect(&Timer_test, &QTimer::timeout, this, &DeviceTestView::OnTick);
    lbl_autostart = new QLabel(&Picact);
    lbl_autostart->setObjectName(QStringLiteral("lbl_autostart"));
    lbl_autostart->setStyleSheet(QStringLiteral("QLabel { background: #ffffc0; color: black; padding: 1px; }"));
    lbl_autostart->hide();
    // A resized panel comes back blank (and the live display draws its own
    // picture on it): while the test runs the map is drawn again at once.
    connect(&picact_, &PictureBox::resized, this, [this] {
        if (test_.Running()) {
            DrawTestMap();
            PaintTestMap();
        }
    });
}

int DeviceTestView::GreyLevel(qint16 value)
{
    return std::clamp(value / 8, 0, 255);
}

void DeviceTestView::Start()
{
    if (test_.Running())
        return;
    if (!test_.Start()) {
        if (state_.run.State == AcquisitionState::Stopped)
            Finish(); // Cancel: the panel back to its normal drawing
        return;
    }
    DrawTestMap();
    lbl_autostart->setText(QStringLiteral("Open and close Bandora Door to see sensing changes"));
    lbl_autostart->adjustSize();
    lbl_autostart->move(2, 1);
    lbl_autostart->show();
    lbl_autostart->raise();
    Timer_test.start(DeviceTest::kFirstTickMs);
}

void DeviceTestView::OnTick()
{
    // The timer is single-shot and started again after the step: a step's
    // message box runs its own event loop, in which a repeating timer would
    // start the next step inside this one.
    const bool going = test_.Tick([this] {
        PaintTestMap();
        DrawProgress();
    });
    if (going && test_.Running())
        Timer_test.start(DeviceTest::kTickMs);
    else
        Finish();
}

void DeviceTestView::DrawTestMap()
{
    QImage& img = picact_.image();
    img.fill(Qt::white);
    QPainter p(&img);
    // The lettering is drawn in pixels, so it stays legible however the map
    // is stretched.
    const QTransform map = MapUnits(img);
    QFont font = p.font();
    font.setPixelSize(std::clamp(int(map.m22() * kMargin * 0.8), 9, 14));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::red);
    for (int c = 0; c < kColumns; ++c)
        p.drawText(map.mapRect(QRectF(kMargin + c * kSquare, 0, kSquare, kMargin)), Qt::AlignCenter,
                   QString::number(c + 1));
    for (int r = 0; r < kRows; ++r)
        p.drawText(map.mapRect(QRectF(0, kMargin + r * kSquare, kMargin, kSquare)), Qt::AlignCenter,
                   QString(QChar('A' + r)));
    p.setTransform(map);
    DrawGrid(p);
    picact_.changed();
}

void DeviceTestView::PaintTestMap()
{
    QImage& img = picact_.image();
    QPainter p(&img);
    p.setTransform(MapUnits(img));
    const auto& signal = test_.Signal();
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            const int grey = GreyLevel(signal[size_t(kRows * c + r)]);
            p.fillRect(QRectF(kMargin + c * kSquare, kMargin + r * kSquare, kSquare, kSquare),
                       QColor(grey, grey, grey));
        }
    }
    DrawGrid(p);
    picact_.changed();
}

void DeviceTestView::DrawGrid(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(Qt::red, 1);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (int c = 0; c <= kColumns; ++c)
        p.drawLine(QLineF(kMargin + c * kSquare, kMargin, kMargin + c * kSquare, kHeightUnits));
    for (int r = 0; r <= kRows; ++r)
        p.drawLine(QLineF(kMargin, kMargin + r * kSquare, kWidthUnits, kMargin + r * kSquare));
    for (int c = 0; c < kColumns; ++c)
        for (int r = 0; r < kRows; ++r)
            p.drawEllipse(QRectF(kMargin + c * kSquare + 8, kMargin + r * kSquare + 8, kSquare - 16, kSquare - 16));
}

void DeviceTestView::DrawProgress()
{
    QImage& img = picturetime_.image();
    img.fill(picturetime_.background());
    QPainter p(&img);
    const double done = std::min(1.0, (test_.TestStep() + 1) / double(DeviceTest::kLastStep + 1));
    p.fillRect(QRectF(0, 0, img.width() * done, img.height()), QColor(0x00, 0x00, 0xC0));
    picturetime_.changed();
}

void DeviceTestView::Stop()
{
    if (!test_.Running())
        return;
    test_.Stop();
    Finish();
}

void DeviceTestView::Finish()
{
    Timer_test.stop();
    lbl_autostart->hide();
    picact_.clear();
    picturetime_.clear();
    display_.ResetActivityPanel();
}

} // namespace bandora
