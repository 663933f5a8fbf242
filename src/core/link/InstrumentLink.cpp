#include "InstrumentLink.h"

#include "Commands.h"
#include "PortName.h"

#include "core/common/Clock.h"
#include "core/common/Operator.h"

namespace bandora {

InstrumentLink::InstrumentLink(QString appDir, Clock& clock, Operator& op)
    : appDir_(std::move(appDir)), clock_(clock), op_(op)
{
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
    if (!transport_.ClearReceive() || !transport_.Write(BuildFrame(kCommandKind, Code(CommandCode::Identify), 0)))
        return false;
    const QByteArray reply = transport_.Receive(kReplyBytes, kLinkTestWaitMs);
    return reply.size() >= kReplyBytes && IsInstrumentIdentity(quint8(reply[0]), quint8(reply[1]));
}

int InstrumentLink::SendFrame(quint8 first, quint8 second, quint8 kind)
{
    if (!ClearReceive() || !transport_.Write(BuildFrame(kind, first, second)))
        return -1;
    return 0;
}

int InstrumentLink::ExchangeFrame(quint8 first, quint8 second, quint8 kind)
{
    if (SendFrame(first, second, kind) != 0)
        return -1;
    // More than two bytes means a late reply of an earlier exchange is mixed
    // in: which byte answers this one cannot be told, so the exchange fails.
    const QByteArray reply = transport_.Receive(kReplyBytes, kExchangeWaitMs);
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
    if (!transport_.ClearReceive() || !transport_.Write(BuildFrame(kCommandKind, Code(CommandCode::Identify), 0)))
        return false;
    const QByteArray bytes = transport_.ReceiveUntilQuiet(kReplyBytes, kExchangeWaitMs, kQuietMs);
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
    if (!ClearReceive() || !SendString(BuildFrame(kCommandKind, Code(CommandCode::ReadBeamBlock), quint8(first))))
        return false;
    return DecodeBeamBlock(WaitReceive(kBlockBytes), block);
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

int InstrumentLink::WritePass(quint8 kind, quint8 address, quint8 value, int pauseMs)
{
    int reply = -1;
    for (int i = 0; i < 9; ++i) {
        reply = ExchangeFrame(address, value, kind);
        if (pauseMs > 0)
            clock_.pause(pauseMs);
    }
    return reply;
}

int InstrumentLink::WriteRegister(quint8 kind, quint8 address, quint8 value, int regNumber)
{
    int reply = WritePass(kind, address, value, 0);
    for (int pass = 2; reply != int(address) && pass <= 3; ++pass) {
        // The instrument may have lost step: one harmless exchange puts it
        // back in step before the writes are tried again, more slowly.
        clock_.pause(100);
        ReadTemperature();
        clock_.pause(100);
        reply = WritePass(kind, address, value, 50);
    }
    if (reply == int(address))
        return 1;
    op_.inform(QStringLiteral("Ops...Data Writing ERROR: reg(%1)... Check COM and Try again").arg(regNumber));
    return -1;
}

int InstrumentLink::WriteChannelRegister(int channel, quint8 value)
{
    const WriteTarget target = ChannelWriteTarget(channel);
    return WriteRegister(target.kind, target.address, value, channel);
}

int InstrumentLink::WriteMemoryRegister(quint8 address, quint8 value)
{
    return WriteRegister(kWriteKindLowBank, address, value, address);
}

void StoreBlock(const BeamBlock& block, int first, std::array<qint16, kChannelTable>& values)
{
    for (int s = 0; s < kBlockSamples; ++s)
        values[ChannelOfSample(first, s)] = block.samples[s];
}

} // namespace bandora
