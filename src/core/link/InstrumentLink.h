#pragma once

#include "Frames.h"
#include "SerialTransport.h"

#include "core/storage/ProjectSetup.h"

#include <QByteArray>
#include <QString>

#include <QElapsedTimer>

#include <array>

namespace bandora {

class Clock;
class EventPump;

// The program's side of the conversation with the instrument: one serial port
// and the exchanges every part of the program uses. Exchanges never throw:
// they return -1 (or a failed block) and the caller reports in its own words.
// They block the calling thread while they wait, within fixed bounds:
//
//   | exchange              | waits for          | at most                           |
//   |-----------------------|--------------------|-----------------------------------|
//   | ExchangeFrame         | 2 bytes            | kExchangeWaitMs                   |
//   | LinkTest              | 2 bytes            | kLinkTestWaitMs                   |
//   | WaitReceive(count)    | count bytes        | kReceiveWaits x kReceiveWaitMs    |
//   | WriteRegister         | 3 passes of 9      | 27 exchanges + 1.3 s of pauses    |
//
// After an exchange that ended short or long, the next one first spends up to
// kExchangeWaitMs (plus the settling of a reply still arriving) putting the
// line back in step.
//
// Pauses between exchanges go through the Clock, so tests do not sleep.
//
// Everything runs on the window thread. With an event pump, pending window
// events run at least every kEventsEveryMs while the link waits or pauses, so
// the window keeps drawing and STOP is heard during a calibration on a poor
// line. An event may itself talk to the instrument (STOP switches the outputs
// off, the factory window polls the temperature): an exchange whose wait was
// crossed by another one asks again, since the reply it would take may not be
// its own.
class InstrumentLink {
public:
    static constexpr int kExchangeWaitMs = 100;
    static constexpr int kLinkTestWaitMs = 200;
    static constexpr int kReceiveWaits = 50;
    static constexpr int kReceiveWaitMs = 5;
    static constexpr int kEventsEveryMs = 40;

    InstrumentLink(QString appDir, Clock& clock, EventPump* events = nullptr);

    // --- the port -----------------------------------------------------------

    // Applies the port settings for port number n (1 = COM1) for the next
    // Open(). Fails while the port is open, and for a ports/COMn link whose
    // target is gone (a dead virtual instrument: never tried).
    bool SetPortNumber(int portNumber);
    int PortNumber() const { return portNumber_; }
    bool Open();
    // The device behind the port number, and whether the last Open() was
    // refused for want of permission.
    QString Device() const { return transport_.Device(); }
    bool OpenRefused() const { return transport_.OpenRefused(); }
    bool IsOpen() const;
    void ClosePort();
    // Closes the port if open and opens port PortNumber() afresh: a device
    // that went away and came back (a replugged adapter, a restarted
    // instrument) is a new device behind the same name.
    bool Reopen();

    // One attempt of the instrument search: Identify, then up to
    // kLinkTestWaitMs for two bytes; true when they name the instrument.
    bool LinkTest();

    // --- the link operations ------------------------------------------------

    // Empties the receive side, then writes the frame FF kind first second F0.
    // 0, or -1 when any step fails. No reply is read.
    int SendFrame(quint8 first, quint8 second, quint8 kind);

    // Like SendFrame, then waits for a two-byte reply: its first byte (0..255),
    // or -1 when fewer (or more) than two bytes came or any step failed.
    int ExchangeFrame(quint8 first, quint8 second, quint8 kind);

    // Empties the receive side. When the last exchange ended short or long,
    // first puts the line back in step (see Resynchronise); false when that
    // fails or the port is closed.
    bool ClearReceive();
    bool SendString(const QByteArray& bytes);

    // Waits until `count` bytes are there (returns as soon as they are), at
    // most kReceiveWaits waits of kReceiveWaitMs; returns what arrived.
    QByteArray WaitReceive(int count);

    // --- commands -------------------------------------------------------------

    int Identify(); // first byte of the reply, or -1
    int SetOutputs(quint8 state); // 0, or -1
    int ReadMemoryByte(quint8 address);
    int ReadTemperature(); // raw reading 0..255, or -1

    // ReadBeamBlock for the block starting at channel `first` (0, 32, 64, 96).
    // True when exactly 192 bytes came; `block` then holds the decoded samples
    // (check block.clamped), otherwise it is left as it was.
    bool ReadBeamBlock(int first, BeamBlock& block);

    // Reads the four blocks of every beam into channels 0..383 of `values`.
    // Channels of a failed or clamped block keep their value. Returns the
    // number of good blocks, 0..4.
    int ReadAllBeams(std::array<qint16, kChannelTable>& values);

    // The verified write: 9 exchanges; when the last does not echo the
    // address, a resynchronising ReadTemperature and 9 more with pauses, twice.
    // 1 on success; -1 on failure, reported by the caller in its own words
    // (WriteErrorText for the register-write message).
    int WriteRegister(quint8 kind, quint8 address, quint8 value);

    // WriteRegister of a channel's receiver setting byte (channel 0..383).
    int WriteChannelRegister(int channel, quint8 value);

    // WriteRegister of a byte of the instrument's memory (factory record).
    int WriteMemoryRegister(quint8 address, quint8 value);

    // --- the window thread --------------------------------------------------

    void SetEventPump(EventPump* events) { events_ = events; }

    // A pause between exchanges that lets window events run meanwhile; false
    // when AbandonWaits cut it short.
    bool Pause(int ms);

    // Lets pending window events run when kEventsEveryMs have passed since
    // they last did (never from inside such a turn). For loops that work
    // between exchanges. False once the work in progress was abandoned.
    bool KeepWindowAlive();

    // STOP: every exchange, write and pause already under way gives up at
    // once (failing); those started afterwards run normally.
    void AbandonWaits() { ++abandoned_; }

private:
    bool Resynchronise();
    int WritePass(quint8 kind, quint8 address, quint8 value, int pauseMs, quint64 started);
    // Sends a frame or a block request after emptying the receive side.
    bool Send(const QByteArray& frame);
    // An exchange: Send, then the reply; asked again (at most twice) when a
    // window event used the line while it waited.
    QByteArray Exchange(const QByteArray& frame, int count, int maxWaitMs);

    QString appDir_;
    Clock& clock_;
    EventPump* events_;
    SerialTransport transport_;
    int portNumber_ = 0;
    quint64 lineUses_ = 0;   // frames sent, to notice an exchange crossed by another
    quint64 abandoned_ = 0;  // AbandonWaits calls
    quint64 waitStarted_ = 0; // abandoned_ when the current wait began
    bool inEvents_ = false;
    QElapsedTimer sinceEvents_;
};

// "Ops...Data Writing ERROR: reg(<regNumber>)... Check COM and Try again".
QString WriteErrorText(int regNumber);

// Puts the 96 samples of a block into the per-channel table: sample s goes
// to channel 128 x (s mod 3) + first + (s div 3).
void StoreBlock(const BeamBlock& block, int first, std::array<qint16, kChannelTable>& values);

} // namespace bandora
