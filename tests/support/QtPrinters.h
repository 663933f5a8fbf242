#pragma once

#include <QByteArray>
#include <QString>

#include <ostream>

// Readable failure output for Qt text types: GoogleTest would otherwise print
// a QString as a list of two-byte objects.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& b, std::ostream* os)
{
    *os << '"' << (b.size() > 200 ? b.left(200).toStdString() + "..." : b.toStdString()) << '"';
}
