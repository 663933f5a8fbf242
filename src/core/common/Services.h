#pragma once

namespace bandora {

class Clock;
class EventPump;
class Operator;

// What the program talks through rather than owns: the operator's message
// boxes, the clock and the window events. Made once by the start-up.
struct Services {
    Operator& op;
    Clock& clock;
    EventPump& events;
};

} // namespace bandora
