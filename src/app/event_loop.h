#pragma once

#include "app/input.h"
#include "platform/event.h"

namespace tessaly {

struct App;

// Waits for events and hands each to its handler until the Quit command, a close of the
// main window, or the Escape key found held when the loop wakes.
void runEventLoop(App& app);

// Handles one event; false when the program is to end.
bool dispatchEvent(App& app, const Event& event);

// Hands what a canvas's input means to the canvas's handler.
void dispatchCanvasEvent(App& app, int canvas, const CanvasEvent& event);

} // namespace tessaly
