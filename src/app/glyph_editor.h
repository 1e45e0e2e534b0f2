#pragma once

#include "app/input.h"

namespace tessaly {

struct App;

// Left press or a move with the left button held sets the pixel under the pointer;
// otherwise right press or a move with the right button held clears it.
void handleGlyphEditorEvent(App& app, const CanvasEvent& event);

} // namespace tessaly
