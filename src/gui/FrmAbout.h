#pragma once

#include <QDialog>

namespace bandora {

// The about window: program name, version and what the program is for.
// Shown without blocking the main window.
class FrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit FrmAbout(QWidget* parent = nullptr);
};

} // namespace bandora
