#pragma once

// The acquisition settings as the setup window edits them: the texts of its
// lists and the limits and resets of its number boxes. No widgets here, so
// every limit is tested without a window.

#include <QString>
#include <QStringList>

#include <optional>

namespace bandora {

struct ProjectSetup;

// Items of the "Acq Mode:" list; the index is stored in Aq_mode.
QStringList AcquisitionModeItems();
// Items of the "DSP Method:" list; the index is stored in DSP_Method.
QStringList DspMethodItems();
// Items of both save lists: index 0 "NO", index 1 "YES".
QStringList YesNoItems();

// Typed texts are read by their leading number, as NumericValue of the
// record syntax reads them ("12abc" -> 12, "abc" -> 0).

// Every box is checked once the operator has finished with it (Enter,
// leaving the box, or a project action): checked while typing, a box that
// is emptied to take a new number would put its reset value back at once
// and the digits typed next would land beside it.

// What a box does with a typed text: the value it stores, the text it shows
// when that is not what was typed, and a message when the text is refused.
struct BoxEntry {
    qint16 value = 0;
    std::optional<QString> shown;
    std::optional<QString> message;
};

// "Acq. Lapse:": 32000 at most; nothing at or below zero minutes (a run that
// stops before it starts), which gives 2.
BoxEntry LapseEntry(const QString& text);

// "RT Buffer:": 200 to 10000 ticks, anything else gives 200.
BoxEntry BufferEntry(const QString& text);

// "Sample rate:": the value rounded, 1 to 32767 samples per second. Anything
// else ("abc" reads as 0) is refused with a message and the rate stays
// `current`.
BoxEntry SampleRateEntry(const QString& text, qint16 current);

// "DSP Interval:": the detector window in ticks. It must be at least one
// tick and shorter than the buffer cycle, or the detection would look back
// past the start of its ring buffer.
BoxEntry DspIntervalEntry(const QString& text, qint16 rtBuffer);

// The largest detector window a buffer cycle of rtBuffer ticks allows.
qint16 MaxDspInterval(qint16 rtBuffer);

} // namespace bandora
