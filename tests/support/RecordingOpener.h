#pragma once

#include "gui/DesktopOpener.h"

#include <QStringList>

namespace bandora::test {

// Notes what the desktop would open, and opens nothing; says it did unless
// told the desktop has no viewer.
struct RecordingOpener final : DesktopOpener {
    bool open(const QString& path) override
    {
        opened << path;
        return answer;
    }
    bool answer = true;
    QStringList opened;
};

} // namespace bandora::test
