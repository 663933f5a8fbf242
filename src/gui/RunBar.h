#pragma once

#include <QWidget>

class QComboBox;
class QFontMetrics;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace bandora {

// The two rows across the top of the main window: the buttons that start,
// pause and stop a run and open the other windows, with the notices of how
// the run stands (status, time counter, calibration progress, recording and
// link problems); below them the project, the description of the next
// experiment, the run's time and lapse, and the report's bin minutes.
class RunBar final : public QWidget {
    Q_OBJECT
public:
    explicit RunBar(QWidget* parent = nullptr);

    // The buttons while a run goes or not, and while the blank is read.
    void ShowRunning(bool running);
    void LockForBlank();
    void EnablePause(bool enabled);
    // CmdPause resumes a paused run; the time counter's label only holds
    // while the run is paused.
    void ShowPaused(bool paused);
    // The status frame; empty hides it.
    void ShowStatus(const QString& text);
    void ShowRunLabel(const QString& text);
    // The calibration, zero or blank progress with its bar; empty hides both.
    void ShowCalibrating(const QString& text);
    QString CalibratingText() const;
    void ScaleProgress(int width);
    void ProgressMark(int x);
    // The recording and link notices; empty hides them.
    void ShowRecordingNotice(const QString& text);
    void ShowLinkNotice(const QString& text);
    // The focus rests on CmdMain between actions.
    void FocusMain();

    void ShowProjectName(const QString& name);
    QString Description() const;
    void SetDescription(const QString& text);
    // combo_minutes: 15 .. 1440 minutes, 30 selected.
    void FillDurationList();
    QString BinMinutes() const;

    // Where the live display writes the run's time and lapse.
    QLineEdit& TimeBox() const { return *Txt_time; }
    QLabel& RunTimeLabel() const { return *lbl_runtime; }

    // The widths that follow the window's lettering.
    void FitToFont(const QFontMetrics& m);

Q_SIGNALS:
    void startPressed();
    void pausePressed();
    void stopPressed();
    void setupPressed();
    void offlinePressed();
    void reportPressed();

private:
    QWidget* BuildButtonRow();
    QWidget* BuildExperimentRow();

    QPushButton* CmdPlay = nullptr;
    QPushButton* CmdPause = nullptr;
    QPushButton* CmdStop = nullptr;
    QPushButton* CmdSetup = nullptr;
    QPushButton* CmdOffline = nullptr;
    QPushButton* Cmdreport = nullptr;
    QPushButton* CmdMain = nullptr;
    QLabel* lbl_status = nullptr;      // "<< PAUSED >>", "<AUTOCALIBRATION>"
    QLabel* lbl_timecounter = nullptr; // "Time Counter = ON" / "OFF"
    QLabel* lbl_calibrating = nullptr; // calibration, zero and blank progress
    QProgressBar* pic_calibra = nullptr;
    QLabel* lbl_recording = nullptr;   // recording is failing, and why
    QLabel* lbl_link = nullptr;        // the instrument is not answering, since when

    QLineEdit* txt_projecto = nullptr;
    QLineEdit* Txt_description = nullptr;
    QLineEdit* Txt_time = nullptr;
    QComboBox* combo_minutes = nullptr;
    QLabel* lbl_runtime = nullptr; // the lapse, the end and the time left
};

} // namespace bandora
