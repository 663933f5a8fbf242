#pragma once

// The checks of the numbers the operator types into the tool boxes of the
// main window. Each runs when its box loses the focus: a valid entry is
// stored in the project (rounded to an integer, in tenths where the unit is
// tenths) and shown in the box's own format; an invalid one (not a number,
// empty, or out of range) gets its message and the box's reset value.

#include <QString>

namespace bandora {

struct EntryRule {
    enum class Shown { TwoDigits, Integer, OneDecimal, AsTyped };

    double min;
    double max;
    bool minIncluded;
    int scale;          // 10 where the project keeps tenths
    Shown shown;
    QString message;    // shown when the entry is invalid
    double resetValue;  // in the box's unit
};

struct EntryResult {
    bool valid = false;
    double value = 0;   // in the box's unit (the reset value when invalid)
    qint16 stored = 0;  // what the project keeps
    QString shown;      // the box's text afterwards
};

EntryResult CheckEntry(const EntryRule& rule, const QString& text);

namespace entries {
// The light hours txt_lon and txt_loff, 0 to 23.
EntryRule LightOnHour();
EntryRule LightOffHour();
// The parts of a light pulse, txt_pulseon and txt_pulseoff, in minutes.
EntryRule PulseOn();
EntryRule PulseOff();
// The number of light pulses, txt_pulsetimes.
EntryRule PulseTimes();
// The temperature set point, txttemp, in degrees.
EntryRule SetPoint();
// The signal-to-noise factor of the zero procedure, txt_snr_umbral.
EntryRule SignalToNoise();
} // namespace entries

} // namespace bandora
