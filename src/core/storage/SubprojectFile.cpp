#include "SubprojectFile.h"

#include "RecordSyntax.h"

#include <QDir>

namespace bandora {

QString SubprojectFilePath(const QString& experimentFolder)
{
    return QDir(experimentFolder).filePath(QStringLiteral("subproj.dat"));
}

void WriteSubprojectFile(const QString& experimentFolder, const QString& name, const QString& description)
{
    RecordWriter().Header(name).Header(description).WriteTo(SubprojectFilePath(experimentFolder));
}

SubprojectText ReadSubprojectFile(const QString& experimentFolder)
{
    RecordReader reader = RecordReader::FromFile(SubprojectFilePath(experimentFolder));
    SubprojectText text{reader.ReadText(), std::nullopt};
    try {
        text.Description = reader.ReadText();
    } catch (const RecordError&) {
    }
    return text;
}

} // namespace bandora
