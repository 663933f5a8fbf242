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

// What a box does with a typed text: the value it stores and, when the box
// must show something other than what was typed, the text it shows instead.
struct BoxEntry {
    qint16 value = 0;
    std::optional<QString> shown;
};

// "Acq. Lapse:" on every change: 32000 at most; nothing at or below zero
// minutes (a run that stops before it starts), which gives 2.
BoxEntry LapseEntry(const QString& text);

// "RT Buffer:" when the box is left: 200 to 10000 ticks, anything else gives 200.
BoxEntry BufferEntry(const QString& text);

// "Sample rate:" on every change: the value rounded, kept within 16 bits.
BoxEntry SampleRateEntry(const QString& text);

// "DSP Interval:" on every change: the detector window in ticks. It must be
// at least one tick and shorter than the buffer cycle, or the detection would
// look back past the start of its ring buffer.
BoxEntry DspIntervalEntry(const QString& text, qint16 rtBuffer);

// The largest detector window a buffer cycle of rtBuffer ticks allows.
qint16 MaxDspInterval(qint16 rtBuffer);

} // namespace bandora
