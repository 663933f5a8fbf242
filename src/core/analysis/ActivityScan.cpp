#include "ActivityScan.h"

#include "core/storage/CountsFile.h"

namespace bandora {

namespace {
constexpr qint64 kBlockRecords = 2048;
}

void ActivityScan::KeepFirst(qint64 records)
{
    if (records >= Records)
        return;
    Records = std::max<qint64>(records, 0);
    TimeField.resize(size_t(Records));
    RecordTime.resize(size_t(Records));
    LargestTimeField = 0;
    for (qint32 field : TimeField)
        LargestTimeField = std::max<qint64>(LargestTimeField, field);
}

ActivityScan ScanActivityFile(const QString& path, qint64 timeFieldLimit)
{
    ActivityScan scan;
    CountsFileReader reader(path);
    if (!reader.IsOpen()) {
        scan.Error = reader.ErrorText();
        return scan;
    }
    scan.Opened = true;
    scan.PartialRecord = reader.HasPartialRecord();
    scan.TimeField.reserve(size_t(reader.RecordCount()));
    scan.RecordTime.reserve(size_t(reader.RecordCount()));
    DayWrap wrap;
    std::vector<CountsRecord> block;
    for (qint64 first = 0; first < reader.RecordCount(); first += kBlockRecords) {
        const qint64 got = reader.ReadBlock(first, kBlockRecords, block);
        for (qint64 k = 0; k < got; ++k) {
            const qint32 field = block[size_t(k)].ElapsedMinutes;
            if (field >= timeFieldLimit)
                return scan;
            scan.LargestTimeField = std::max<qint64>(scan.LargestTimeField, field);
            scan.TimeField.push_back(field);
            scan.RecordTime.push_back(wrap.Next(field));
            ++scan.Records;
        }
        if (got < kBlockRecords && first + got < reader.RecordCount()) {
            scan.Error = QStringLiteral("%1: read error").arg(path);
            return scan;
        }
    }
    return scan;
}

} // namespace bandora
