#include "map/map_operations.h"

namespace tessaly {

namespace {

// Writes and reads outside the 81 x 51 storage are dropped (and read as 0). Only insert
// char on an 80-wide map reaches that far: its first copy would move the spare column
// into a column 81 the storage does not have, so the spare column's old value is lost.
void put(ScreenMap& map, int x, int y, std::int32_t v) {
    if (insideMapStorage(x, y)) map.at(x, y) = v;
}
std::int32_t get(const ScreenMap& map, int x, int y) {
    return insideMapStorage(x, y) ? map.at(x, y) : 0;
}

} // namespace

void mapInsertChar(ScreenMap& map, int sx, int sy, int width) {
    if (sx < width)
        for (int t = width; t >= sx; --t) put(map, t + 1, sy, get(map, t, sy));
    put(map, sx, sy, 0);
}

void mapDeleteChar(ScreenMap& map, int sx, int sy, int width) {
    if (sx < width)
        for (int x = sx; x <= width - 1; ++x) put(map, x, sy, get(map, x + 1, sy));
    put(map, width - 1, sy, 0);
}

void mapInsertRow(ScreenMap& map, int sy, int width, int height) {
    for (int y = height; y >= sy; --y)
        for (int x = 0; x <= width; ++x) put(map, x, y, y == sy ? 0 : get(map, x, y - 1));
}

void mapDeleteRow(ScreenMap& map, int sy, int width, int height) {
    for (int y = sy; y <= height - 1; ++y)
        for (int x = 0; x <= width; ++x) put(map, x, y, y < height - 1 ? get(map, x, y + 1) : 0);
}

void mapInsertColumn(ScreenMap& map, int sx, int width, int height) {
    for (int y = 0; y <= height - 1; ++y) {
        for (int x = width - 1; x >= sx; --x) put(map, x + 1, y, get(map, x, y));
        put(map, sx, y, 0);
    }
}

void mapDeleteColumn(ScreenMap& map, int sx, int width, int height) {
    for (int y = 0; y <= height - 1; ++y) {
        for (int x = sx; x <= width - 1; ++x) put(map, x, y, get(map, x + 1, y));
        put(map, width - 1, y, 0);
    }
}

} // namespace tessaly
