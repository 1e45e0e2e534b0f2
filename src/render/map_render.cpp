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

    for (int y = 0; y < cellsY; ++y) {
        for (int r = 0; r < 8; ++r) {
            std::uint32_t* out = canvas.row(16 * y + 2 * r);
            for (int x = 0; x < cellsX; ++x)
                out = expandRowByte(out, set.bytes[(map.at(x, y) & 0xFF) * 8 + r], ink, paper, 2);
            std::copy(canvas.row(16 * y + 2 * r), canvas.row(16 * y + 2 * r) + pixelsX,
                      canvas.row(16 * y + 2 * r + 1));
        }
        if (!view.grid) continue;
        // Top row of every cell, then the left column.
        std::uint32_t* top = canvas.row(16 * y);
        for (int px = 0; px < pixelsX; ++px) {
            const int offset = px % 16;
            top[px] = (offset != 0 && offset % 2 == 0) ? ink : paper;
        }
        for (int offset = 1; offset < 16; ++offset) {
            std::uint32_t* line = canvas.row(16 * y + offset);
            const std::uint32_t v = (offset % 2 == 1) ? ink : paper;
            for (int x = 0; x < cellsX; ++x) line[16 * x] = v;
        }
    }
}

} // namespace tessaly
