#include "ConfigFile.h"

#include "RecordSyntax.h"
#include "core/common/Operator.h"

#include <QDir>
#include <QFileInfo>

namespace bandora {

namespace {
const QString kHeader = QStringLiteral("Config: <Actual_Project_Number>, <Last_Project>,<Serial_COM>,<Restart_Time>");
}

QString ConfigFilePath(const QString& appDir) { return QDir(appDir).filePath(QStringLiteral("config.dat")); }

bool ConfigFileExists(const QString& appDir) { return QFileInfo(ConfigFilePath(appDir)).isFile(); }

void LoadConfig(const QString& appDir, ProgramConfig& config, Operator& op)
{
    ProgramConfig read;
    try {
        RecordReader reader = RecordReader::FromFile(ConfigFilePath(appDir));
        reader.ReadText(); // header, content ignored
        read.Actual_Project_Number = reader.ReadInt16();
        read.Last_Project = reader.ReadInt16();
        read.Serial_COM = reader.ReadInt16();
        read.Restart_Time = reader.ReadInt16();
    } catch (const RecordError&) {
        op.inform(QStringLiteral("Error opening config File >>>> Loading DEFAULT configuration..."));
        config = ProgramConfig{};
        return;
    }
    if (read.Actual_Project_Number < 0)
        read.Actual_Project_Number = 0;
    if (read.Actual_Project_Number > read.Last_Project)
        read.Last_Project = read.Actual_Project_Number;
    if (read.Serial_COM < 1)
        read.Serial_COM = 1;
    if (read.Serial_COM > 16)
        read.Serial_COM = 16;
    read.Restart_Time = 0;
    config = read;
}

void SaveConfig(const QString& appDir, const ProgramConfig& config, Operator& op)
{
    try {
        RecordWriter()
            .Header(kHeader)
            .Record({qint64(config.Actual_Project_Number), qint64(config.Last_Project),
                     qint64(config.Serial_COM), qint64(config.Restart_Time)})
            .WriteTo(ConfigFilePath(appDir));
    } catch (const RecordError&) {
        op.inform(QStringLiteral("<Error Saving Config File>"));
    }
}

} // namespace bandora
