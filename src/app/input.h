#pragma once

#include "platform/event.h"
#include "platform/platform.h"

#include <map>
#include <utility>
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

// A finger on a canvas presses one button for its whole stroke, chosen as it goes: the left
// one as soon as it moves away or lifts, the right one once it has stayed still for half a
// second (a long press). Its press and the moves it makes meanwhile wait until then, so
// that a long press sets no ink first. A finger arrives as it touches, where a mouse moves
// onto the canvas first.
class FingerStrokes {
  public:
    static constexpr int longPressMs = 500;
    static constexpr int stillPixels = 6; // how far a still finger may wander

    // The pointer events a finger's event (FingerDown, FingerMove, FingerUp, Timer) means,
    // in order; a touch starts the platform's timer for the long press.
    std::vector<Event> pointerEvents(const Event& raw, Platform& platform);

  private:
    std::vector<Event> begin(const Event& at); // the left press, then the moves that waited

    int timer_ = 0;          // the number of the last timer started
    bool waiting_ = false;   // touched, its button not chosen yet
    Event start_;            // the touch, while waiting
    std::vector<Event> moves_; // made while waiting
    Button button_ = Button::Left;
};

// The wheel scrolls three steps a notch. Its turns, in 120ths of a notch, add up to whole
// notches (finer wheels and touch pads send fractions), and turning back drops what was left
// over the other way. Down goes down; with Shift held a wheel that only turns goes right.
class WheelSteps {
  public:
    static constexpr int notch = 120;
    static constexpr int stepsPerNotch = 3;

    // The steps to scroll, right and down, for a Wheel event.
    std::pair<int, int> steps(const Event& raw);

  private:
    static int add(int& rest, int delta);

    int restX_ = 0;
    int restY_ = 0;
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
