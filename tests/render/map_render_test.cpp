#include "render/map_render.h"

#include "platform/ids.h"
#include "render/redraw.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tessaly {
namespace {

constexpr Colour Ink = rgb(250, 240, 230), Paper = rgb(5, 6, 7), Before = rgb(1, 99, 1);

struct MapRender : ::testing::Test {
    ScreenMap map; // every cell holds code 0, a blank glyph
    Charset set;
    Surface canvas{1280, 800, Before};
    void SetUp() override { std::fill_n(set.bytes.begin() + 8, 8, 0xFF); } // code 1 is full
    void render(int w, int h, bool grid) {
        renderMap(canvas, map, set, MapView{w, h, Ink, Paper, grid});
    }
};

TEST_F(MapRender, TheGridDotsEachCellsTopRowAndLeftColumnWithThePaperCorner) {
    map.at(1, 0) = 1; // cell (0, 0) blank, cell (1, 0) full
    render(2, 1, true);
    for (int cell = 0; cell < 2; ++cell)
        for (int dy = 0; dy < 16; ++dy)
            for (int dx = 0; dx < 16; ++dx) {
                bool ink = cell == 1; // the glyph
                if (dy == 0) ink = dx % 2 == 0 && dx != 0;
                else if (dx == 0) ink = dy % 2 == 1;
                ASSERT_EQ(canvas.pixel(16 * cell + dx, dy), ink ? Ink : Paper)
                    << "cell " << cell << " offset " << dx << "," << dy;
            }
}

TEST_F(MapRender, GlyphBitsBecome2x2BlocksAndCellsJoinWithoutTheGrid) {
    set.bytes[2 * 8 + 3] = 0x04; // code 2: only pixel column 5 of row 3
    map.at(0, 0) = map.at(1, 0) = 1;
    map.at(2, 0) = 2;
    render(3, 1, false);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 48; ++x) {
            const bool ink = x < 32 || ((x == 42 || x == 43) && (y == 6 || y == 7));
            ASSERT_EQ(canvas.pixel(x, y), ink ? Ink : Paper) << x << "," << y;
        }
}

TEST(DrawMap, DrawsWithTheStateAndReportsAFailedStartOncePerCall) {
    TestApp t;
    ASSERT_TRUE(t.start());
    t.state().paperColour = rgb(9, 8, 7);
    t.state().inkColour = rgb(1, 2, 3);
    DrawMap(*t.app);
    const Surface& c = t.canvas(GadgetMapCanvas);
    EXPECT_EQ(c.pixel(2, 0), rgb(1, 2, 3));
    EXPECT_EQ(c.pixel(5, 5), rgb(9, 8, 7));
    // Only the 40 x 24 map proper is drawn: the rest keeps the white of a new canvas.
    EXPECT_EQ(c.pixel(639, 383), rgb(9, 8, 7));
    EXPECT_EQ(c.pixel(640, 2), rgb(255, 255, 255));
    EXPECT_EQ(c.pixel(2, 384), rgb(255, 255, 255));

    const Surface picture = c;
    t.platform.failCanvasDrawing.insert(GadgetMapCanvas);
    t.state().paperColour = rgb(200, 0, 0);
    DrawMap(*t.app);
    DrawMap(*t.app);
    const FakePlatform::Message failed{"tessaly", "draw char map error!"};
    EXPECT_EQ(t.platform.messages, (std::vector<FakePlatform::Message>{failed, failed}));
    EXPECT_TRUE(std::equal(c.data(), c.data() + 1280 * 800, picture.data()));
}

} // namespace
} // namespace tessaly
