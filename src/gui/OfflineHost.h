#pragma once

#include <QString>

namespace bandora {

// What the offline window needs from the windows around it: the way to the
// main and setup windows, and the report window opened on an experiment.
// The main window provides it; tests provide a recording one.
class OfflineHost {
public:
    virtual ~OfflineHost() = default;

    // Shows the main window (the offline window hides or has closed).
    virtual void showMainWindow() = 0;
    // Shows the setup window (the offline window hides).
    virtual void showSetupWindow() = 0;
    // Opens the report window on an experiment folder holding counts.bin,
    // with that bin size in minutes in its "Bin size (min):" box.
    virtual void openReportWindow(const QString& experimentFolder, int binMinutes) = 0;
};

} // namespace bandora
