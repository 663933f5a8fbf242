#include "InstrumentLink.h"

#include "Commands.h"
#include "PortName.h"

#include "core/common/Clock.h"
#include "core/common/EventPump.h"

#include <algorithm>

namespace bandora {

namespace {
constexpr int kAsksWhenCrossed = 3;
} // namespace

InstrumentLink::InstrumentLink(QString appDir, Clock& clock, EventPump* events)
    : appDir_(std::move(appDir)), clock_(clock), events_(events)
{
    sinceEvents_.start();
    transport_.SetWaitHook([this] { return KeepWindowAlive(); });
}

QString WriteErrorText(int regNumber)
{
    return QStringLiteral("Ops...Data Writing ERROR: reg(%1)... Check COM and Try again").arg(regNumber);
}

bool InstrumentLink::KeepWindowAlive()
{
    if (events_ != nullptr && !inEvents_ && sinceEvents_.elapsed() >= kEventsEveryMs) {
        // Events may start exchanges of their own, with their own waits.
        const quint64 mine = waitStarted_;
        inEvents_ = true;
        events_->processEvents();
        inEvents_ = false;
        waitStarted_ = mine;
        sinceEvents_.restart();
    }
    return abandoned_ == waitStarted_;
}

bool InstrumentLink::Pause(int ms)
{
    const quint64 started = abandoned_;
    for (int left = ms; left > 0; left -= kEventsEveryMs) {
        clock_.pause(std::min(left, kEventsEveryMs));
        waitStarted_ = started;
        if (!KeepWindowAlive())
            return false;
    }
    return abandoned_ == started;
}

bool InstrumentLink::Reopen()
{
    ClosePort();
    return SetPortNumber(portNumber_) && Open();
}

bool InstrumentLink::SetPortNumber(int portNumber)
{
    if (PortLinkIsDead(appDir_, portNumber))
        return false;
    if (!transport_.SetDevice(PortDeviceName(appDir_, portNumber)))
        return false;
    portNumber_ = portNumber;
    return true;
}

bool InstrumentLink::Open() { return transport_.Open(); }

bool InstrumentLink::IsOpen() const { return transport_.IsOpen(); }

void InstrumentLink::ClosePort() { transport_.Close(); }

bool InstrumentLink::LinkTest()
{
    // The search's own test starts from a clean slate: it is an Identify.
    waitStarted_ = abandoned_;
    ++lineUses_;
    if (!transport_.ClearReceive() || !transport_.Write(BuildFrame(kCommandKind, Code(CommandCode::Identify), 0)))
        return false;
    const QByteArray reply = transport_.Receive(kReplyBytes, kLinkTestWaitMs);
    return reply.size() >= kReplyBytes && IsInstrumentIdentity(quint8(reply[0]), quint8(reply[1]));
}

bool InstrumentLink::Send(const QByteArray& frame)
{
    ++lineUses_;
    return ClearReceive() && transport_.Write(frame);
}

QByteArray InstrumentLink::Exchange(const QByteArray& frame, int count, int maxWaitMs)
{
    const quint64 started = abandoned_;
    QByteArray reply;
    for (int ask = 0; ask < kAsksWhenCrossed && abandoned_ == started; ++ask) {
        waitStarted_ = started;
        if (!Send(frame))
            return {};
        const quint64 mine = lineUses_;
        reply = transport_.Receive(count, maxWaitMs);
        if (lineUses_ == mine)
            return reply;
    }
    return {};
}

int InstrumentLink::SendFrame(quint8 first, quint8 second, quint8 kind)
{
    waitStarted_ = abandoned_;
    return Send(BuildFrame(kind, first, second)) ? 0 : -1;
}

int InstrumentLink::ExchangeFrame(quint8 first, quint8 second, quint8 kind)
{
    // More than two bytes means a late reply of an earlier exchange is mixed
    // in: which byte answers this one cannot be told, so the exchange fails.
    const QByteArray reply = Exchange(BuildFrame(kind, first, second), kReplyBytes, kExchangeWaitMs);
    if (reply.size() != kReplyBytes)
        return -1;
    return quint8(reply[0]);
}

bool InstrumentLink::ClearReceive()
{
    if (transport_.Suspect() && !Resynchronise())
        return false;
    return transport_.ClearReceive();
}

// An earlier exchange gave up (or got surplus bytes): its reply may still be
// on its way and would pass for the answer to the next command. The
// instrument answers in order, so once the answer to an Identify is in (and
// the line has fallen quiet), everything before it is stale and thrown away.
bool InstrumentLink::Resynchronise()
{
    constexpr int kQuietMs = 20; // serial adapters pass bytes on in bunches up to 16 ms apart
    const quint64 mine = ++lineUses_;
    if (!transport_.ClearReceive() || !transport_.Write(BuildFrame(kCommandKind, Code(CommandCode::Identify), 0)))
        return false;
    const QByteArray bytes = transport_.ReceiveUntilQuiet(kReplyBytes, kExchangeWaitMs, kQuietMs);
    if (lineUses_ != mine) // a window event's exchange came between and left the line as it found it
        return !transport_.Suspect();
    const qsizetype n = bytes.size();
    const bool inStep = n >= kReplyBytes && IsInstrumentIdentity(quint8(bytes[n - 2]), quint8(bytes[n - 1]));
    transport_.SetSuspect(!inStep);
    return inStep;
}

bool InstrumentLink::SendString(const QByteArray& bytes) { return transport_.Write(bytes); }

QByteArray InstrumentLink::WaitReceive(int count)
{
    return transport_.Receive(count, kReceiveWaits * kReceiveWaitMs);
}

int InstrumentLink::Identify() { return ExchangeFrame(Code(CommandCode::Identify), 0, kCommandKind); }

int InstrumentLink::SetOutputs(quint8 state) { return SendFrame(Code(CommandCode::SetOutputs), state, kCommandKind); }

int InstrumentLink::ReadMemoryByte(quint8 address)
{
    return ExchangeFrame(Code(CommandCode::ReadMemoryByte), address, kCommandKind);
}

int InstrumentLink::ReadTemperature() { return ExchangeFrame(Code(CommandCode::ReadTemperature), 0, kCommandKind); }

bool InstrumentLink::ReadBeamBlock(int first, BeamBlock& block)
{
    const QByteArray frame = BuildFrame(kCommandKind, Code(CommandCode::ReadBeamBlock), quint8(first));
    return DecodeBeamBlock(Exchange(frame, kBlockBytes, kReceiveWaits * kReceiveWaitMs), block);
}

int InstrumentLink::ReadAllBeams(std::array<qint16, kChannelTable>& values)
{
    int good = 0;
    for (int first : kBlockFirsts) {
        BeamBlock block;
        if (ReadBeamBlock(first, block) && !block.clamped) {
            StoreBlock(block, first, values);
            ++good;
        }
    }
    return good;
}

int InstrumentLink::WritePass(quint8 kind, quint8 address, quint8 value, int pauseMs, quint64 started)
{
    int reply = -1;
    for (int i = 0; i < 9 && abandoned_ == started; ++i) {
        reply = ExchangeFrame(address, value, kind);
        if (pauseMs > 0)
            Pause(pauseMs);
    }
    return abandoned_ == started ? reply : -1;
}

int InstrumentLink::WriteRegister(quint8 kind, quint8 address, quint8 value)
{
    const quint64 started = abandoned_;
    int reply = WritePass(kind, address, value, 0, started);
    for (int pass = 2; reply != int(address) && pass <= 3 && abandoned_ == started; ++pass) {
        // The instrument may have lost step: one harmless exchange puts it
        // back in step before the writes are tried again, more slowly.
        Pause(100);
        ReadTemperature();
        Pause(100);
        reply = WritePass(kind, address, value, 50, started);
    }
    return reply == int(address) && abandoned_ == started ? 1 : -1;
}

int InstrumentLink::WriteChannelRegister(int channel, quint8 value)
{
    const WriteTarget target = ChannelWriteTarget(channel);
    return WriteRegister(target.kind, target.address, value);
}

int InstrumentLink::WriteMemoryRegister(quint8 address, quint8 value)
{
    return WriteRegister(kWriteKindLowBank, address, value);
}

void StoreBlock(const BeamBlock& block, int first, std::array<qint16, kChannelTable>& values)
{
    for (int s = 0; s < kBlockSamples; ++s)
        values[ChannelOfSample(first, s)] = block.samples[s];
}

} // namespace bandora
