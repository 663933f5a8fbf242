#pragma once

// The run's window as the run control sees it: what it was told to show,
// and the texts a test gives it.

#include "core/acquisition/RunWindow.h"

#include <QStringList>

namespace bandora::test {

class ScriptWindow final : public RunWindow {
public:
    void StartTimer() override { timerOn = true; }
    void StopTimer() override { timerOn = false; }
    void OpenSetup() override { ++setupOpened; }
    void ShowRunning(bool) override {}
    void LockForBlank() override {}
    QString DescriptionText() const override { return QStringLiteral("two strains"); }
    QString SnrText() const override { return snr; }
    QString TemperatureText() const override { return QStringLiteral("25"); }
    void ShowStatus(const QString& t) override { status = t; }
    void ShowRunLabel(const QString& t) override { runLabel = t; }
    void ShowCalibrating(const QString& t) override { calibrating << t; }
    void ScaleProgress(int, int) override {}
    void ProgressMark(int) override {}
    bool DeviceTestRunning() const override { return deviceTest; }
    void ShowLapseSpaceNotice(const QString& t) override { lapseNotice = t; }

    bool timerOn = false;
    bool deviceTest = false;
    QString lapseNotice;
    int setupOpened = 0;
    QString snr = QStringLiteral("1.7");
    QString status, runLabel;
    QStringList calibrating;
};

} // namespace bandora::test
