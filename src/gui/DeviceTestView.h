#pragma once

#include "core/tools/DeviceTest.h"

#include <QObject>
#include <QTimer>

class QLabel;
class QPainter;

namespace bandora {

struct AppState;
class LiveDisplay;
class PictureBox;

// "Test DEVICE" on the main window: takes the activity panel over for the
// map of the 384 beams (24 columns by 16 rows of grey squares, brighter for a
// stronger signal), steps the test from Timer_test and shows the step in the
// progress bar. When the test ends or is cancelled the panel goes back to
// its normal drawing.
class DeviceTestView final : public QObject {
    Q_OBJECT
public:
    // Map geometry in units: squares of 100 after a margin of 75 for the
    // column numbers and row letters.
    static constexpr int kSquare = 100;
    static constexpr int kMargin = 75;
    static constexpr int kColumns = 24;
    static constexpr int kRows = 16;

    DeviceTestView(AppState& state, PictureBox& Picact, PictureBox& picturetime, LiveDisplay& display,
                   QObject* parent = nullptr);

    // The menu entry.
    void Start();
    // One tick of Timer_test (tests call it instead of waiting).
    void OnTick();
    // STOP: the test ends at once.
    void Stop();

    // The grey level of a beam value: value / 8, held to 0..255.
    static int GreyLevel(qint16 value);

    const DeviceTest& Test() const { return test_; }
    QTimer Timer_test;
    QLabel* lbl_autostart = nullptr;

private:
    void DrawTestMap();
    void PaintTestMap();
    void DrawProgress();
    void DrawGrid(QPainter& p);
    void Finish();

    AppState& state_;
    PictureBox& picact_;
    PictureBox& picturetime_;
    LiveDisplay& display_;
    DeviceTest test_;
};

} // namespace bandora
