#pragma once

#include "app/input.h"

#include <string>

namespace tessaly {

struct App;

// "Character map (3,5):65[41]".
std::string mapCellTitle(int x, int y, int code);

// Right click: choose the cell and open the map popup; mouse move: highlight the cell
// and title the window; left press or a move with the left button held: paint.
void handleMapCanvasEvent(App& app, const CanvasEvent& event);

} // namespace tessaly
