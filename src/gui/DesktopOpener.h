#pragma once

#include <QString>

namespace bandora {

// Hands a file or folder to the desktop, which opens it with the program the
// user chose for its kind: the text editor for a text export, the image
// viewer for a bitmap, the file manager for a folder. Windows receive it from
// outside, so tests can see what would be opened without opening anything.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    // False when the desktop has nothing to open it with.
    virtual bool open(const QString& path) = 0;
};

// The workstation's desktop.
class SystemDesktopOpener final : public DesktopOpener {
public:
    bool open(const QString& path) override;
};

} // namespace bandora
