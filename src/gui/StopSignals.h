#pragma once

#include <QObject>

class QSocketNotifier;

namespace bandora {

// The system's requests to end the program (SIGTERM at logout or shutdown,
// SIGINT from Ctrl+C, SIGHUP when the terminal goes), delivered as a Qt
// signal on the window thread. The signal handler itself only writes the
// signal's number into a socket pair; everything else runs from the event
// loop. One instance at a time; the previous handlers come back when it goes.
class StopSignals final : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;

    // A request arrived (also before anyone was connected).
    bool Received() const { return received_; }

Q_SIGNALS:
    void stopRequested(int signalNumber);

private:
    void ReadPending();

    QSocketNotifier* notifier_ = nullptr;
    bool received_ = false;
};

} // namespace bandora
