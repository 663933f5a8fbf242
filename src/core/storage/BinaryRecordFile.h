#pragma once

// Files of fixed-size binary records (counts.bin, the real-time files): each
// record is appended in one open-append-close, so no file stays open between
// ticks and every record is with the system when the append returns.

#include <QString>

#include <span>

namespace bandora {

// What became of one record. A failure names the file and the system's reason,
// so the acquisition can keep running and tell the operator why recording fails.
struct AppendResult {
    bool Ok = true;
    QString Error;       // "<file>: <reason>" when the record was not stored
    qint64 Offset = -1;  // byte at which the record now starts
    qint64 CutBytes = 0; // bytes of a partial record cut from the end first

    explicit operator bool() const { return Ok; }
    static AppendResult Failed(const QString& path, const QString& reason);
};

// Appends one record (its size is the record size of the file). A crash or a
// power cut during an earlier append can leave part of a record at the end of
// the file; that tail is cut back to the last whole record first, so the new
// record, and every later one, starts at a multiple of the record size and no
// whole record is lost. A write that fails part-way is cut off again. The
// folder must exist; the file is created when missing.
AppendResult AppendRecord(const QString& path, std::span<const char> record);

// Shortens the file to length bytes, to take back a record just appended.
AppendResult TruncateRecords(const QString& path, qint64 length);

} // namespace bandora
