#include "BinaryRecordFile.h"

#include <QDir>
#include <QFile>

namespace bandora {

AppendResult AppendResult::Failed(const QString& path, const QString& reason)
{
    AppendResult result;
    result.Ok = false;
    result.Error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
    return result;
}

AppendResult AppendRecord(const QString& path, std::span<const char> record)
{
    const qint64 recordBytes = qint64(record.size());
    if (recordBytes <= 0)
        return AppendResult::Failed(path, QStringLiteral("empty record"));

    // Unbuffered, so that a full disk is reported by this write and not by a
    // later flush that nobody checks.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return AppendResult::Failed(path, file.errorString());

    // A device (no length, no truncation) just takes the record.
    const bool sequential = file.isSequential();
    AppendResult result;
    const qint64 size = sequential ? 0 : file.size();
    const qint64 whole = size - size % recordBytes;
    if (whole != size) {
        if (!file.resize(whole))
            return AppendResult::Failed(path, file.errorString());
        result.CutBytes = size - whole;
    }

    const qint64 written = file.write(record.data(), recordBytes);
    if (written != recordBytes) {
        const QString reason = written < 0 || file.error() != QFileDevice::NoError
            ? file.errorString()
            : QStringLiteral("only %1 of %2 bytes written").arg(written).arg(recordBytes);
        // Leave no partial record behind, so the file still ends on a whole record.
        if (!sequential)
            file.resize(whole);
        return AppendResult::Failed(path, reason);
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        return AppendResult::Failed(path, file.errorString());
    result.Offset = whole;
    return result;
}

AppendResult TruncateRecords(const QString& path, qint64 length)
{
    QFile file(path);
    if (!file.resize(length))
        return AppendResult::Failed(path, file.errorString());
    AppendResult result;
    result.Offset = length;
    return result;
}

} // namespace bandora
