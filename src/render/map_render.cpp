#include "render/map_render.h"

#include "render/pixels.h"

#include <algorithm>
#include <array>

namespace tessaly {

namespace {

// The drawing at a scale fixed at compile time (FixedScale > 0), so that the window's
// scale 2 writes its pixel pairs without a loop, or at the run-time `scale` (0).
template <int FixedScale>
void drawCells(Surface& canvas, const std::uint8_t* codes, int stride, const Charset& set,
               const MapView& view, int cellsX, int cellsY, int runScale) {
    const int scale = FixedScale > 0 ? FixedScale : runScale;
    const int cell = 8 * scale;
    const std::uint32_t ink = Surface::stored(view.ink);
    const std::uint32_t paper = Surface::stored(view.paper);
    const int pixelsX = cell * cellsX;

    for (int y = 0; y < cellsY; ++y) {
        const std::uint8_t* rowCodes = codes + static_cast<std::size_t>(y) * stride;
        for (int r = 0; r < 8; ++r) {
            const int top = y * cell + r * scale;
            std::uint32_t* out = canvas.row(top);
            for (int x = 0; x < cellsX; ++x)
                expandRowByte(out + cell * x, set.bytes[rowCodes[x] * 8 + r], ink, paper, scale);
            for (int s = 1; s < scale; ++s)
                std::copy(out, out + pixelsX, canvas.row(top + s));
            if (!view.grid) continue;
            // The left column of every cell: ink on odd offsets, paper on even ones.
            for (int line = top; line < top + scale; ++line) {
                std::uint32_t* row = canvas.row(line);
                const std::uint32_t v = (line % 2 == 1) ? ink : paper;
                for (int x = 0; x < cellsX; ++x)
                    row[cell * x] = v;
            }
        }
        if (!view.grid) continue;
        // The top row: paper at offsets 0 and 1, then ink on even offsets and paper on odd
        // ones (the corner ends in paper).
        std::uint32_t* row = canvas.row(y * cell);
        for (int x = 0; x < cellsX; ++x, row += cell)
            for (int offset = 0; offset < cell; ++offset)
                row[offset] = (offset != 0 && offset % 2 == 0) ? ink : paper;
    }
}

} // namespace

void drawMapCells(Surface& canvas, std::span<const std::uint8_t> codes, int stride,
                  const Charset& set, const MapView& view, int scale) {
    if (scale < 1) return;
    const int cell = 8 * scale;
    const int cellsX = std::clamp(view.width, 0, canvas.width() / cell);
    const int cellsY = std::clamp(view.height, 0, canvas.height() / cell);
    if (cellsX == 0 || cellsY == 0 || stride < cellsX ||
        codes.size() < static_cast<std::size_t>(stride) * (cellsY - 1) + cellsX)
        return;
    if (scale == 2)
        drawCells<2>(canvas, codes.data(), stride, set, view, cellsX, cellsY, scale);
    else if (scale == 1)
        drawCells<1>(canvas, codes.data(), stride, set, view, cellsX, cellsY, scale);
    else
        drawCells<0>(canvas, codes.data(), stride, set, view, cellsX, cellsY, scale);
}

void renderMap(Surface& canvas, const ScreenMap& map, const Charset& set, const MapView& view) {
    // The map keeps its columns together and holds ints: gather the codes of the map
    // proper row by row, as drawMapCells reads them.
    const int cellsX = std::clamp(view.width, 0, MapColumns);
    const int cellsY = std::clamp(view.height, 0, MapRows);
    std::array<std::uint8_t, MapColumns * MapRows> codes;
    for (int x = 0; x < cellsX; ++x)
        for (int y = 0; y < cellsY; ++y)
            codes[static_cast<std::size_t>(y * cellsX + x)] =
                static_cast<std::uint8_t>(map.at(x, y) & 0xFF);
    drawMapCells(canvas, codes, cellsX, set, {cellsX, cellsY, view.ink, view.paper, view.grid}, 2);
}

} // namespace tessaly
