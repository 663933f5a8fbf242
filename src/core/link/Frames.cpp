#include "Frames.h"

namespace bandora {

QByteArray BuildFrame(quint8 kind, quint8 first, quint8 second)
{
    QByteArray frame(kFrameBytes, '\0');
    frame[0] = char(kFrameStart);
    frame[1] = char(kind);
    frame[2] = char(first);
    frame[3] = char(second);
    frame[4] = char(kFrameEnd);
    return frame;
}

WriteTarget ChannelWriteTarget(int channel)
{
    if (channel < kBankChannels)
        return {kWriteKindLowBank, quint8(channel)};
    return {kWriteKindHighBanks, quint8(channel - kBankChannels)};
}

int ChannelOfWrite(quint8 kind, quint8 address)
{
    if (kind == kWriteKindLowBank)
        return address < kBankChannels ? int(address) : -1;
    if (kind == kWriteKindHighBanks)
        return kBankChannels + int(address);
    return -1;
}

bool DecodeBeamBlock(const QByteArray& bytes, BeamBlock& block)
{
    if (bytes.size() != kBlockBytes)
        return false;
    BeamBlock decoded;
    for (int s = 0; s < kBlockSamples; ++s) {
        int high = quint8(bytes[2 * s]);
        const int low = quint8(bytes[2 * s + 1]);
        if (high > 15) {
            high = 15;
            decoded.clamped = true;
        }
        decoded.samples[s] = qint16(high * 256 + low);
    }
    block = decoded;
    return true;
}

QByteArray EncodeBeamBlock(const std::array<qint16, kBlockSamples>& samples)
{
    QByteArray bytes(kBlockBytes, '\0');
    for (int s = 0; s < kBlockSamples; ++s) {
        const int v = samples[s] & 0x0FFF;
        bytes[2 * s] = char(v >> 8);
        bytes[2 * s + 1] = char(v & 0xFF);
    }
    return bytes;
}

namespace {
bool KnownKind(quint8 kind)
{
    return kind == kCommandKind || kind == kWriteKindLowBank || kind == kWriteKindHighBanks;
}

// Bytes to drop so that the next look starts at the next 0xFF after byte 0.
int SkipToNextStart(const QByteArray& bytes)
{
    const int next = bytes.indexOf(char(kFrameStart), 1);
    return next < 0 ? int(bytes.size()) : next;
}
} // namespace

FrameScan ScanFrame(const QByteArray& bytes)
{
    FrameScan scan;
    if (bytes.isEmpty())
        return scan;
    if (quint8(bytes[0]) != kFrameStart || (bytes.size() >= 2 && !KnownKind(quint8(bytes[1])))) {
        scan.status = FrameScan::Status::Invalid;
        scan.consumed = quint8(bytes[0]) != kFrameStart ? SkipToNextStart(bytes) : 1;
        return scan;
    }
    if (bytes.size() < kFrameBytes)
        return scan;
    if (quint8(bytes[4]) != kFrameEnd) {
        scan.status = FrameScan::Status::Invalid;
        scan.consumed = SkipToNextStart(bytes);
        return scan;
    }
    scan.status = FrameScan::Status::Valid;
    scan.consumed = kFrameBytes;
    scan.kind = quint8(bytes[1]);
    scan.first = quint8(bytes[2]);
    scan.second = quint8(bytes[3]);
    return scan;
}

} // namespace bandora
