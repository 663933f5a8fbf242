#include "RunBar.h"

#include "WidgetHelpers.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace bandora {

RunBar::RunBar(QWidget* parent) : QWidget(parent)
{
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(6);
    rows->addWidget(BuildButtonRow());
    rows->addWidget(BuildExperimentRow());

    connect(CmdPlay, &QPushButton::clicked, this, &RunBar::startPressed);
    connect(CmdPause, &QPushButton::clicked, this, &RunBar::pausePressed);
    connect(CmdStop, &QPushButton::clicked, this, &RunBar::stopPressed);
    connect(CmdSetup, &QPushButton::clicked, this, &RunBar::setupPressed);
    connect(CmdOffline, &QPushButton::clicked, this, &RunBar::offlinePressed);
    connect(Cmdreport, &QPushButton::clicked, this, &RunBar::reportPressed);
}

QWidget* RunBar::BuildButtonRow()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);

    CmdPlay = Button("CmdPlay", QStringLiteral("Start"), bar);
    CmdPause = Button("CmdPause", QStringLiteral("Pause"), bar);
    CmdStop = Button("CmdStop", QStringLiteral("Stop"), bar);
    CmdSetup = Button("CmdSetup", QStringLiteral("Setup"), bar);
    CmdOffline = Button("CmdOffline", QStringLiteral("Offline"), bar);
    Cmdreport = Button("Cmdreport", QStringLiteral("Report"), bar);
    CmdMain = Button("CmdMain", QStringLiteral("Main"), bar);

    CmdPlay->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    CmdPause->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
    CmdStop->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    for (QPushButton* b : {CmdPlay, CmdPause, CmdStop, CmdSetup, CmdOffline, Cmdreport, CmdMain})
        MarkRunButton(b);
    // The main button is where the focus rests between actions; it has no
    // action of its own.
    CmdMain->setFlat(true);

    row->addWidget(CmdPlay);
    row->addWidget(CmdPause);
    row->addWidget(CmdStop);
    row->addSpacing(18);
    row->addWidget(CmdSetup);
    row->addWidget(CmdOffline);
    row->addWidget(Cmdreport);
    row->addSpacing(12);
    lbl_status = Named(new QLabel(bar), "lbl_status");
    lbl_status->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    lbl_status->hide();
    lbl_timecounter = Named(new QLabel(bar), "lbl_timecounter");
    lbl_calibrating = Named(new QLabel(bar), "lbl_calibrating");
    lbl_calibrating->hide();
    pic_calibra = Named(new QProgressBar(bar), "pic_calibra");
    pic_calibra->setTextVisible(false);
    pic_calibra->setMaximumWidth(160);
    pic_calibra->hide();
    lbl_recording = Named(new QLabel(bar), "lbl_recording");
    lbl_recording->setStyleSheet(QStringLiteral("color: white; background: #c00000; font-weight: bold; padding: 2px;"));
    lbl_recording->setWordWrap(true);
    lbl_recording->hide();
    lbl_link = Named(new QLabel(bar), "lbl_link");
    lbl_link->setStyleSheet(lbl_recording->styleSheet());
    lbl_link->setWordWrap(true);
    lbl_link->hide();
    row->addWidget(lbl_status);
    row->addWidget(lbl_timecounter);
    row->addWidget(lbl_calibrating);
    row->addWidget(pic_calibra);
    row->addWidget(lbl_recording, 1);
    row->addWidget(lbl_link, 1);
    row->addStretch(1);
    row->addWidget(CmdMain);
    return bar;
}

