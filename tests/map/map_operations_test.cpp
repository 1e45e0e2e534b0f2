#include "map/map_operations.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace tessaly {
namespace {

// Every cell starts with its own number, so a moved value shows where it came from.
int id(int x, int y) { return 100000 + 1000 * x + y; }

// Cells x0..x1 by y0..y1 (inclusive) that now hold the old value of (x + dx, y + dy), or 0.
struct Area {
    int x0, x1, y0, y1, dx, dy;
    bool zero;
};
Area moved(int x0, int x1, int y0, int y1, int dx, int dy) {
    return {x0, x1, y0, y1, dx, dy, false};
}
Area cleared(int x0, int x1, int y0, int y1) { return {x0, x1, y0, y1, 0, 0, true}; }

struct Case {
    const char* what;
    std::function<void(ScreenMap&)> run;
    std::vector<Area> changed; // every other cell keeps its value
};

const Case Cases[] = {
    // 40 x 24 map
    {"delete char (5,3)", [](ScreenMap& m) { mapDeleteChar(m, 5, 3, 40); },
     {moved(5, 38, 3, 3, 1, 0), cleared(39, 39, 3, 3)}},
    {"insert char (5,3)", [](ScreenMap& m) { mapInsertChar(m, 5, 3, 40); },
     {moved(6, 41, 3, 3, -1, 0), cleared(5, 5, 3, 3)}},
    {"insert row at the last row", [](ScreenMap& m) { mapInsertRow(m, 23, 40, 24); },
     {moved(0, 40, 24, 24, 0, -1), cleared(0, 40, 23, 23)}},
    {"insert row at the spare row", [](ScreenMap& m) { mapInsertRow(m, 24, 40, 24); },
     {cleared(0, 40, 24, 24)}},
    {"insert row below the spare row", [](ScreenMap& m) { mapInsertRow(m, 30, 40, 24); }, {}},
    {"delete row at the last row", [](ScreenMap& m) { mapDeleteRow(m, 23, 40, 24); },
     {cleared(0, 40, 23, 23)}},
    {"delete row 21", [](ScreenMap& m) { mapDeleteRow(m, 21, 40, 24); },
     {moved(0, 40, 21, 22, 0, 1), cleared(0, 40, 23, 23)}},
    {"delete row at the spare row", [](ScreenMap& m) { mapDeleteRow(m, 24, 40, 24); }, {}},
    {"insert column 0", [](ScreenMap& m) { mapInsertColumn(m, 0, 40, 24); },
     {moved(1, 40, 0, 23, -1, 0), cleared(0, 0, 0, 23)}},
    {"delete column 5", [](ScreenMap& m) { mapDeleteColumn(m, 5, 40, 24); },
     {moved(5, 38, 0, 23, 1, 0), cleared(39, 39, 0, 23)}},
    // 80 x 50 map: the spare column moves into a column the storage does not have
    {"insert char (5,49), 80 wide", [](ScreenMap& m) { mapInsertChar(m, 5, 49, 80); },
     {moved(6, 80, 49, 49, -1, 0), cleared(5, 5, 49, 49)}},
    // 32 x 24 map, selection right of it
    {"delete char (35,3)", [](ScreenMap& m) { mapDeleteChar(m, 35, 3, 32); },
     {cleared(31, 31, 3, 3)}},
    {"insert char (35,3)", [](ScreenMap& m) { mapInsertChar(m, 35, 3, 32); },
     {cleared(35, 35, 3, 3)}},
    {"delete column 35", [](ScreenMap& m) { mapDeleteColumn(m, 35, 32, 24); },
     {cleared(31, 31, 0, 23)}},
    {"insert column 35", [](ScreenMap& m) { mapInsertColumn(m, 35, 32, 24); },
     {cleared(35, 35, 0, 23)}},
};

int expected(const Case& c, int x, int y) {
    int v = id(x, y);
    for (const Area& a : c.changed)
        if (x >= a.x0 && x <= a.x1 && y >= a.y0 && y <= a.y1)
            v = a.zero ? 0 : id(x + a.dx, y + a.dy);
    return v;
}

TEST(MapOperations, MoveAndClearExactlyTheirCellsInsideTheStorage) {
    struct Guarded { // a write past column 80 lands in the guard
        ScreenMap map;
        std::array<std::int32_t, MapRows + 8> guard;
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.what);
        auto g = std::make_unique<Guarded>();
        for (int x = 0; x < MapColumns; ++x)
            for (int y = 0; y < MapRows; ++y) g->map.at(x, y) = id(x, y);
        g->guard.fill(-7);
        c.run(g->map);
        int wrong = 0;
        for (int x = 0; x < MapColumns; ++x)
            for (int y = 0; y < MapRows; ++y)
                if (g->map.at(x, y) != expected(c, x, y) && ++wrong <= 3)
                    ADD_FAILURE() << "(" << x << "," << y << ") holds " << g->map.at(x, y);
        EXPECT_EQ(wrong, 0);
        for (std::int32_t v : g->guard) ASSERT_EQ(v, -7) << "written outside the storage";
    }
}

} // namespace
} // namespace tessaly
