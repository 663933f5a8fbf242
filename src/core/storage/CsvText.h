#pragma once

// Comma-separated text as spreadsheets and the analysis tools of the labs
// write and read it (RFC 4180): a field holding the separator, a quote or a
// line break is quoted, with its quotes doubled.

#include <QString>
#include <QStringList>

namespace bandora {

QString CsvField(const QString& text, QChar separator = QLatin1Char(','));
QString CsvLine(const QStringList& fields, QChar separator = QLatin1Char(','));

// The fields of one line (a quoted field does not span lines here: a plate
// layout or a group table has none that would).
QStringList SplitCsvLine(const QString& line, QChar separator = QLatin1Char(','));

// The separator a spreadsheet used for a file whose first line is `header`:
// a semicolon (locales with a decimal comma) or a tab when the line has one
// of them and no comma, else a comma.
QChar GuessCsvSeparator(const QString& header);

// The lines of a UTF-8 text without its byte-order mark, CR LF or LF ends.
QStringList CsvTextLines(const QByteArray& bytes);

} // namespace bandora
