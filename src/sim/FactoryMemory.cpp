#include "FactoryMemory.h"

#include "core/link/Commands.h"
#include "core/storage/RecordSyntax.h"

#include <QDir>
#include <QFileInfo>

namespace bandora::sim {

namespace {
const QString kHeader = QStringLiteral("Instrument memory: <0x80>,<0x81>,<0x82>,<0x83>,<0x84>,<0x85>,<0x86>,<0x87>");

bool RecordValid(const std::array<quint8, 8>& b)
{
    const int slopeThousandths = b[6] * 256 + b[5];
    const double offset = b[4] / 10.0;
    return b[0] == 0 && b[1] >= 1 && b[1] <= 12 && b[2] <= 99 && b[3] <= 1 && b[5] > 0 && offset <= 10.0
           && slopeThousandths >= 100 && slopeThousandths <= 450;
}
} // namespace

FactoryMemory::FactoryMemory(QString path) : path_(std::move(path)) {}

bool FactoryMemory::Load(QString* error)
{
    if (path_.isEmpty() || !QFileInfo::exists(path_))
        return true;
    try {
        RecordReader reader = RecordReader::FromFile(path_);
        reader.ReadText();
        std::array<quint8, 8> read{};
        for (auto& byte : read) {
            const qint32 v = reader.ReadInt32();
            if (v < 0 || v > 255)
                throw RecordError("byte out of range");
            byte = quint8(v);
        }
        bytes_ = read;
        return true;
    } catch (const RecordError& e) {
        if (error)
            *error = QStringLiteral("%1: %2; using the default record").arg(path_, QString::fromUtf8(e.what()));
        return false;
    }
}

quint8 FactoryMemory::Read(quint8 address) const
{
    const int i = address - kFactoryFirstAddress;
    return i >= 0 && i < kFactoryBytes ? bytes_[i] : 0;
}

bool FactoryMemory::Write(quint8 address, quint8 value)
{
    const int i = address - kFactoryFirstAddress;
    if (i < 0 || i >= kFactoryBytes)
        return false;
    if (address == stuckAddress_)
        return true; // the worn cell answers as if it kept the byte
    bytes_[i] = value;
    return Save();
}

bool FactoryMemory::Save() const
{
    if (path_.isEmpty())
        return true;
    QVector<RecordWriter::Value> fields;
    for (quint8 b : bytes_)
        fields.push_back(qint64(b));
    try {
        QDir().mkpath(QFileInfo(path_).absolutePath());
        RecordWriter().Header(kHeader).Record(fields).WriteTo(path_);
    } catch (const RecordError&) {
        return false;
    }
    return true;
}

double FactoryMemory::Slope() const
{
    return RecordValid(bytes_) ? (bytes_[6] * 256 + bytes_[5]) / 1000.0 : 0.219;
}

double FactoryMemory::Offset() const
{
    if (!RecordValid(bytes_))
        return 0.0;
    return bytes_[3] ? -bytes_[4] / 10.0 : bytes_[4] / 10.0;
}

} // namespace bandora::sim
