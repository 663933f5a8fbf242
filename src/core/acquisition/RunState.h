#pragma once

namespace bandora {

// Where the experiment run stands. Set by the run control; the tool buttons
// only leave their change pending while it is Running. The numbers are the
// ones the program has always used for the three states.
enum class AcquisitionState { Stopped = 0, Running = 1, Paused = 2 };

// A run is under way (running or paused): the instrument belongs to it.
constexpr bool Active(AcquisitionState s) { return s != AcquisitionState::Stopped; }

} // namespace bandora
