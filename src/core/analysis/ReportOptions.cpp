#include "ReportOptions.h"

namespace bandora {

namespace {

// The first character of a format that is neither a field letter nor a blank.
QString FirstSeparator(const QString& format, const QString& fallback)
{
    for (const QChar c : format)
        if (!c.isLetter() && !c.isSpace() && c != QLatin1Char('\''))
            return QString(c);
    return fallback;
}

} // namespace

QString ReportDateText(const QDateTime& when) { return when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")); }

QString ReportExtension(ReportFileType type)
{
    return type == ReportFileType::Csv ? QStringLiteral(".csv") : QStringLiteral(".txt");
}

QString ListSeparator(const QLocale& locale)
{
    return locale.decimalPoint() == QStringLiteral(",") ? QStringLiteral(";") : QStringLiteral(",");
}

QString DateSeparator(const QLocale& locale)
{
    return FirstSeparator(locale.dateFormat(QLocale::ShortFormat), QStringLiteral("/"));
}

QString TimeSeparator(const QLocale& locale)
{
    return FirstSeparator(locale.timeFormat(QLocale::ShortFormat), QStringLiteral(":"));
}

} // namespace bandora
