#pragma once

#include <array>
#include <cstdint>

// The screen map storage: 81 columns by 51 rows of character codes. The map proper is
// the top-left mapWidth x mapHeight cells; the largest map (80 x 50) still leaves a
// spare column and a spare row. Columns are stored together: cell (x, y) is element
// 51 * x + y.

namespace tessaly {

constexpr int MapColumns = 81;
constexpr int MapRows = 51;
// The map canvas holds 80 x 50 cells, the largest map.
constexpr int MapCanvasColumns = 80;
constexpr int MapCanvasRows = 50;

struct ScreenMap {
    std::array<std::int32_t, MapColumns * MapRows> cells{};

    std::int32_t& at(int x, int y) { return cells[static_cast<std::size_t>(MapRows * x + y)]; }
    std::int32_t at(int x, int y) const { return cells[static_cast<std::size_t>(MapRows * x + y)]; }
};

constexpr bool insideMapStorage(int x, int y) {
    return x >= 0 && y >= 0 && x < MapColumns && y < MapRows;
}

} // namespace tessaly
