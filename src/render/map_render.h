#pragma once

#include "charset/charset.h"
#include "map/screen_map.h"
#include "platform/surface.h"

namespace tessaly {

struct MapView {
    int width = 0;  // cells
    int height = 0; // cells
    Colour ink = 0;
    Colour paper = 0;
    bool grid = false;
};

// Draws the top-left width x height cells of the map, 16 x 16 pixels each, into the
// canvas; nothing outside that box is touched. With the grid, each cell's top row reads
// paper, paper, ink, paper, ink, ... and its left column paper, ink, paper, ink, ...
void renderMap(Surface& canvas, const ScreenMap& map, const Charset& set, const MapView& view);

} // namespace tessaly
