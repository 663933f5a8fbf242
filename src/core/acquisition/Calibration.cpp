#include "Calibration.h"

#include "CycleState.h"
#include "RunWindow.h"
#include "core/AppState.h"
#include "core/common/Clock.h"
#include "core/common/EventPump.h"
#include "core/common/Operator.h"
#include "core/common/Rounding.h"
#include "core/link/Frames.h"
#include "core/link/InstrumentLink.h"
#include "core/storage/CalibrationFile.h"
#include "core/storage/ExperimentFolderName.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RecordSyntax.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace bandora {

namespace {

constexpr int kLastChannel = kChannels - 1;
constexpr int kEventsEveryChannels = 21;
const QString kCommunicationError = QStringLiteral("Communication error. Check COM PORT and equipment connection.");

bool Used(const AppState& s, int ch) { return s.plate.ChannelWell[size_t(ch)] >= 0; }

} // namespace

Calibration::Calibration(AppState& state, CycleState& cycle, RunWindow& window)
    : state_(state), cycle_(cycle), window_(window)
{
}

QString Calibration::FilePath() const { return CalibrationFilePath(state_.appDir); }

bool Calibration::ReadCalibrationFile()
{
    try {
        ReadCalibrationValues(FilePath(), state_.CalPinHole, state_.CalGain);
        return true;
    } catch (const RecordError& e) {
        state_.op.inform(QStringLiteral("calvalue.dat: %1").arg(QString::fromUtf8(e.what())));
        return false;
    }
}

void Calibration::WriteDefaultCalibrationFile()
{
    for (int ch = 0; ch < kChannels; ++ch) {
        state_.CalPinHole[size_t(ch)] = 2;
        state_.CalGain[size_t(ch)] = 3;
    }
    WriteCalibrationFile();
}

void Calibration::WriteCalibrationFile()
{
    try {
        WriteCalibrationValues(FilePath(), state_.CalPinHole, state_.CalGain);
    } catch (const RecordError& e) {
        state_.op.inform(QString::fromUtf8(e.what()));
    }
}

int Calibration::WriteChannelSetting(int channel, int pinHole, int gain)
{
    if (state_.OfflineMode || !state_.link)
        return -1;
    return state_.link->WriteChannelRegister(channel, quint8(gain * 32 + pinHole)) == 1 ? 1 : -1;
}

void Calibration::ReadSignals(bool pauseAfterPriming)
{
    if (state_.OfflineMode || !state_.link)
        return;
    BeamBlock discard;
    for (int b = 0; b < 128; b += 32)
        state_.link->ReadBeamBlock(b, discard);
    if (pauseAfterPriming)
        state_.link->Pause(50);
    state_.link->ReadAllBeams(signals_);
    for (auto& s : signals_)
        s = std::max<qint16>(s, 0);
}

bool Calibration::AdjustChannel(int S, qint16& pinHole, qint16& gain, bool& done, int& direction)
{
    if (S >= kLow && S <= kHigh) {
        done = true;
        direction = 0;
        return false;
    }
    if (S < kLow && direction != -1) {
        if (gain < 7) {
            ++gain;
        } else if (pinHole < 7) {
            gain = 0;
            ++pinHole;
        } else {
            done = true; // top reached
        }
        if (!done)
            direction = 1;
    } else if (S > kHigh && direction != 1) {
        if (gain >= 1) {
            --gain;
        } else if (pinHole >= 2) {
            gain = 7;
            --pinHole;
        } else {
            done = true; // bottom reached
        }
        if (!done)
            direction = -1;
    } else if (S < kLow && direction == -1) {
        // The step down went below the window: the lower setting stays.
        done = true;
        direction = 0;
    } else if (S > kHigh && direction == 1) {
        direction = 0; // the next pass steps down
    }
    return !done;
}

