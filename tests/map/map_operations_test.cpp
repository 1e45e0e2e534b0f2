#include "map/map_operations.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace tessaly {
namespace {

using M = ScreenMap;

// Cells x0..x1 by y0..y1 (inclusive) that now hold the old value of (x + dx, y + dy), or 0.
struct Area {
    int x0, x1, y0, y1, dx = 0, dy = 0;
    bool zero = false;
};
Area zero(int x0, int x1, int y0, int y1) {
    return {x0, x1, y0, y1, 0, 0, true};
}

struct Case {
    void (*run)(M&);
    std::vector<Area> changed; // every other cell keeps its value
};
const Case Cases[] = {
    // 40 x 24
    {[](M& m) { mapDeleteChar(m, 5, 3, 40); }, {{5, 38, 3, 3, 1, 0}, zero(39, 39, 3, 3)}},
    {[](M& m) { mapInsertChar(m, 5, 3, 40); }, {{6, 41, 3, 3, -1, 0}, zero(5, 5, 3, 3)}},
    {[](M& m) { mapInsertRow(m, 23, 40, 24); }, {{0, 40, 24, 24, 0, -1}, zero(0, 40, 23, 23)}},
    {[](M& m) { mapInsertRow(m, 24, 40, 24); }, {zero(0, 40, 24, 24)}}, // at the spare row
    {[](M& m) { mapInsertRow(m, 30, 40, 24); }, {}},                    // below it
    {[](M& m) { mapDeleteRow(m, 23, 40, 24); }, {zero(0, 40, 23, 23)}},
    {[](M& m) { mapDeleteRow(m, 21, 40, 24); }, {{0, 40, 21, 22, 0, 1}, zero(0, 40, 23, 23)}},
    {[](M& m) { mapDeleteRow(m, 24, 40, 24); }, {}},
    {[](M& m) { mapInsertColumn(m, 0, 40, 24); }, {{1, 40, 0, 23, -1, 0}, zero(0, 0, 0, 23)}},
    {[](M& m) { mapDeleteColumn(m, 5, 40, 24); }, {{5, 38, 0, 23, 1, 0}, zero(39, 39, 0, 23)}},
    // 80 wide: the spare column would move into a column the storage does not have
    {[](M& m) { mapInsertChar(m, 5, 49, 80); }, {{6, 80, 49, 49, -1, 0}, zero(5, 5, 49, 49)}},
    // 32 x 24, selection right of the map
    {[](M& m) { mapDeleteChar(m, 35, 3, 32); }, {zero(31, 31, 3, 3)}},
    {[](M& m) { mapInsertChar(m, 35, 3, 32); }, {zero(35, 35, 3, 3)}},
    {[](M& m) { mapDeleteColumn(m, 35, 32, 24); }, {zero(31, 31, 0, 23)}},
    {[](M& m) { mapInsertColumn(m, 35, 32, 24); }, {zero(35, 35, 0, 23)}},
};

TEST(MapOperations, MoveAndClearExactlyTheirCellsInsideTheStorage) {
    auto id = [](int x, int y) { return 100000 + 1000 * x + y; }; // tells where a value came from
    struct Guarded { // a write past column 80 lands in the guard
        ScreenMap map;
        std::array<std::int32_t, MapRows + 8> guard;
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE("case " + std::to_string(&c - Cases));
        auto g = std::make_unique<Guarded>();
        for (int x = 0; x < MapColumns; ++x)
            for (int y = 0; y < MapRows; ++y)
                g->map.at(x, y) = id(x, y);
        g->guard.fill(-7);
        c.run(g->map);
        int wrong = 0;
        for (int x = 0; x < MapColumns; ++x)
            for (int y = 0; y < MapRows; ++y) {
                int want = id(x, y);
                for (const Area& a : c.changed)
                    if (x >= a.x0 && x <= a.x1 && y >= a.y0 && y <= a.y1)
                        want = a.zero ? 0 : id(x + a.dx, y + a.dy);
                if (g->map.at(x, y) != want && ++wrong <= 3)
                    ADD_FAILURE() << "(" << x << "," << y << ") holds " << g->map.at(x, y);
            }
        EXPECT_EQ(wrong, 0);
        for (std::int32_t v : g->guard)
            ASSERT_EQ(v, -7) << "written outside the storage";
    }
}

} // namespace
} // namespace tessaly
