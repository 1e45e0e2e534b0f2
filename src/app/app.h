#pragma once

#include "app/editor_state.h"
#include "app/input.h"
#include "app/menu_walk.h"
#include "app/redraw.h"
#include "charset/bit_reverse_table.h"
#include "charset/charset.h"
#include "map/screen_map.h"
#include "platform/platform.h"
#include "platform/surface.h"

#include <set>

// Everything a run of the editor holds. Handlers are free functions taking App&; a test
// builds a fresh App on a FakePlatform.

namespace tessaly {

struct App {
    explicit App(Platform& p) : platform(p) {}

    Platform& platform;
    Charset charset;
    EditorState state;
    BitReverseTable bitReverse;
    ScreenMap screenMap;
    Surface charsetImage; // the 256 x 256 overview picture
    CanvasInputs input;   // what the canvases' raw input means
    FingerStrokes fingers;
    WheelSteps wheel; // over the map
    EscapeKey escape;
    std::set<int> menus;  // the menus the platform made
    MenuWalk menuWalk;
    PendingDraws pending;
    CharsetImageSource charsetImageSource; // what charsetImage was last rendered from
    OverviewShown overviewShown;
    GlyphEditorShown glyphEditorShown;
    LateTexts lateTexts;
};

} // namespace tessaly
