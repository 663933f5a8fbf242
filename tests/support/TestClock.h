#pragma once

#include "core/common/Clock.h"
#include "core/common/EventPump.h"

#include <functional>

namespace bandora::test {

// A clock that stands still until told to move; pauses advance it at once.
class TestClock final : public Clock {
public:
    explicit TestClock(QDateTime start = QDateTime(QDate(2026, 12, 5), QTime(10, 0)))
        : now_(start) {}

    QDateTime now() const override { return now_; }
    qint64 monotonicMs() const override { return ms_; }
    void pause(int ms) override
    {
        pausedMs += ms;
        advance(ms);
    }

    void advance(qint64 ms)
    {
        ms_ += ms;
        now_ = now_.addMSecs(ms);
    }
    void set(const QDateTime& t) { now_ = t; }

    qint64 pausedMs = 0;

private:
    QDateTime now_;
    qint64 ms_ = 0;
};

// An event pump that counts its turns and can run a scripted action on one.
class TestEventPump final : public EventPump {
public:
    void processEvents() override
    {
        ++turns;
        if (onTurn)
            onTurn(turns);
    }
    int turns = 0;
    std::function<void(int)> onTurn;
};

} // namespace bandora::test
