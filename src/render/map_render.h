#pragma once

#include "charset/charset.h"
#include "map/screen_map.h"
#include "platform/surface.h"

#include <cstdint>
#include <span>

namespace tessaly {

struct MapView {
    int width = 0;  // cells
    int height = 0; // cells
    Colour ink = 0;
    Colour paper = 0;
    bool grid = false;
};

// The one drawing of a map, shared by the map window and the map pictures: `codes` row
// by row, `stride` codes from one row to the next, each cell 8 * scale pixels square from
// the canvas's top-left corner. Cells that do not fit the canvas whole are left out, and
// nothing outside the cells drawn is touched. With the grid, each cell's top row reads
// paper, paper, ink, paper, ink, ... and its left column paper, ink, paper, ink, ... (one
// pixel each, whatever the scale).
void drawMapCells(Surface& canvas, std::span<const std::uint8_t> codes, int stride,
                  const Charset& set, const MapView& view, int scale);

// Draws the top-left width x height cells of the map, 16 x 16 pixels each, into the
// canvas; nothing outside that box is touched.
void renderMap(Surface& canvas, const ScreenMap& map, const Charset& set, const MapView& view);

} // namespace tessaly
