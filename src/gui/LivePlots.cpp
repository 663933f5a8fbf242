#include "LivePlots.h"

#include "PictureBox.h"
#include "PlateMapPanel.h"
#include "core/AppState.h"
#include "core/acquisition/CycleState.h"
#include "core/common/Clock.h"
#include "core/display/RunTimeText.h"
#include "core/display/SignalTrace.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>

namespace bandora {

LivePlots::LivePlots(AppState& state, const CycleState& cycle, PictureBox& Picreal, PictureBox& Picact,
                     PictureBox& picturetime, QLineEdit& Txt_time, QObject* parent)
    : QObject(parent), state_(state), cycle_(cycle), picreal_(Picreal), picact_(Picact),
      picturetime_(picturetime), txtTime_(Txt_time), signal_(Picreal), activity_(Picact)
{
    view_ = ChannelView::Of(state_.SelectedChannel, state_.project.setup, state_.project.plate);
    signal_.SetBuffer(cycle_.RT_Buffer());
    // A resized picture area comes back blank: everything it showed is drawn
    // again from the buffers.
    connect(&picreal_, &PictureBox::resized, this, &LivePlots::Redraw);
    connect(&picact_, &PictureBox::resized, this, &LivePlots::RedrawActivity);
    connect(&picturetime_, &PictureBox::resized, this, &LivePlots::DrawTimeBar);
}

// --- what the cycle calls ---------------------------------------------------------

void LivePlots::ResetActivityPanel()
{
    activityDrawn_ = false;
    activity_.Reset(view_.channel);
}

void LivePlots::ResetSignalPlot()
{
    drawnTo_ = -1;
    Redraw();
}

void LivePlots::RedrawSignal()
{
    drawnTo_ = cycle_.Column;
    if (zoom_ > 0)
        TakeReference();
    Redraw();
}

void LivePlots::DrawNewPoints()
{
    const int rtBuffer = cycle_.RT_Buffer();
    if (rtBuffer != signal_.Buffer()) {
        drawnTo_ = -1;
        Redraw();
    }
    const int column = std::clamp<int>(cycle_.Column, 0, rtBuffer - 1);
    const int ch = view_.channel;
    const int reference = ChannelReference_[size_t(ch)];
    const auto draw = [&](int from, int to) {
        signal_.DrawCurve(cycle_.Sample.Row(ch), from, to, signal_.TraceColour(), reference, zoom_, false);
        signal_.DrawCurve(cycle_.Level.Row(ch), from, to, signal_.LevelColour(), reference, zoom_, true);
    };
    if (column < drawnTo_) {
        // A new pass: the old one is finished before the sweep starts over.
        draw(drawnTo_ + 1, rtBuffer - 1);
        drawnTo_ = -1;
    }
    draw(drawnTo_ + 1, column);
    signal_.DrawBand(column);
    drawnTo_ = column;
}

void LivePlots::DrawActivityPanel(const QString& temperatureText)
{
    temperatureText_ = temperatureText;
    activityDrawn_ = true;
    RedrawActivity();
    // In zero mode the counts only come at the buffer-cycle end; until then
    // they are the last cycle's.
    if (map_ && !state_.run.AutoZero && state_.run.State == AcquisitionState::Running)
        map_->TakeLive(cycle_.IntervalCount, double(cycle_.Column + 1) / std::max(cycle_.RT_Buffer(), 1));
}

void LivePlots::RunStarted()
{
    if (map_)
        map_->StartRun();
}

void LivePlots::BufferCycleCounted()
{
    if (map_ && !state_.run.BlankReading)
        map_->EndCycle(cycle_.IntervalCount);
}

void LivePlots::ShowElapsed(qint64 elapsedMs, qint32 elapsedMinutes, qint16 aqLapse)
{
    txtTime_.setText(ElapsedTimeText(elapsedMs));
    Q_UNUSED(elapsedMinutes);
    lapseFraction_ = LapseProgress(elapsedMs, aqLapse);
    DrawTimeBar();
    if (runTime_)
        runTime_->setText(RunTimeText(elapsedMs, aqLapse, state_.services.clock.now(),
                                      state_.run.State == AcquisitionState::Paused && state_.run.TimeCounterPaused));
}

// --- the window's controls ----------------------------------------------------------

void LivePlots::SelectChannel(int channel)
{
    state_.SelectedChannel = qint16(std::clamp(channel, 0, kChannels));
    RefreshView();
}

int LivePlots::SelectedChannel() const { return view_.channel; }

void LivePlots::RefreshView()
{
    view_ = ChannelView::Of(state_.SelectedChannel, state_.project.setup, state_.project.plate);
    Redraw();
    RedrawActivity();
    if (map_) {
        map_->Prepare();
        map_->ShowSelection();
    }
}

void LivePlots::ZoomIn()
{
    zoom_ = std::min(zoom_ + 1, SignalScale::kMaxZoom);
    TakeReference();
    Redraw();
}

void LivePlots::ZoomOut()
{
    zoom_ = std::max(zoom_ - 1, 0);
    if (zoom_ > 0)
        TakeReference();
    Redraw();
}

// --- drawing -------------------------------------------------------------------------

void LivePlots::TakeReference()
{
    ComputeChannelReference(cycle_.Sample, drawnTo_ >= 0 ? drawnTo_ : cycle_.Column, ChannelReference_);
}

void LivePlots::Redraw()
{
    signal_.SetBuffer(cycle_.RT_Buffer());
    signal_.Clear();
    if (drawnTo_ < 0)
        return;
    const int ch = view_.channel;
    const int reference = ChannelReference_[size_t(ch)];
    signal_.DrawCurve(cycle_.Sample.Row(ch), 1, drawnTo_, signal_.TraceColour(), reference, zoom_, false);
    signal_.DrawCurve(cycle_.Level.Row(ch), 1, drawnTo_, signal_.LevelColour(), reference, zoom_, true);
    signal_.DrawBand(drawnTo_);
}

void LivePlots::RedrawActivity()
{
    if (!activityDrawn_) {
        activity_.Reset(view_.channel);
        return;
    }
    activity_.Draw(view_, FiguresOf(view_, cycle_.IntervalCount), temperatureText_, cycle_.TotalTicks);
}

void LivePlots::DrawTimeBar()
{
    QImage& img = picturetime_.image();
    img.fill(picturetime_.background());
    QPainter p(&img);
    p.fillRect(QRectF(0, 0, img.width() * lapseFraction_, img.height()), QColor(0xFF, 0x00, 0x00));
    picturetime_.changed();
}

} // namespace bandora
