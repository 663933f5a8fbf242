#pragma once

#include <QDateTime>

namespace bandora {

// Local date and time, a monotonic millisecond count and blocking pauses come
// from one place, so a week-long run, a light schedule or a midnight wrap can
// be tested in milliseconds.
class Clock {
public:
    virtual ~Clock() = default;

    // The local date and time (folder names, run times, the light schedule).
    virtual QDateTime now() const = 0;

    // Milliseconds since an arbitrary start, never going backwards.
    virtual qint64 monotonicMs() const = 0;

    // Blocks the calling thread for the given number of milliseconds.
    virtual void pause(int ms) = 0;
};

// The real clock of the workstation.
class SystemClock final : public Clock {
public:
    SystemClock();
    QDateTime now() const override;
    qint64 monotonicMs() const override;
    void pause(int ms) override;

private:
    qint64 startNs_;
};

} // namespace bandora
