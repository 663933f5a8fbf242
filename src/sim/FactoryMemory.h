#pragma once

#include <QString>

#include <array>

namespace bandora::sim {

// The virtual instrument's memory at 0x80..0x87: the factory temperature
// calibration record. Kept in a small text file when a path is given, so a
// record written by the factory window is still there at the next start.
class FactoryMemory {
public:
    // A calibrated instrument: record valid, January 2025, offset +0.5 degrees,
    // slope 0.219 degrees per raw unit.
    static constexpr std::array<quint8, 8> kDefault = {0, 1, 25, 0, 5, 219, 0, 0};

    explicit FactoryMemory(QString path = QString());

    // Reads the file when it exists; a missing or damaged file leaves the
    // default record (and says why in `error`).
    bool Load(QString* error = nullptr);

    // The stored byte of an address; 0 outside the record.
    quint8 Read(quint8 address) const;

    // Stores a byte of the record (other addresses are ignored) and saves the
    // file. False when the address is outside the record or the file cannot
    // be written.
    bool Write(quint8 address, quint8 value);

    // Degrees Celsius per raw unit and the offset, as the program derives them
    // from a valid record; the defaults 0.219 and 0.0 for an invalid one.
    double Slope() const;
    double Offset() const;

    // A worn cell: writes to this address are taken without being kept
    // (-1: none).
    void SetStuck(int address) { stuckAddress_ = address; }

    const std::array<quint8, 8>& Bytes() const { return bytes_; }
    QString Path() const { return path_; }

private:
    bool Save() const;

    QString path_;
    std::array<quint8, 8> bytes_ = kDefault;
    int stuckAddress_ = -1;
};

} // namespace bandora::sim
