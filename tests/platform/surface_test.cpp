#include "platform/surface.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace tessaly {
namespace {

std::string text(const std::vector<Rect>& rects) {
    std::ostringstream out;
    for (const Rect& r : rects)
        out << (&r == rects.data() ? "" : " ") << r.x << ',' << r.y << ' ' << r.w << 'x' << r.h;
    return out.str();
}

// What a platform repaints of a 16 x 8 surface after a drawing: the changed rows in bands
// spanning their changed columns, and nothing for pixels written but unchanged.
TEST(Surface, ChangesSinceShownAreBandsOfChangedRowsSpanningTheirChangedColumns) {
    const struct {
        const char* what;
        std::function<void(Surface&)> draw;
        const char* changes;
    } cases[] = {
        {"nothing", [](Surface&) {}, ""},
        {"a pixel", [](Surface& s) { s.setPixel(3, 2, 1); }, "3,2 1x1"},
        {"written again the same", [](Surface& s) { s.setPixel(3, 2, 1); }, ""},
        {"two rows joined, across their columns",
         [](Surface& s) {
             s.setPixel(1, 4, 2);
             s.setPixel(9, 5, 2);
         },
         "1,4 9x2"},
        {"rows apart", [](Surface& s) { s.fillRect(0, 0, 2, 1, 3); s.fillRect(15, 7, 1, 1, 3); },
         "0,0 2x1 15,7 1x1"},
        {"through a row's pointer", [](Surface& s) { s.row(6)[0] = Surface::stored(4); }, "0,6 1x1"},
    };
    Surface surface(16, 8, 0);
    Surface shown;
    EXPECT_EQ(text(surface.takeChanges(shown)), "0,0 16x8") << "a first showing";
    for (const auto& c : cases) {
        c.draw(surface);
        EXPECT_EQ(text(surface.takeChanges(shown)), c.changes) << c.what;
    }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(shown.pixel(x, y), surface.pixel(x, y));
}

} // namespace
} // namespace tessaly
