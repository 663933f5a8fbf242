#include "DeviceTest.h"

#include "core/acquisition/RunState.h"
#include "core/common/Operator.h"
#include "core/link/InstrumentLink.h"
#include "core/link/InstrumentSession.h"
#include "core/storage/PlateFormat.h"

#include <QStringList>

#include <algorithm>

namespace bandora {

namespace {
constexpr int kBlockFirst[] = {0, 32, 64, 96};
// The first step whose reading follows a setting of the rows.
constexpr int kFirstSwingStep = 11;
// At most this many silent beams are named; the rest are counted.
constexpr int kNamedBeams = 24;
} // namespace

QString DeviceTestVerdict(const std::array<qint16, kChannelTable>& lowest,
                          const std::array<qint16, kChannelTable>& highest)
{
    QStringList silent;
    for (int ch = 0; ch < kChannels; ++ch)
        if (int(highest[size_t(ch)]) - int(lowest[size_t(ch)]) < DeviceTest::kAnswerSwing)
            silent << QStringLiteral("%1 (channel %2)").arg(WellLabel(ch, 16)).arg(ch);
    if (silent.isEmpty())
        return QStringLiteral("All beams answered");
    const qsizetype count = silent.size();
    QString text = QStringLiteral("%1 of 384 beams did not answer:\r\n").arg(count);
    if (count > kNamedBeams) {
        silent = silent.mid(0, kNamedBeams);
        silent << QStringLiteral("and %1 more").arg(count - kNamedBeams);
    }
    return text + silent.join(QStringLiteral(", "));
}

DeviceTest::DeviceTest(const Services& services, InstrumentSession& instrument, const RunState& run)
    : services_(services), instrument_(instrument), run_(run)
{
}

bool DeviceTest::Start()
{
    // The test talks to the instrument from its own timer: while the
    // acquisition timer can run, the two would interleave their exchanges.
    if (Active(run_.State)) {
        services_.op.inform(QStringLiteral("Stop acquisition before Testing"));
        return false;
    }
    const QString question = QStringLiteral("DEVICE TEST:\r\n"
                                            "Ligth Microbeams will be adjusted to maximum and minimum.\r\n"
                                            "Please, remove any microplate from the slot\r\n"
                                            " and close Bandora door");
    TestStep_ = 0;
    lowest_.fill(32767);
    highest_.fill(-1);
    running_ = services_.op.ask(question, Buttons::OkCancel) == Answer::Ok;
    return running_;
}

bool DeviceTest::Tick(const std::function<void()>& paint)
{
    if (!running_)
        return false;
    if (TestStep_ > kLastStep) {
        End();
        // Offline nothing was read, so there is nothing to judge.
        if (!instrument_.OfflineMode)
            services_.op.inform(DeviceTestVerdict(lowest_, highest_));
        return false;
    }
    if (!instrument_.OfflineMode && !ReadSignals()) {
        if (running_) // not when STOP cut the reads short
            services_.op.inform(QStringLiteral("COM Error"));
        End();
        return false;
    }
    if (TestStep_ >= kFirstSwingStep)
        TakeSwing();
    if (paint)
        paint();
    if (!RunStepActions()) {
        TestStep_ = kLastStep + 1;
        End();
        return false;
    }
    if (!running_)
        return false; // "No" at the question
    ++TestStep_;
    return true;
}

bool DeviceTest::ReadSignals()
{
    // All four blocks or none: a map half from this tick and half from the
    // last would show changes that did not happen.
    std::array<BeamBlock, 4> blocks;
    for (int b = 0; b < 4; ++b)
        if (instrument_.link == nullptr || !instrument_.link->ReadBeamBlock(kBlockFirst[b], blocks[size_t(b)]))
            return false;
    for (int b = 0; b < 4; ++b)
        StoreBlock(blocks[size_t(b)], kBlockFirst[b], Signal_);
    return true;
}

void DeviceTest::TakeSwing()
{
    for (int ch = 0; ch < kChannels; ++ch) {
        lowest_[size_t(ch)] = std::min(lowest_[size_t(ch)], Signal_[size_t(ch)]);
        highest_[size_t(ch)] = std::max(highest_[size_t(ch)], Signal_[size_t(ch)]);
    }
}

std::vector<int> DeviceTest::ChannelsOfStep(int step)
{
    std::vector<int> channels;
    if (step == 4 || step == 5) {
        channels = {0, 1, 2, 3};
    } else if (step >= 10 && step <= 25) {
        const int r = step - 10;
        for (int i = 0; i < 24; ++i)
            channels.push_back(16 * i + r);
    } else if (step >= 26 && step <= 89) {
        const int k = step - 26;
        channels = {k, k + 64, k + 128, 383 - k, 383 - (k + 64), 383 - (k + 128)};
    } else if (step >= 90 && step <= 105) {
        const int j = step - 90;
        for (int i = 0; i < 12; ++i) {
            channels.push_back(16 * i + j);
            channels.push_back(383 - j - 16 * i);
        }
    }
    return channels;
}

quint8 DeviceTest::SettingOfStep(int step)
{
    if (step == 4 || (step >= 10 && step <= 25))
        return kSettingMax;
    if (step >= 90 && step <= 105)
        return kSettingMid;
    return kSettingMin;
}

bool DeviceTest::RunStepActions()
{
    const int step = TestStep_;
    if (step == 4)
        services_.op.inform(QStringLiteral("Turning ON A1-D1"));
    else if (step == 5)
        services_.op.inform(QStringLiteral("Turning OFF A1-D1"));
    else if (step == 9) {
        if (services_.op.ask(QStringLiteral("OK to proceed?"), Buttons::YesNo) == Answer::No)
            End();
        return true;
    }
    const quint8 setting = SettingOfStep(step);
    for (int channel : ChannelsOfStep(step)) {
        if (!running_)
            return true; // stopped while the line was busy
        if (instrument_.link == nullptr || instrument_.link->WriteChannelRegister(channel, setting) != 1) {
            if (running_)
                services_.op.inform(WriteErrorText(channel));
            return false;
        }
    }
    return true;
}

void DeviceTest::End()
{
    running_ = false;
}

void DeviceTest::Stop()
{
    if (!running_)
        return;
    End();
    if (instrument_.link)
        instrument_.link->AbandonWaits();
}

} // namespace bandora
