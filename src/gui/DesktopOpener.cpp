#include "DesktopOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace bandora {

bool SystemDesktopOpener::open(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace bandora
