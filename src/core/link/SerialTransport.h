#pragma once

#include <QByteArray>
#include <QSerialPort>
#include <QString>

#include <functional>

namespace bandora {

// The serial line to the instrument: open and close a device at 115200 baud,
// 8 data bits, no parity, 1 stop bit, write bytes, empty the receive side and
// wait for bytes without spinning a core (waits sleep until bytes arrive).
//
// Replies carry no header, so a reply that comes after its exchange gave up
// could be taken for the answer to the next one. The transport notes when a
// receive ended short or long (the line is then "suspect") so the link can put
// the line back in step before it trusts it again.
class SerialTransport {
public:
    SerialTransport();
    SerialTransport(const SerialTransport&) = delete;
    SerialTransport& operator=(const SerialTransport&) = delete;

    // Chooses the device for the next Open(). Fails while a port is open.
    bool SetDevice(const QString& deviceName);
    QString Device() const;

    // Opens the chosen device with the line settings. False when the device
    // does not exist, is in use or refuses the settings.
    bool Open();
    // True when the last Open() failed because the device refused us access
    // (on Linux: the user is not in the group that owns the device).
    bool OpenRefused() const { return openRefused_; }
    void Close();
    bool IsOpen() const;

    // Empties the receive side. False when the port is closed or failing.
    bool ClearReceive();

    // Writes the bytes one at a time, in order, and pushes them to the line.
    bool Write(const QByteArray& bytes);

    // Waits until at least `count` bytes have been received or `maxWaitMs`
    // have passed, then takes everything received (possibly fewer, or more,
    // than `count`). An empty result on a closed or failing port.
    QByteArray Receive(int count, int maxWaitMs);

    // Takes bytes until at least `count` have come and then none for
    // `quietMs`, or until `maxWaitMs` (plus at most kMaxSettleMs of a reply
    // still arriving) have passed.
    QByteArray ReceiveUntilQuiet(int count, int maxWaitMs, int quietMs);

    // Called between the slices of every wait for bytes; returning false
    // gives the wait up at once (with what has come so far).
    void SetWaitHook(std::function<bool()> hook) { waitHook_ = std::move(hook); }

    // True when the last receive ended with fewer or more bytes than wanted.
    bool Suspect() const { return suspect_; }
    void SetSuspect(bool suspect) { suspect_ = suspect; }

    static constexpr int kMaxSettleMs = 100;

private:
    bool Failing();
    bool KeepWaiting() { return !waitHook_ || waitHook_(); }

    QSerialPort port_;
    bool suspect_ = false;
    bool openRefused_ = false;
    std::function<bool()> waitHook_;
};

} // namespace bandora
