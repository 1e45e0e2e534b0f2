#include "app/event_loop.h"
#include "platform/ids.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

constexpr Colour Red = rgb(255, 0, 0);
using P = std::pair<int, int>;

struct MapCanvas : ::testing::Test {
    TestApp t;
    void SetUp() override {
        ASSERT_TRUE(t.start());
        t.platform.pushCommand(CmdMapSize40x24);
        runEventLoop(*t.app);
    }
    void event(EventType type, int x, int y, int buttons = 0) {
        t.platform.pushControl(GadgetMapCanvas, type, x, y, buttons);
        runEventLoop(*t.app);
    }
    void move(int x, int y, int buttons = 0) { event(EventType::MouseMove, x, y, buttons); }
    std::int32_t& cell(int x, int y) { return t.app->screenMap.at(x, y); }
    const FakePlatform::Window& window() { return t.platform.windows.at(WindowMap); }
    Colour pixel(int x, int y) { return t.canvas(GadgetMapCanvas).pixel(x, y); }
};

TEST_F(MapCanvas, HoverOutlinesTheCellInRedAndTitlesTheWindowUpToTheSpareCells) {
    cell(3, 5) = 65;
    move(3 * 16 + 7, 5 * 16 + 15);
    EXPECT_EQ(window().title, "Character map (3,5):65[41]");
    for (int i = 0; i < 16; ++i)
        for (auto [x, y] : {P{48 + i, 80}, P{48 + i, 95}, P{48, 80 + i}, P{63, 80 + i}})
            EXPECT_EQ(pixel(x, y), Red) << x << "," << y;
    for (auto [x, y] : {P{49, 81}, P{62, 94}, P{47, 80}, P{64, 80}, P{48, 79}, P{48, 96}})
        EXPECT_NE(pixel(x, y), Red) << x << "," << y;

    cell(0, 12) = 7;
    move(0, 12 * 16);
    EXPECT_EQ(window().title, "Character map (0,12):7[07]");
    EXPECT_NE(pixel(48, 80), Red); // the redraw removed the old outline
    move(40 * 16 + 15, 24 * 16 + 15);
    EXPECT_EQ(window().title, "Character map (40,24):72[48]");
    const std::size_t titles = window().titleHistory.size();
    const int draws = t.platform.canvasDrawCount[GadgetMapCanvas];
    move(41 * 16, 0); // beyond the spare cells nothing happens
    move(0, 25 * 16);
    move(-16, 0);
    EXPECT_EQ(window().titleHistory.size(), titles);
    EXPECT_EQ(t.platform.canvasDrawCount[GadgetMapCanvas], draws);
    cell(40, 24) = 255;
    move(40 * 16, 24 * 16);
    EXPECT_EQ(window().title, "Character map (40,24):255[FF]");
}

TEST_F(MapCanvas, LeftPressAndHeldMovesPaintOnlyTheReportedCells) {
    t.state().currentChar = 200;
    event(EventType::LeftButtonDown, 2 * 16 + 3, 2 * 16 + 3, ButtonLeft);
    EXPECT_EQ(cell(2, 2), 200);
    EXPECT_TRUE(window().titleHistory.empty()); // a press paints without titling
    move(5 * 16, 2 * 16, ButtonLeft);
    EXPECT_EQ(cell(5, 2), 200);
    EXPECT_EQ(cell(3, 2), 35); // crossed but not reported
    EXPECT_EQ(cell(4, 2), 36);
    // Titled before painting, with the old code; the paint's redraw removed the outline.
    EXPECT_EQ(window().title, "Character map (5,2):37[25]");
    EXPECT_NE(pixel(5 * 16 + 15, 2 * 16 + 8), Red);

    move(6 * 16, 2 * 16); // no button held
    EXPECT_EQ(cell(6, 2), 38);
    move(-15, -1, ButtonLeft); // truncation toward zero: cell (0, 0)
    EXPECT_EQ(cell(0, 0), 200);
    move(-16, 2 * 16, ButtonLeft);
    EXPECT_EQ(cell(0, 2), 32);
    move(40 * 16 + 15, 16, ButtonLeft); // the spare column and row
    move(16, 24 * 16 + 15, ButtonLeft);
    move(41 * 16, 16, ButtonLeft);
    EXPECT_EQ(cell(40, 1), 200);
    EXPECT_EQ(cell(1, 24), 200);
    EXPECT_EQ(cell(41, 1), 73);
    for (EventType type : {EventType::LeftButtonUp, EventType::LeftClick, EventType::MouseEnter})
        event(type, 8 * 16, 8 * 16, ButtonLeft);
    EXPECT_EQ(cell(8, 8), 40);
}

TEST_F(MapCanvas, RightClickSelectsAnyCanvasCellAndOpensThePopup) {
    t.platform.popupAnswers = {-1};
    event(EventType::RightClick, 70 * 16 + 2, 45 * 16 + 2);
    EXPECT_EQ(t.state().selectedMapX, 70); // no test against the map size
    EXPECT_EQ(t.state().selectedMapY, 45);
    EXPECT_EQ(t.platform.popupsShown,
              std::vector<P>{P(MenuMapPopup, WindowMap)});

    t.platform.popupAnswers = {CmdMapDeleteChar};
    event(EventType::RightClick, 7 * 16 + 15, 4 * 16);
    EXPECT_EQ(cell(7, 4), 40);
    EXPECT_EQ(cell(39, 4), 0);
    EXPECT_EQ(cell(7, 5), 39);
}

TEST(MapCanvasWithoutPopup, ARightClickDoesNothingAtAll) {
    TestApp t;
    t.platform.failMenus.insert(MenuMapPopup);
    ASSERT_TRUE(t.start());
    const int draws = t.platform.canvasDrawCount[GadgetMapCanvas];
    t.platform.pushControl(GadgetMapCanvas, EventType::RightClick, 20, 20);
    runEventLoop(*t.app);
    EXPECT_EQ(t.state().selectedMapX, -1);
    EXPECT_TRUE(t.platform.popupsShown.empty());
    EXPECT_EQ(t.platform.canvasDrawCount[GadgetMapCanvas], draws);
}

TEST_F(MapCanvas, AFailedHighlightStillTitlesTheWindow) {
    t.platform.failCanvasDrawing.insert(GadgetMapCanvas);
    move(16, 16);
    EXPECT_EQ(window().title, "Character map (1,1):33[21]");
    EXPECT_EQ(t.platform.messages.size(), 1u); // from the map redraw, not from the highlight
}

} // namespace
} // namespace tessaly
