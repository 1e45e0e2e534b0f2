#pragma once

#include "platform/surface.h"

#include <cstdint>
#include <string>

// The one record of global editing state. The range fields mirror the range controls
// (check box and track bars) and the drag mode mirrors the two drag-mode check marks:
// the controls and marks hold the truth, the handlers read them when they need them.

namespace tessaly {

struct EditorState {
    std::uint8_t currentChar = 0;
    int cursorColumn = 0; // cell of the current character in the overview
    int cursorRow = 0;
    Colour inkColour = 0;   // bit = 1
    Colour paperColour = 0; // bit = 0
    bool dragSwap = false;
    bool dragging = false;
    int dragSource = 0;
    bool rangeEnabled = false;
    int rangeBegin = 0;
    int rangeEnd = 0;
    int mapWidth = 0;
    int mapHeight = 0;
    bool mapGrid = false;
    int selectedMapX = 0;
    int selectedMapY = 0;
    bool mapWindowAvailable = false;
    // The map window has been shown once. Until then nobody can see the map, so it is not
    // drawn, and its canvas takes no memory; the first size command draws it before
    // showing the window.
    bool mapWindowOpened = false;
    std::string lastPath;
    std::string titleBase;
};

} // namespace tessaly
