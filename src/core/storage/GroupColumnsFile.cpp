#include "GroupColumnsFile.h"

#include "CsvText.h"
#include "RecordSyntax.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace bandora {

namespace {

QString FilePath(const QString& folder) { return QDir(folder).filePath(QStringLiteral("groupcols.csv")); }

} // namespace

void WriteGroupColumns(const ProjectSetup& project, const QString& folder)
{
    const QString path = FilePath(folder);
    if (project.GroupColumnNames.isEmpty()) {
        QFile::remove(path);
        return;
    }
    QString text = CsvLine(QStringList{QStringLiteral("group")} + project.GroupColumnNames) + QStringLiteral("\r\n");
    for (const auto& [group, values] : project.GroupColumnValues)
        text += CsvLine(QStringList{QString::number(group)} + values) + QStringLiteral("\r\n");
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw RecordError(
            QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString()).toStdString());
}

void LoadGroupColumns(ProjectSetup& project, const QString& folder)
{
    project.GroupColumnNames.clear();
    project.GroupColumnValues.clear();
    QFile file(FilePath(folder));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QStringList lines = CsvTextLines(file.readAll());
    if (lines.isEmpty())
        return;
    project.GroupColumnNames = SplitCsvLine(lines.front()).mid(1);
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList fields = SplitCsvLine(lines[i]);
        bool ok = false;
        const int group = fields.front().toInt(&ok);
        if (ok && group >= 0 && group < kChannelTable)
            project.GroupColumnValues[group] = fields.mid(1);
    }
}

} // namespace bandora
