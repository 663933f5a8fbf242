#pragma once

#include <QString>

namespace bandora {

// What the setup window needs from the windows around it: the main window's
// description box and tool frames, and the way back to the main or offline
// window. The main window provides it; tests provide a recording one.
class SetupHost {
public:
    virtual ~SetupHost() = default;

    // The main window's description box (Txt_description).
    virtual void setMainDescription(const QString& text) = 0;

    // Shows the main window.
    virtual void showMainWindow() = 0;

    // Shows the offline window.
    virtual void showOfflineWindow() = 0;

    // Shows or hides the main window's frame of a tool: 1 calibration
    // (frm_mn1), 2 light (frm_mn2 with its pulse frame and light schedule
    // box), 3 temperature (frm_mn3). Tools 4 to 6 have no frame.
    virtual void showToolFrame(int tool, bool shown) = 0;
};

} // namespace bandora
