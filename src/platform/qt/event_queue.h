#pragma once

#include "platform/event.h"

#include <deque>
#include <optional>
#include <utility>

// The events the Qt widgets have translated and the program has not taken yet, in the
// order they happened.

namespace tessaly {

class EventQueue {
  public:
    void push(Event event) { events_.push_back(std::move(event)); }

    std::optional<Event> pop() {
        if (events_.empty()) return std::nullopt;
        Event event = std::move(events_.front());
        events_.pop_front();
        return event;
    }

    bool empty() const { return events_.empty(); }

  private:
    std::deque<Event> events_;
};

} // namespace tessaly
