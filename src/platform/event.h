#pragma once

#include <string>

// One event as the loop sees it. The platform fills in what belongs to the kind; the
// rest keeps its default.

namespace tessaly {

enum class EventKind {
    Other,        // any other wake-up of the wait (repaint, input on another control)
    FilesDropped, // control + dropText
    Command,      // command
    CloseWindow,  // window
    Control,      // window + control + type (+ mouse and key data for canvases)
};

enum class EventType {
    None,
    LeftButtonDown,
    LeftButtonUp,
    LeftClick,
    RightButtonDown,
    RightButtonUp,
    RightClick,
    MouseMove,
    MouseEnter,
    MouseLeave,
    KeyDown,
    KeyUp,
    Character,
    Wheel,
    LeftDoubleClick,
    RightDoubleClick,
    MiddleButtonDown,
    MiddleButtonUp,
    FocusGained,
    FocusLost,
    Changed, // track bar moved, push button clicked, check box toggled, text edited
};

enum class Key { None, Left, Up, Right, Down, Insert, Delete, Escape, Other };

// Bits of Event::buttons: the buttons held at the moment the event was generated.
constexpr int ButtonLeft = 1;
constexpr int ButtonRight = 2;
constexpr int ButtonMiddle = 4;

struct Event {
    EventKind kind = EventKind::Other;
    int window = -1;
    int control = -1;
    EventType type = EventType::None;
    int command = -1;
    int mouseX = 0; // canvas pixels; outside the canvas (even negative) while a button is held
    int mouseY = 0;
    int buttons = 0;
    Key key = Key::None;
    std::string dropText; // dropped paths joined by '\n'
};

// A control event without pointer data: a track bar moved, a button clicked, and so on.
inline Event controlEvent(int window, int control, EventType type) {
    Event event;
    event.kind = EventKind::Control;
    event.window = window;
    event.control = control;
    event.type = type;
    return event;
}

} // namespace tessaly
