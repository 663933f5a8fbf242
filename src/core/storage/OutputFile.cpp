#include "OutputFile.h"

#include <QFileInfo>

namespace bandora {

bool OpenReplacing(QFile& file)
{
    const QFileInfo info(file.fileName());
    if (info.isSymLink()) {
        if (!QFile::remove(file.fileName()))
            return false;
    } else if (info.exists() && !info.isFile()) {
        return false;
    }
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

} // namespace bandora
