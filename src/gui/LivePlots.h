#pragma once

#include "ActivityPanel.h"
#include "SignalPlot.h"
#include "core/acquisition/LiveDisplay.h"
#include "core/display/ChannelSelection.h"
#include "core/storage/ProjectSetup.h"

#include <QObject>

#include <array>

class QLabel;
class QLineEdit;

namespace bandora {

struct AppState;
struct CycleState;
class PictureBox;
class PlateMapPanel;

// The main window's live display: the sweeping signal plot of the selected
// channel with its zoom, the activity panel, the time bar and Txt_time. It
// reads the cycle's buffers and counts and draws into the picture areas,
// which show the drawing on screen at their capped rate.
class LivePlots final : public QObject, public LiveDisplay {
    Q_OBJECT
public:
    LivePlots(AppState& state, const CycleState& cycle, PictureBox& Picreal, PictureBox& Picact,
              PictureBox& picturetime, QLineEdit& Txt_time, QObject* parent = nullptr);

    // --- LiveDisplay: called by the acquisition cycle and the run control --
    void ResetActivityPanel() override;
    void ResetSignalPlot() override;
    void RedrawSignal() override;
    void DrawNewPoints() override;
    void DrawActivityPanel(const QString& temperatureText) override;
    void ShowElapsed(qint64 elapsedMs, qint32 elapsedMinutes, qint16 aqLapse) override;
    void RunStarted() override;
    void BufferCycleCounted() override;

    // The plate map that follows the counts, and the label beside Txt_time
    // that tells the lapse, the end and the time left; both may be left out.
    void SetPlateMap(PlateMapPanel* map) { map_ = map; }
    void SetRunTimeLabel(QLabel* label) { runTime_ = label; }

    // --- the window's own controls ----------------------------------------

    // Shows this channel (0..384) from now on: its history in the buffer at
    // once, and its well and group in the activity panel.
    void SelectChannel(int channel);
    int SelectedChannel() const;
    const ChannelView& View() const { return view_; }

    // The zoom steps, 0 (raw signal) to 10. Each change takes every channel's
    // reference again from its buffer (unless it goes back to 0) and redraws.
    int Zoom() const { return zoom_; }
    void ZoomIn();
    void ZoomOut();
    qint16 ChannelReference(int channel) const { return ChannelReference_[size_t(channel)]; }

    // The well and group of the selected channel again, after the project's
    // groups or plate changed.
    void RefreshView();

private:
    // Everything drawn again up to the last column drawn: after a resize, a
    // new selection or a zoom step.
    void Redraw();
    void RedrawActivity();
    void DrawTimeBar();
    void TakeReference();

    AppState& state_;
    const CycleState& cycle_;
    PictureBox& picreal_;
    PictureBox& picact_;
    PictureBox& picturetime_;
    QLineEdit& txtTime_;
    SignalPlot signal_;
    ActivityPanel activity_;

    ChannelView view_;
    int zoom_ = 0;
    std::array<qint16, kChannelTable> ChannelReference_{};
    int drawnTo_ = -1; // last column of the trace drawn in this pass; -1 none
    bool activityDrawn_ = false;
    QString temperatureText_;
    double lapseFraction_ = 0;
    PlateMapPanel* map_ = nullptr;
    QLabel* runTime_ = nullptr;
};

} // namespace bandora
