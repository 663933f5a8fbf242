#pragma once

// The factory window's work without its widgets: the live temperature, the
// reference check and the new offset, and the write of the whole factory
// record back into the instrument's memory:
//
//   | address | value written                                           |
//   |---------|---------------------------------------------------------|
//   | 0x80    | 0 (record valid)                                        |
//   | 0x81    | month of today's date                                   |
//   | 0x82    | two-digit year of today's date                          |
//   | 0x83    | 1 when the new offset is negative, else 0               |
//   | 0x84    | |offset| x 10, nearest integer                          |
//   | 0x85    | low byte of the slope in thousandths                    |
//   | 0x86    | high byte of the slope in thousandths                   |
//
// 0x87 is left alone. The addresses are written in that order, each with the
// verified register write, stopping at the first that fails; the record is
// then read back. When it does not check out, the record read before the
// writes is written back and checked, or the operator is told what the
// memory now holds.

#include "core/acquisition/RunState.h"
#include "core/common/Services.h"
#include "core/link/InstrumentSession.h"

#include <QString>

#include <array>

namespace bandora {

constexpr quint8 kFactoryFirstAddress = 0x80;
using FactoryRecordValues = std::array<quint8, 7>; // addresses 0x80..0x86

// The record for a new offset and the (unchanged) slope on a given date.
FactoryRecordValues MakeFactoryRecord(double offset, double slope, int month, int year);

// "OK Last Factory Calibration mm/yy [mm/yy]".
QString LastCalibrationText(int month, int year);

class FactoryCalibration {
public:
    static constexpr int kPollMs = 1000;
    static constexpr double kLowestReference = 4.0;
    static constexpr double kHighestReference = 50.0;

    FactoryCalibration(const Services& services, InstrumentSession& instrument, const RunState& run);

    // "Factory Settings": only online with the experiment stopped; otherwise
    // says so and returns false.
    bool MayOpen() const;

    // Window load: the status text; an invalid record puts the defaults back
    // in memory.
    QString Load();
    static QString ReferenceStart() { return QStringLiteral("25.0"); }

    // One temperature poll: the reading in degrees, formatted "0.0".
    QString PollTemperature();
    int LastRaw() const { return lastRaw_; }

    // Cmd_temp with the text of the reference box. Returns the new status
    // text, or an empty string when nothing was written (reference refused).
    QString Calibrate(const QString& referenceText);

    // The new offset for a reference temperature and a raw reading.
    double NewOffset(double reference, int raw) const;

private:
    // The new record checked out: it becomes the calibration in memory.
    QString Calibrated(double offset, int month, int year);

    Services services_;
    InstrumentSession& instrument_;
    const RunState& run_;
    int lastRaw_ = -1;
};

} // namespace bandora
