#pragma once

#include "platform/event.h"

#include <deque>

namespace tessaly {

// The events the Qt widgets have translated and the program has not taken yet, oldest first.
using EventQueue = std::deque<Event>;

// An event of `kind`, about `control` of `window` where it has them.
inline Event eventOf(EventKind kind, int window = -1, int control = -1) {
    Event event;
    event.kind = kind;
    event.window = window;
    event.control = control;
    return event;
}

} // namespace tessaly
