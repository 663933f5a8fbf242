#pragma once

#include "gui/DesktopOpener.h"

#include <QStringList>

namespace bandora::test {

// Notes what the desktop would open, and opens nothing.
struct RecordingOpener final : DesktopOpener {
    bool open(const QString& path) override
    {
        opened << path;
        return true;
    }
    QStringList opened;
};

} // namespace bandora::test
