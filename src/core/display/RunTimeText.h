#pragma once

// How a run stands against its programmed lapse, in the words shown beside
// the elapsed time: "lapse 2 h 00 min · ends 14:35, 1 h 12 min left".

#include <QDateTime>
#include <QString>

namespace bandora {

// A span of minutes as "45 min", "1 h 12 min" or "2 d 3 h 05 min".
QString DurationText(qint64 minutes);

// The part of the lapse done, 0.0 to 1.0, to the millisecond, so the
// progress bar moves at every time keeping and fills at the lapse end; a
// lapse of 0 is done at once.
double LapseProgress(qint64 elapsedMs, qint16 aqLapse);

// The run's lapse, its end as a clock time (with the day when it is not
// today) and the time left, rounded up to the minute, so "0 min left" is only
// shown at the end. With paused set the end is not known: the lapse and the
// time left only.
QString RunTimeText(qint64 elapsedMs, qint16 aqLapse, const QDateTime& now, bool paused = false);

} // namespace bandora
