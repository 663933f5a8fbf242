#pragma once

// The wire format between the program and the instrument: pure functions that
// build the five-byte frames and decode the replies, shared by the program's
// exchanges and by the virtual instrument.
//
// Frame (program -> instrument), always five bytes:
//
//   | byte | name   | content                                                  |
//   |------|--------|----------------------------------------------------------|
//   | 0    | start  | 0xFF                                                     |
//   | 1    | kind   | 0x00 command frame; 0x80 / 0x81 write frame              |
//   | 2    | first  | command: command code;  write: address byte              |
//   | 3    | second | command: argument;      write: value to store            |
//   | 4    | end    | 0xF0                                                     |
//
//   Data bytes equal to 0xFF or 0xF0 travel as they are (no escaping), so a
//   frame is recognised by its position, not by its bytes alone.
//
//   Write frames name a channel's receiver setting or a byte of the factory
//   record:
//
//   | target             | kind | address byte    |
//   |--------------------|------|-----------------|
//   | channel 0..127     | 0x80 | channel         |
//   | channel 128..383   | 0x81 | channel - 128   |
//   | factory 0x80..0x87 | 0x80 | memory address  |
//
// Two-byte reply (instrument -> program), to every command frame that has a
// reply and to every write frame:
//
//   | byte | content                                                       |
//   |------|---------------------------------------------------------------|
//   | 0    | the value (0..255); for a write frame the echo of the address |
//   | 1    | identify: the instrument's version, above 10; otherwise unused |
//
// Beam-block reply to ReadBeamBlock(first), 192 bytes = 96 samples:
//
//   | bytes      | content                                                  |
//   |------------|----------------------------------------------------------|
//   | 2s, 2s + 1 | sample s (0..95): high byte first; value =               |
//   |            | min(high, 15) x 256 + low, so 0..4095                    |
//
//   Sample s belongs to channel 128 x (s mod 3) + first + (s div 3): the three
//   samples of each group of three are the same position in the three banks
//   of 128 channels.

#include <QByteArray>
#include <QtGlobal>

#include <array>

namespace bandora {

constexpr quint8 kFrameStart = 0xFF;
constexpr quint8 kFrameEnd = 0xF0;
constexpr int kFrameBytes = 5;

constexpr quint8 kCommandKind = 0x00;
constexpr quint8 kWriteKindLowBank = 0x80;
constexpr quint8 kWriteKindHighBanks = 0x81;

constexpr int kReplyBytes = 2;
constexpr int kBlockSamples = 96;
constexpr int kBlockBytes = 2 * kBlockSamples; // 192
constexpr int kBlockChannels = 32;             // per bank
constexpr int kBankChannels = 128;
constexpr int kMaxSample = 4095;

// The five bytes of a frame.
QByteArray BuildFrame(quint8 kind, quint8 first, quint8 second);

// Kind and address byte of the write frame for a channel's receiver setting.
struct WriteTarget {
    quint8 kind;
    quint8 address;
};
WriteTarget ChannelWriteTarget(int channel);

// The channel that a write frame of this kind and address sets, or -1 when
// the frame writes the factory record (or names no channel).
int ChannelOfWrite(quint8 kind, quint8 address);

// Channel of sample s (0..95) of the block whose first channel is `first`.
constexpr int ChannelOfSample(int first, int s)
{
    return kBankChannels * (s % 3) + first + s / 3;
}

// The 96 samples of a beam block.
struct BeamBlock {
    std::array<qint16, kBlockSamples> samples{};
    // True when some high byte was above 15 and its sample was clamped to
    // 15 x 256 + low; such a block is not trusted by the acquisition.
    bool clamped = false;
};

// Decodes exactly 192 bytes; false (and block untouched) for any other length.
bool DecodeBeamBlock(const QByteArray& bytes, BeamBlock& block);

// Builds the 192 bytes of a block from 96 samples (each taken modulo 4096).
QByteArray EncodeBeamBlock(const std::array<qint16, kBlockSamples>& samples);

// What the instrument side makes of the bytes received so far.
struct FrameScan {
    enum class Status {
        NeedMore, // the bytes are the beginning of a frame: wait for more
        Valid,    // a whole frame starts at byte 0
        Invalid,  // byte 0 cannot start a frame here: drop `consumed` bytes and look again
    };
    Status status = Status::NeedMore;
    int consumed = 0; // bytes the caller drops from the front
    quint8 kind = 0;
    quint8 first = 0;
    quint8 second = 0;
};

// Looks for a frame at the front of the bytes. A frame is FF kind a b F0 with
// a known kind; anything else drops bytes up to the next 0xFF, so the reader
// falls back into step after noise or a cut frame.
FrameScan ScanFrame(const QByteArray& bytes);

} // namespace bandora
