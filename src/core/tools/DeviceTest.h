#pragma once

// The device test: with no plate in the slot, the map of the 384 beam
// signals is shown while the receivers' settings are driven to their maximum
// and minimum row by row, so every beam visibly changes. One tick of the
// test timer is one step:
//
//   | TestStep  | action                                                      |
//   |-----------|-------------------------------------------------------------|
//   | 0..3      | none: the map shows the idle signals                        |
//   | 4         | "Turning ON A1-D1", then 231 to channels 0..3               |
//   | 5         | "Turning OFF A1-D1", then 0 to channels 0..3                |
//   | 6..8      | none                                                        |
//   | 9         | "OK to proceed?" (Yes/No); No stops the test                |
//   | 10..25    | row r = step - 10: 231 to channels 16 i + r, i = 0..23       |
//   | 26..89    | k = step - 26: 0 to k, k+64, k+128 and their mirrors 383-.. |
//   | 90..105   | j = step - 90: 66 to 16 i + j and 383 - j - 16 i, i = 0..11 |
//   | 106..120  | none                                                        |
//
// Every write is the verified register write; one that fails stops the test.
// A test that runs to its end says which beams answered: a beam answers when
// its signal swings with the settings written from step 10 on.

#include "core/common/Services.h"
#include "core/storage/ProjectSetup.h"

#include <QString>

#include <array>
#include <functional>
#include <vector>

namespace bandora {

struct InstrumentSession;
struct RunState;

// The verdict of a whole test from the lowest and highest signal each beam
// gave once the settings started moving: "All beams answered", or the beams
// whose signal did not swing by kAnswerSwing, by their place on the 16 x 24
// grid and their channel ("A1 (channel 0)").
QString DeviceTestVerdict(const std::array<qint16, kChannelTable>& lowest,
                          const std::array<qint16, kChannelTable>& highest);

class DeviceTest {
public:
    // The least swing of a beam driven from the minimum to the maximum
    // setting (of 4095) that counts as an answer.
    static constexpr int kAnswerSwing = 200;
    static constexpr int kLastStep = 120;
    static constexpr int kTickMs = 100;
    static constexpr int kFirstTickMs = 200;
    static constexpr quint8 kSettingMax = 231; // both receiver parts at 7
    static constexpr quint8 kSettingMin = 0;
    static constexpr quint8 kSettingMid = 66;  // both parts at 2

    DeviceTest(const Services& services, InstrumentSession& instrument, const RunState& run);

    // "Test DEVICE": refused while an experiment is running or paused;
    // otherwise the four-line question. True when the operator pressed OK and
    // the test is now running from step 0.
    bool Start();

    // One step of the test. `paint` is called after the beams were read, so
    // the map shows them before the step's messages and writes. Returns false
    // when the test has ended (now or before).
    bool Tick(const std::function<void()>& paint);

    // STOP: the test ends, the write under way is cut short.
    void Stop();

    bool Running() const { return running_; }
    qint16 TestStep() const { return TestStep_; }
    // Each channel's last beam value (entries 0..383).
    const std::array<qint16, kChannelTable>& Signal() const { return Signal_; }

    // The channels written at a step, with the setting byte they receive, in
    // the order they are written (steps 4 and 5 included).
    static std::vector<int> ChannelsOfStep(int step);
    static quint8 SettingOfStep(int step);

private:
    bool ReadSignals();
    void TakeSwing();
    // false when a write failed
    bool RunStepActions();
    void End();

    Services services_;
    InstrumentSession& instrument_;
    const RunState& run_;
    bool running_ = false;
    qint16 TestStep_ = 0;
    std::array<qint16, kChannelTable> Signal_{};
    std::array<qint16, kChannelTable> lowest_{};
    std::array<qint16, kChannelTable> highest_{};
};

} // namespace bandora
