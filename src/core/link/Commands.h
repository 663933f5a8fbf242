#pragma once

// The instrument's command set. Every command travels as a five-byte frame
// (Frames.h); commands without a write go as command frames of kind 0x00.
//
//   | name            | frame (hex)     | argument                      | reply                          |
//   |-----------------|-----------------|-------------------------------|--------------------------------|
//   | Identify        | FF 00 00 00 F0  | none                          | 00 vv: present when vv > 10    |
//   | SetOutputs      | FF 00 10 ss F0  | output state 0..7 (below)     | none                           |
//   | ReadMemoryByte  | FF 00 20 aa F0  | memory address, 0x80..0x87    | first byte = stored byte       |
//   | ReadTemperature | FF 00 21 00 F0  | none                          | first byte = raw reading       |
//   | ReadBeamBlock   | FF 00 30 bb F0  | first channel 0, 32, 64, 96   | 192-byte beam block            |
//   | WriteRegister   | FF 8h aa vv F0  | see the write targets         | first byte = echo of aa        |
//
// Output state of SetOutputs: bit 0 the temperature element on, bit 1 heating
// selected (clear = cooling), bit 2 the light on.

#include <QtGlobal>

namespace bandora {

enum class CommandCode : quint8 {
    Identify = 0x00,
    SetOutputs = 0x10,
    ReadMemoryByte = 0x20,
    ReadTemperature = 0x21,
    ReadBeamBlock = 0x30,
};

constexpr quint8 Code(CommandCode c) { return quint8(c); }

constexpr quint8 kOutputActuator = 0x01;
constexpr quint8 kOutputHeating = 0x02;
constexpr quint8 kOutputLight = 0x04;

// The factory temperature calibration record in the instrument's memory.
constexpr quint8 kFactoryFirstAddress = 0x80;
constexpr int kFactoryBytes = 8;

// The first block channels of one full read of the 384 beams.
constexpr int kBlockFirsts[] = {0, 32, 64, 96};

// An identify reply that names the instrument: 0x00 followed by a version
// above 10.
constexpr bool IsInstrumentIdentity(int first, int second) { return first == 0x00 && second > 10; }

} // namespace bandora
