#pragma once

#include <QByteArray>
#include <QString>

#include "QtPrinters.h"

namespace bandora::test {

// Whole-file helpers for tests that set up or inspect folders byte by byte.
QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);

} // namespace bandora::test
