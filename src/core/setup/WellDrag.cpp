#include "WellDrag.h"

namespace bandora {

void WellDrag::Press(ProjectSetup& project, const PlateFormat& plate, WellCell cell, int group, bool leftButton)
{
    ClickWell(project, plate, WellOfCell(plate, cell), group, leftButton);
    active_ = true;
    dragged_ = false;
    left_ = leftButton;
    group_ = group;
    start_ = current_ = cell;
}

bool WellDrag::Move(WellCell cell)
{
    if (!active_ || cell == current_)
        return false;
    current_ = cell;
    if (cell != start_)
        dragged_ = true;
    return true;
}

bool WellDrag::Release(ProjectSetup& project, const PlateFormat& plate, WellCell cell)
{
    if (!active_)
        return false;
    Move(cell);
    active_ = false;
    if (!dragged_)
        return false;
    AssignRectangle(project, plate, start_, current_, group_, left_);
    return true;
}

} // namespace bandora
