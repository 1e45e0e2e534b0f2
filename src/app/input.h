#pragma once

#include "platform/event.h"

#include <map>
#include <vector>

// What the raw pointer and key facts of a canvas mean to the handlers, decided here once
// for every platform:
// - a click is a release of a button pressed on the canvas, over the drawing area or its
//   right or bottom border (never the left or top one);
// - the first move after the pointer left (or before it was ever over the canvas) is an
//   enter, not a move.

namespace tessaly {

enum class CanvasInput {
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
};

struct CanvasEvent {
    CanvasInput type = CanvasInput::MouseMove;
    int mouseX = 0; // canvas pixels, as the raw event gave them
    int mouseY = 0;
    int buttons = 0;
    Key key = Key::None;
};

class CanvasInputs {
  public:
    // A canvas whose drawing area is width x height, inside a frame `border` pixels wide.
    void addCanvas(int canvas, int width, int height, int border);
    // What the raw event means to its canvas, in order; nothing for other events.
    std::vector<CanvasEvent> derive(const Event& raw);

  private:
    struct Canvas {
        int clickWidth = 0;  // the drawing area and the border to its right
        int clickHeight = 0; // the drawing area and the border below it
        int pressed = 0;     // bits of the buttons pressed on this canvas and still held
        bool inside = false; // the pointer has moved over it since it last left
    };
    std::map<int, Canvas> canvases_;
};

// Whether Escape is held, kept from the key's raw facts the same way for every platform.
// A press counts as held until the program has looked once, so that a quick tap made while
// a long handler ran, its release queued right behind it, still counts; losing the keyboard
// lets the key go, as its release then goes elsewhere.
class EscapeKey {
  public:
    void note(const Event& raw);
    // Held now, or tapped since the last look.
    bool look();

  private:
    bool down_ = false;
    bool tapped_ = false;
};

} // namespace tessaly
