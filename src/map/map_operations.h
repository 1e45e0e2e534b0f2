#pragma once

#include "map/screen_map.h"

// The cell, row and column operations of the map popup, as plain functions on the
// storage. (sx, sy) is the selected cell, width x height the map proper. Each copies
// cell by cell in a fixed order, since source and destination overlap.

namespace tessaly {

void mapInsertChar(ScreenMap& map, int sx, int sy, int width);
void mapDeleteChar(ScreenMap& map, int sx, int sy, int width);
void mapInsertRow(ScreenMap& map, int sy, int width, int height);
void mapDeleteRow(ScreenMap& map, int sy, int width, int height);
void mapInsertColumn(ScreenMap& map, int sx, int width, int height);
void mapDeleteColumn(ScreenMap& map, int sx, int width, int height);

} // namespace tessaly
