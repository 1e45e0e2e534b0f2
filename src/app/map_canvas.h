#pragma once

#include "app/input.h"

#include <string>

namespace tessaly {

struct App;

// The map scroll area's step: a cell.
constexpr int MapScrollStep = 16;

// "Character map (3,5):65[41]".
std::string mapCellTitle(int x, int y, int code);

// Right click: choose the cell and open the map popup; mouse move: highlight the cell
// and title the window; left press or a move with the left button held: paint.
void handleMapCanvasEvent(App& app, const CanvasEvent& event);
// The wheel over the map scrolls it.
void scrollMapWithWheel(App& app, const Event& wheel);

} // namespace tessaly
