#include "WorkingFolder.h"

#include "ProjectSetup.h"

#include <QDir>
#include <QFileInfo>

namespace bandora {

QString DecideProjectFolder(const QString& appDir, ProgramConfig& config)
{
    const QString root = QDir::cleanPath(appDir);
    if (config.Actual_Project_Number >= 1) {
        const QString folder = QDir(root).filePath(ProjectFolderName(config.Actual_Project_Number));
        if (QFileInfo(folder).isDir())
            return folder;
    }
    // A project folder that was deleted or moved away: fall back to the
    // built-in project rather than creating an empty folder under its number.
    config.Actual_Project_Number = 0;
    return root;
}

bool IsPlainEntryName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

} // namespace bandora
