#pragma once

#include "platform/event.h"

#include <deque>

namespace tessaly {

// The events the Qt widgets have translated and the program has not taken yet, oldest first.
using EventQueue = std::deque<Event>;

} // namespace tessaly
