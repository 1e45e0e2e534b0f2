#pragma once

#include <deque>
#include <string>

// One raw fact reported by a platform: what happened, nothing derived from it. What the
// program makes of it (clicks, entering a canvas, ...) is decided by the core (app/input).

namespace tessaly {

enum class EventKind {
    Wake,           // nothing to report: the wait woke (after a frame, say)
    PointerDown,    // control, x, y, button, buttons
    PointerUp,      // control, x, y, button, buttons
    PointerMove,    // control, x, y, buttons
    PointerLeave,   // control: the pointer left the canvas
    KeyDown,        // control (the canvas with the keyboard, or -1), key; no auto-repeat
    KeyUp,          // control, key
    KeyboardLost,   // the program's windows lost the keyboard (to another program, a dialog
                    // or a popup): the keys held there are let go unseen
    Command,        // command: a menu item or a shortcut picked
    WindowClosed,   // window: its close box, or the system's close
    FilesDropped,   // control, paths
    ControlChanged, // control, value: a slider moved, the box toggled, a button pushed
    MenuKey,        // window (the active one), key, value: a key for the menus, on a platform
                    // whose menus the program walks (Platform::showMenuPlace); value is the
                    // number of the menu bar's title the pointer opened (1 for the first),
                    // from which the keys go on, or 0
    MenuClosed,     // the pointer (or a shortcut) closed the menus the keys were walking
    FingerDown,     // control, x, y: a finger touched the canvas (which button it presses
                    // is the program's to decide)
    FingerMove,     // control, x, y
    FingerUp,       // control, x, y; value 1 when the system took the finger away
    Timer,          // value: the number a timer was started with, its time up
    Wheel,          // control (a scroll area), x, y: the wheel turned right and down, in
                    // 120ths of a notch; value 1 with Shift held
};

// Escape is reported, with control -1, wherever it goes down or up while one of the
// program's own windows (not a dialog or popup) has the keyboard; a canvas with the keyboard
// reports it as well, like any key. Enter, Space and Menu (F10, or Alt pressed and released
// alone) come only in MenuKey.
enum class Key { None, Left, Up, Right, Down, Insert, Delete, Escape, Other, Enter, Space, Menu };

// Event::button names the button that went down or up; Event::buttons holds the bits of
// those held once the event happened.
enum class Button { None, Left, Right, Middle };
constexpr int ButtonLeft = 1;
constexpr int ButtonRight = 2;
constexpr int ButtonMiddle = 4;

struct Event {
    EventKind kind = EventKind::Wake;
    int window = -1;
    int control = -1;
    int command = -1;
    // Canvas pixels, from the drawing area's top left; outside it (even negative) while
    // a button pressed on the canvas is held.
    int x = 0;
    int y = 0;
    Button button = Button::None;
    int buttons = 0;
    Key key = Key::None;
    int value = 0;     // ControlChanged: a slider's position, the box's state (0 or 1)
    std::string paths; // FilesDropped: the dropped files' paths joined by '\n'
};

// The events a platform has translated and the program has not taken yet, oldest first.
using EventQueue = std::deque<Event>;

// An event of `kind`, about `control` of `window` where it has them.
inline Event eventOf(EventKind kind, int window = -1, int control = -1) {
    Event event;
    event.kind = kind;
    event.window = window;
    event.control = control;
    return event;
}

// A key's fact (KeyDown, KeyUp, KeyboardLost) that names no control.
inline Event keyEvent(EventKind kind, Key key = Key::None) {
    Event e = eventOf(kind);
    e.key = key;
    return e;
}

} // namespace tessaly