bool Calibration::AdjustLoop(std::array<bool, kChannelTable>& done, bool sayAcquiring)
{
    int written = kLastChannel;
    auto pending = [&] { return std::any_of(done.begin(), done.begin() + kChannels, [](bool d) { return !d; }); };
    while (pending() && state_.AcquisitionState >= 1) {
        if (sayAcquiring)
            window_.ShowCalibrating(QStringLiteral("Acquiring..."));
        ReadSignals(true);
        window_.ShowCalibrating(QStringLiteral("Calibrating... [%1]").arg(written));
        window_.ProgressMark(kLastChannel - written);
        written = 0;
        for (int ch = 0; ch < kChannels; ++ch) {
            if (done[size_t(ch)])
                continue;
            bool d = false;
            if (!AdjustChannel(signals_[size_t(ch)], state_.CalPinHole[size_t(ch)], state_.CalGain[size_t(ch)], d,
                               direction_[size_t(ch)])) {
                done[size_t(ch)] = true;
                continue;
            }
            ++written;
            if (WriteChannelSetting(ch, state_.CalPinHole[size_t(ch)], state_.CalGain[size_t(ch)]) != 1)
                return state_.AcquisitionState == 0; // a write cut short by STOP is no failure
            if (state_.AcquisitionState == 0)
                return true;
        }
        state_.events.processEvents();
    }
    return true;
}

void Calibration::RunCalibration()
{
    beamsSettled = false;
    if (state_.OfflineMode) {
        state_.op.inform(QStringLiteral("Operation not possible in OFFLINE mode"));
        return;
    }
    std::array<bool, kChannelTable> done{};
    direction_.fill(0);
    if (QFile::exists(FilePath())) {
        window_.ShowCalibrating(QStringLiteral("Writing Calibration..."));
        if (!ReadCalibrationFile())
            WriteDefaultCalibrationFile();
    } else {
        window_.ShowCalibrating(QStringLiteral("Writing First Time Calibration..."));
        WriteDefaultCalibrationFile();
    }
    window_.ScaleProgress(kLastChannel, 10);
    for (int ch = 0; ch < kChannels; ++ch) {
        if (Used(state_, ch)) {
            if (state_.CalPinHole[size_t(ch)] == 0 && state_.CalGain[size_t(ch)] == 0)
                state_.CalPinHole[size_t(ch)] = 2;
        } else {
            state_.CalPinHole[size_t(ch)] = state_.CalGain[size_t(ch)] = 0;
            done[size_t(ch)] = true;
        }
    }
    for (int ch = 0; ch < kChannels && state_.AcquisitionState >= 1; ++ch) {
        window_.ShowCalibrating(QStringLiteral("Writing calibration...%1").arg(ch));
        window_.ProgressMark(ch);
        if (ch % kEventsEveryChannels == 0)
            state_.events.processEvents();
        if (WriteChannelSetting(ch, state_.CalPinHole[size_t(ch)], state_.CalGain[size_t(ch)]) != 1) {
            if (state_.AcquisitionState != 0)
                state_.op.inform(kCommunicationError);
            return;
        }
    }
    if (!AdjustLoop(done, true)) {
        state_.op.inform(kCommunicationError);
        if (stopRun)
            stopRun();
        return;
    }
    // The loop also ends when the run is stopped: only a full pass settles.
    beamsSettled = state_.AcquisitionState >= 1;
    window_.ShowCalibrating(QStringLiteral("Calibration OK"));
    WriteCalibrationFile();
}

