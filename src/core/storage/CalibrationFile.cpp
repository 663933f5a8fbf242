#include "CalibrationFile.h"

#include "RecordSyntax.h"

#include <QDir>

#include <algorithm>

namespace bandora {

QString CalibrationFilePath(const QString& appDir) { return QDir(appDir).filePath(QStringLiteral("calvalue.dat")); }

void ReadCalibrationValues(const QString& path, ChannelSettingTable& pinHole, ChannelSettingTable& gain)
{
    RecordReader reader = RecordReader::FromFile(path);
    reader.ReadText(); // the header
    for (int ch = 0; ch < kChannelTable && !reader.AtEnd(); ++ch) {
        const auto record = reader.ReadRecord();
        if (record.size() < 3)
            throw RecordError("calvalue.dat: a record has fewer than three numbers");
        pinHole[size_t(ch)] = std::clamp<qint16>(RecordReader::Int16Of(record[1]), 0, 7);
        gain[size_t(ch)] = std::clamp<qint16>(RecordReader::Int16Of(record[2]), 0, 7);
    }
}

void WriteCalibrationValues(const QString& path, const ChannelSettingTable& pinHole, const ChannelSettingTable& gain)
{
    RecordWriter w;
    w.Header(QStringLiteral("<Num_Channel>, <PinHole>, <Gain> "));
    for (int ch = 0; ch < kChannels; ++ch)
        w.Record({qint64(ch), qint64(pinHole[size_t(ch)]), qint64(gain[size_t(ch)])});
    w.WriteTo(path);
}

} // namespace bandora
