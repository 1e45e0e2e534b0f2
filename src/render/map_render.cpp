#include "render/map_render.h"

#include "render/pixels.h"

#include <algorithm>

namespace tessaly {

void renderMap(Surface& canvas, const ScreenMap& map, const Charset& set, const MapView& view) {
    const int cellsX = std::clamp(view.width, 0, std::min(MapColumns, canvas.width() / 16));
    const int cellsY = std::clamp(view.height, 0, std::min(MapRows, canvas.height() / 16));
    const std::uint32_t ink = Surface::stored(view.ink);
    const std::uint32_t paper = Surface::stored(view.paper);
    const int pixelsX = 16 * cellsX;

    // The grid's top row of one cell: paper at offsets 0 and 1, then ink on even offsets
    // and paper on odd ones (the corner ends in paper).
    std::uint32_t gridTop[16];
    for (int offset = 0; offset < 16; ++offset)
        gridTop[offset] = (offset != 0 && offset % 2 == 0) ? ink : paper;

    for (int y = 0; y < cellsY; ++y) {
        for (int r = 0; r < 8; ++r) {
            const int top = 16 * y + 2 * r;
            std::uint32_t* out = canvas.row(top);
            for (int x = 0; x < cellsX; ++x)
                expandRowByte(out + 16 * x, set.bytes[(map.at(x, y) & 0xFF) * 8 + r], ink, paper,
                              2);
            std::copy(out, out + pixelsX, canvas.row(top + 1));
            if (!view.grid) continue;
            // The left column of every cell: ink on odd offsets, paper on even ones.
            for (int line = top; line <= top + 1; ++line) {
                std::uint32_t* row = canvas.row(line);
                const std::uint32_t v = (line % 2 == 1) ? ink : paper;
                for (int x = 0; x < cellsX; ++x) row[16 * x] = v;
            }
        }
        if (view.grid) {
            std::uint32_t* row = canvas.row(16 * y);
            for (int x = 0; x < cellsX; ++x) std::copy(gridTop, gridTop + 16, row + 16 * x);
        }
    }
}

} // namespace tessaly