void Calibration::RunAutoAdjust(std::array<bool, kChannelTable>& done)
{
    for (int ch = 0; ch < kChannels; ++ch) {
        direction_[size_t(ch)] = 0;
        if (Used(state_, ch)) {
            if (state_.CalPinHole[size_t(ch)] == 0 && state_.CalGain[size_t(ch)] == 0)
                state_.CalPinHole[size_t(ch)] = 2;
        } else {
            state_.CalPinHole[size_t(ch)] = state_.CalGain[size_t(ch)] = 0;
            done[size_t(ch)] = true;
        }
    }
    window_.ShowStatus(QStringLiteral("<AUTOCALIBRATION>"));
    window_.ShowCalibrating(QStringLiteral("Auto-Adjustment..."));
    window_.ScaleProgress(kLastChannel, 10);
    if (!AdjustLoop(done, false)) {
        state_.op.inform(kCommunicationError);
        window_.ShowStatus(QString());
        return;
    }
    window_.ShowCalibrating(QStringLiteral("Calibration OK"));
    WriteCalibrationFile();
    window_.ShowStatus(QString());
}

void Calibration::RunAutoZero()
{
    window_.ShowCalibrating(QStringLiteral("AutoZero Calculation .... <000>"));
    const int N = (state_.AutoCalibrate && state_.AutoZero) ? 30 : 100;
    const int n = std::min(N, cycle_.RT_Buffer());
    window_.ScaleProgress(N, 10);
    const bool online = !state_.OfflineMode && state_.link;
    if (online) {
        BeamBlock discard;
        for (int b = 0; b < 128; b += 32)
            state_.link->ReadBeamBlock(b, discard);
    }
    for (int k = 0; k < n; ++k) {
        if (online) {
            state_.link->ReadAllBeams(signals_);
            for (int ch = 0; ch < kChannels; ++ch)
                cycle_.Sample(ch, k) = std::max<qint16>(signals_[size_t(ch)], 0);
        }
        window_.ShowCalibrating(QStringLiteral("AutoZero... <%1>").arg(k));
        window_.ProgressMark(k);
        if (k % 10 == 0)
            state_.events.processEvents();
        // STOP may also come while the beams are read (the link lets events run).
        if (state_.AcquisitionState == 0)
            return;
    }
    if (n < 13)
        return; // no peak can be told from its neighbours
    for (int ch = 0; ch < kChannels; ++ch) {
        auto S = [&](int k) { return int(cycle_.Sample(ch, k)); };
        int lastMax = S(10), lastMin = S(10);
        qint64 sumAmp = 0, sumSig = 0;
        int count = 0;
        for (int k = 11; k <= n - 2; ++k) {
            if (S(k) < S(k - 1) && S(k) < S(k + 1))
                lastMin = S(k);
            if (S(k) > S(k - 1) && S(k) > S(k + 1))
                lastMax = S(k);
            sumAmp += lastMax - lastMin;
            sumSig += S(k);
            ++count;
        }
        const double meanAmp = double(RoundHalfEven(double(sumAmp) / count));
        const double meanSig = double(RoundHalfEven(double(sumSig) / count));
        const double T = meanSig < 1 ? 0.0 : 100.0 * state_.SnrThreshold * meanAmp / meanSig;
        state_.project.ChannelThreshold[size_t(ch)] = std::max(T + 1.0, 1.0);
    }
}

void Calibration::StartBlankReading()
{
    state_.Recording = false;
    cycle_.ResetCounters();
    window_.LockForBlank();
    // The blank is kept with the project's settings of the moment, as a run's are.
    const QDateTime now = state_.clock.now();
    // In a folder of its own, never over the files of a run of the same minute.
    const QString folder = QDir(state_.projectFolder).filePath(FreshExperimentFolderName(state_.projectFolder, now));
    QDir().mkpath(folder);
    try {
        SaveProject(state_.project, folder);
    } catch (const RecordError& e) {
        state_.op.inform(QString::fromUtf8(e.what()));
    }
    window_.CollectGroupWells();
    cycle_.ResetBlankStatistics();
    state_.RunStart = now;
    state_.RunStartMs = state_.clock.monotonicMs();
    state_.BlankReading = true;
    window_.ShowCalibrating(QStringLiteral("Setting Blank.... (%1 samples)").arg(state_.project.Threshold_Counter));
    window_.StartTimer();
}

} // namespace bandora
