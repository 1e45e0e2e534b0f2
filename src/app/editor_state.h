#pragma once

#include "platform/surface.h"

#include <cstdint>
#include <string>

// The one record of global editing state. The range controls, the drag-mode and grid
// marks show what is held here; the platform reports the user's changes to them.

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
    bool mapWindowCreated = false; // the platform made the map window
    // The map window has been shown once. Until then nobody can see the map, so it is not
    // drawn, and its canvas takes no memory; the first size command draws it before
    // showing the window.
    bool mapWindowShown = false;
    std::string lastPath;
    std::string titleBase;
};

} // namespace tessaly
