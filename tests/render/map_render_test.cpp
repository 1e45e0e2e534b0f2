#include "render/map_render.h"

#include "app/app_fixture.h"
#include "app/redraw.h"

namespace tessaly {
namespace {

constexpr Colour Ink = rgb(250, 240, 230), Paper = rgb(5, 6, 7), Before = rgb(1, 99, 1);

struct MapRender : ::testing::Test {
    ScreenMap map; // every cell holds code 0, a blank glyph
    Charset set;
    Surface canvas{1280, 800, Before};
    void SetUp() override { std::fill_n(set.bytes.begin() + 8 * 200, 8, 0xFF); } // 200 is full
    void render(int w, int h, bool grid) { renderMap(canvas, map, set, {w, h, Ink, Paper, grid}); }
};

TEST_F(MapRender, TheGridDotsEachCellsTopRowAndLeftColumnWithThePaperCorner) {
    map.at(1, 0) = 200; // cell (0, 0) blank, cell (1, 0) full
    render(2, 1, true);
    // Top row: paper, paper, ink, paper, ink, ...; left column: paper, ink, paper, ...
    expectPixels(canvas, Ink, {2, 0, 14, 0, 0, 1, 0, 15, 18, 0, 16, 1, 17, 1, 31, 15});
    expectPixels(canvas, Paper, {0, 0, 1, 0, 15, 0, 0, 2, 5, 5, 16, 0, 17, 0, 19, 0, 16, 14});
    EXPECT_EQ(countColour(canvas, Ink), 15 + 240);
    EXPECT_EQ(countColour(canvas, Before), 1280 * 800 - 32 * 16);
}

TEST_F(MapRender, GlyphBitsBecome2x2BlocksAndCellsJoinWithoutTheGrid) {
    set.bytes[2 * 8 + 3] = 0x04; // code 2: only pixel column 5 of row 3
    map.at(0, 0) = map.at(1, 0) = 200;
    map.at(2, 0) = 2;
    render(3, 1, false);
    expectPixels(canvas, Ink, {0, 0, 16, 0, 31, 15, 42, 6, 43, 7});
    expectPixels(canvas, Paper, {41, 6, 44, 7, 42, 5, 43, 8});
    EXPECT_EQ(countColour(canvas, Ink), 2 * 256 + 4);
    EXPECT_EQ(countColour(canvas, Paper), 256 - 4);
}

TEST(DrawMap, DrawsOnlyTheMapProperInTheStateColoursAndReportsEachFailedStart) {
    TestApp t;
    ASSERT_TRUE(t.start());
    t.state().mapWindowShown = true;
    t.state().paperColour = rgb(9, 8, 7);
    t.state().inkColour = rgb(1, 2, 3);
    drawMap(*t.app);
    // Only the 40 x 24 map proper is drawn: the rest keeps the white of a new canvas.
    expectPixels(t.canvas(GadgetMapCanvas), rgb(1, 2, 3), {2, 0});
    expectPixels(t.canvas(GadgetMapCanvas), rgb(9, 8, 7), {5, 5, 639, 383});
    expectPixels(t.canvas(GadgetMapCanvas), White, {640, 2, 2, 384});
    t.platform.failCanvasDrawing.insert(GadgetMapCanvas);
    drawMap(*t.app);
    drawMap(*t.app);
    EXPECT_EQ(t.platform.messages, Messages(2, {"tessaly", "draw char map error!"}));
}

} // namespace
} // namespace tessaly
