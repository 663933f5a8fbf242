#pragma once

#include "CommandResponder.h"
#include "FactoryMemory.h"
#include "FaultPlan.h"
#include "InstrumentModel.h"
#include "PseudoTerminal.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace bandora::sim {

struct SimOptions {
    ModelOptions model;
    FaultOptions faults;
    bool pacing = true;        // replies take their time on the line
    int baud = 115200;         // 10 bits per byte on the line
    double stepMs = 0.0;       // > 0: each full beam read moves the model on by this much
    QString memoryFile;        // where the factory record is kept (empty: in memory only)
    quint8 version = CommandResponder::kVersion; // identify reply; 10 or less is not taken for the instrument
};

// An instrument that speaks the protocol over a pseudo-terminal, answering on
// a thread of its own so a program blocked in an exchange on its window thread
// still gets its replies. Used by `bandora --simulate`, by `bandora-sim` and
// by the end-to-end tests.
class VirtualInstrument {
public:
    VirtualInstrument(const SimOptions& options, const PlateFormat& plate);
    ~VirtualInstrument(); // stops, and removes the port link it made
    VirtualInstrument(const VirtualInstrument&) = delete;
    VirtualInstrument& operator=(const VirtualInstrument&) = delete;

    // Opens the pseudo-terminal and starts answering.
    bool Start(QString* error);
    void Stop();
    QString DevicePath() const { return pty_.DevicePath(); }

    // Makes ports/COMn of the application folder point to the instrument, so
    // the program finds it on port n. A link that was there before is put
    // back when the instrument stops.
    bool LinkPort(const QString& appDir, int portNumber, QString* error);

    // Everything below is safe to call while the instrument runs.

    // Runs f on the model while the instrument is held still.
    void WithModel(const std::function<void(InstrumentModel&)>& f);
    qint64 TrueInterruptions(int channel);
    quint8 ChannelSetting(int channel);
    quint8 Outputs();
    double Temperature();
    void SetDoorOpen(bool open);
    std::array<quint8, 8> Memory();
    // A memory cell that echoes writes but keeps its byte (-1: none).
    void SetStuckMemory(int address);

    void SetFaults(const FaultOptions& faults);
    // Silence as of a switched-off instrument: frames are swallowed unanswered.
    void SetSilent(bool silent);
    qint64 FramesReceived() const { return frames_.load(); }

    // The frames received since the last call (at most the last 100,000), for
    // tests that check the bytes the program sends.
    std::vector<QByteArray> TakeFrames();

private:
    struct Outgoing {
        char byte;
        qint64 dueNs;
        bool endsReply;
    };

    void Run();
    void Handle(const FrameScan& frame, qint64 nowNs);
    void Schedule(const QByteArray& reply, qint64 startNs);
    void SendDue(qint64 nowNs);
    qint64 NextWakeNs(qint64 nowNs) const;
    bool SilentNow(qint64 nowNs);
    void RemoveLink();

    SimOptions options_;
    qint64 byteNs_;
    PseudoTerminal pty_;
    FactoryMemory memory_;
    InstrumentModel model_;
    CommandResponder responder_;
    FaultPlan faults_;

    std::mutex mutex_; // guards the model, the memory, the faults and the silence
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<qint64> frames_{0};
    bool silent_ = false;
    qint64 silentUntilNs_ = -1; // -1: no timed silence
    qint64 busyUntilNs_ = 0;

    std::vector<QByteArray> frameLog_; // guarded by mutex_
    QByteArray incoming_;
    std::vector<Outgoing> outgoing_;
    size_t nextOut_ = 0;

    QString linkPath_;
    QString previousLinkTarget_;
};

// Monotonic nanoseconds, the instrument's time base.
qint64 SimNowNs();

// Where the virtual instrument of an application folder keeps its factory
// record: ports/instrument-memory.dat.
QString DefaultMemoryFile(const QString& appDir);

} // namespace bandora::sim
