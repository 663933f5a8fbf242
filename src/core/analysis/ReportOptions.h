#pragma once

// What the operator chooses for a report in the report window (and what the
// command-line tool takes as options): the layout, the file type, the field
// separator and the extra group statistics.

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace bandora {

// The three layouts, numbered as the window's "Output format:" options.
enum class ReportLayout { Rows = 0, List = 1, Array = 2 };

enum class ReportFileType { Csv, Txt };

struct ReportOptions {
    ReportLayout Layout = ReportLayout::Rows;
    ReportFileType FileType = ReportFileType::Csv;
    QString Separator = QStringLiteral(",");
    bool StdError = false;  // "Std Error"
    bool StdDev = false;    // "Std Dev"
    bool WellCount = false; // "N": the number of wells of each group
};

// The DATE line of a report: year first, so that no reader takes the day
// for the month.
QString ReportDateText(const QDateTime& when);

// ".csv" or ".txt".
QString ReportExtension(ReportFileType type);

// The user's list separator: "," unless the locale writes decimals with a
// comma, then ";", so that a spreadsheet of that locale splits the fields.
QString ListSeparator(const QLocale& locale = QLocale::system());

// The separators of a date and of a time in the locale's short formats
// ("/" and ":" in most; "." for dates in many), for the per-well time stamps.
QString DateSeparator(const QLocale& locale = QLocale::system());
QString TimeSeparator(const QLocale& locale = QLocale::system());

} // namespace bandora
