#include "RunTimeText.h"

#include <algorithm>

namespace bandora {

QString DurationText(qint64 minutes)
{
    minutes = std::max<qint64>(minutes, 0);
    if (minutes < 60)
        return QStringLiteral("%1 min").arg(minutes);
    const qint64 days = minutes / 1440, hours = minutes / 60 % 24, rest = minutes % 60;
    const QString hm = QStringLiteral("%1 h %2 min").arg(hours).arg(rest, 2, 10, QLatin1Char('0'));
    return days > 0 ? QStringLiteral("%1 d ").arg(days) + hm : hm;
}

double LapseProgress(qint64 elapsedMs, qint16 aqLapse)
{
    if (aqLapse <= 0)
        return 1.0;
    return std::clamp(double(elapsedMs) / (double(aqLapse) * 60000.0), 0.0, 1.0);
}

QString RunTimeText(qint64 elapsedMs, qint16 aqLapse, const QDateTime& now, bool paused)
{
    const qint64 lapseMs = qint64(std::max<qint16>(aqLapse, 0)) * 60000;
    const qint64 leftMs = std::max<qint64>(lapseMs - std::max<qint64>(elapsedMs, 0), 0);
    const QString lapse = QStringLiteral("lapse %1").arg(DurationText(aqLapse));
    const QString left = QStringLiteral("%1 left").arg(DurationText((leftMs + 59999) / 60000));
    if (paused)
        return QStringLiteral("%1 · paused, %2").arg(lapse, left);
    const QDateTime end = now.addMSecs(leftMs);
    const QString clock = end.date() == now.date() ? end.toString(QStringLiteral("HH:mm"))
                                                   : end.toString(QStringLiteral("ddd HH:mm"));
    return QStringLiteral("%1 · ends %2, %3").arg(lapse, clock, left);
}

} // namespace bandora