QWidget* RunBar::BuildExperimentRow()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);

    txt_projecto = Box("txt_projecto", bar);
    txt_projecto->setReadOnly(true);
    Txt_description = Box("Txt_description", bar);
    Txt_description->setPlaceholderText(QStringLiteral("description of the next experiment"));
    Txt_time = Box("Txt_time", bar, 16);
    Txt_time->setReadOnly(true);
    Txt_time->setAlignment(Qt::AlignCenter);
    combo_minutes = Named(new QComboBox(bar), "combo_minutes");
    combo_minutes->setMinimumContentsLength(5);

    row->addWidget(new QLabel(QStringLiteral("Project:"), bar));
    row->addWidget(txt_projecto, 2);
    row->addSpacing(10);
    row->addWidget(new QLabel(QStringLiteral("Description:"), bar));
    row->addWidget(Txt_description, 5);
    row->addSpacing(10);
    row->addWidget(new QLabel(QStringLiteral("Time:"), bar));
    row->addWidget(Txt_time);
    lbl_runtime = Named(new QLabel(bar), "lbl_runtime");
    row->addWidget(lbl_runtime);
    row->addSpacing(10);
    row->addWidget(new QLabel(QStringLiteral("Minutes:"), bar));
    row->addWidget(combo_minutes);
    return bar;
}

void RunBar::FitToFont(const QFontMetrics& m)
{
    Txt_time->setMinimumWidth(Txt_time->maximumWidth());
    txt_projecto->setMinimumWidth(m.horizontalAdvance(QLatin1Char('M')) * 14);
    txt_projecto->setMaximumWidth(txt_projecto->minimumWidth() * 2);
}

void RunBar::ShowRunning(bool running)
{
    CmdPlay->setEnabled(!running);
    CmdSetup->setEnabled(!running);
    CmdOffline->setEnabled(!running);
    CmdPause->setEnabled(running);
}

void RunBar::LockForBlank()
{
    CmdSetup->setEnabled(false);
    CmdOffline->setEnabled(false);
}

void RunBar::EnablePause(bool enabled) { CmdPause->setEnabled(enabled); }

void RunBar::ShowPaused(bool paused)
{
    CmdPause->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
    CmdPause->setIcon(style()->standardIcon(paused ? QStyle::SP_MediaPlay : QStyle::SP_MediaPause));
    lbl_timecounter->setVisible(paused);
}

void RunBar::ShowStatus(const QString& text)
{
    lbl_status->setText(text);
    lbl_status->setVisible(!text.isEmpty());
}

void RunBar::ShowRunLabel(const QString& text) { lbl_timecounter->setText(text); }

void RunBar::ShowCalibrating(const QString& text)
{
    lbl_calibrating->setText(text);
    lbl_calibrating->setVisible(!text.isEmpty());
    pic_calibra->setVisible(!text.isEmpty());
}

QString RunBar::CalibratingText() const { return lbl_calibrating->text(); }

void RunBar::ScaleProgress(int width)
{
    pic_calibra->setRange(0, width);
    pic_calibra->setValue(0);
}

void RunBar::ProgressMark(int x) { pic_calibra->setValue(x); }

void RunBar::ShowRecordingNotice(const QString& text)
{
    lbl_recording->setText(text);
    lbl_recording->setVisible(!text.isEmpty());
}

void RunBar::ShowLinkNotice(const QString& text)
{
    lbl_link->setText(text);
    lbl_link->setVisible(!text.isEmpty());
}

void RunBar::FocusMain() { CmdMain->setFocus(); }

void RunBar::ShowProjectName(const QString& name) { txt_projecto->setText(name); }

QString RunBar::Description() const { return Txt_description->text(); }

void RunBar::SetDescription(const QString& text) { Txt_description->setText(text); }

void RunBar::FillDurationList()
{
    combo_minutes->clear();
    combo_minutes->addItems({QStringLiteral("15"), QStringLiteral("30"), QStringLiteral("60"), QStringLiteral("120"),
                             QStringLiteral("180"), QStringLiteral("240"), QStringLiteral("360"),
                             QStringLiteral("480"), QStringLiteral("720"), QStringLiteral("1440")});
    combo_minutes->setCurrentIndex(1);
}

QString RunBar::BinMinutes() const { return combo_minutes->currentText(); }

} // namespace bandora
