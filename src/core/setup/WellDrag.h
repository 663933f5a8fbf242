#pragma once

// Clicking and dragging over the wells of the plate picture. A press acts on
// the well under the cursor at once; a drag (the cursor has left the cell it
// was pressed in) acts on the whole rectangle when the button is released.
// A plain click therefore never takes a well from another group, and a drag
// does.

#include "GroupRules.h"

#include <optional>

namespace bandora {

class WellDrag {
public:
    // The button went down over a cell: the click rule of ClickWell.
    void Press(ProjectSetup& project, const PlateFormat& plate, WellCell cell, int group, bool leftButton);

    // The cursor is over a cell with the button held. Returns true when the
    // rectangle to show changed.
    bool Move(WellCell cell);

    // The button came up over a cell. After a drag every well of the
    // rectangle takes the group (or is freed); returns true when that happened.
    bool Release(ProjectSetup& project, const PlateFormat& plate, WellCell cell);

    // Ends a drag without acting on it (the picture lost the mouse).
    void Cancel() { active_ = false; }

    bool Active() const { return active_; }
    bool Dragged() const { return active_ && dragged_; }
    WellCell Start() const { return start_; }
    WellCell Current() const { return current_; }

private:
    bool active_ = false;
    bool dragged_ = false;
    bool left_ = true;
    int group_ = 0;
    WellCell start_;
    WellCell current_;
};

} // namespace bandora
