#include "app/app_fixture.h"

namespace tessaly {
namespace {

struct MapCanvas : AppTest {
    void SetUp() override {
        AppTest::SetUp();
        command(CmdMapSize40x24);
    }
    void move(int x, int y, int buttons = 0) {
        event(GadgetMapCanvas, CanvasInput::MouseMove, x, y, buttons);
    }
    const FakePlatform::Window& window() { return t.platform.windows.at(WindowMap); }
    int redPixels() { return countColour(t.canvas(GadgetMapCanvas), Red); }
};

TEST_F(MapCanvas, HoverOutlinesTheCellInRedAndTitlesTheWindowUpToTheSpareCells) {
    cell(3, 5) = 65;
    move(3 * 16 + 7, 5 * 16 + 15);
    EXPECT_EQ(window().title, "Character map (3,5):65[41]");
    EXPECT_EQ(redPixels(), 60); // a one-pixel frame of 48..63 x 80..95
    expectPixels(t.canvas(GadgetMapCanvas), Red, {48, 80, 63, 95});
    cell(0, 12) = 7;
    move(0, 12 * 16);
    EXPECT_EQ(window().title, "Character map (0,12):7[07]");
    EXPECT_EQ(redPixels(), 60); // the redraw removed the old frame
    cell(40, 24) = 255;
    move(40 * 16 + 15, 24 * 16 + 15);
    EXPECT_EQ(window().title, "Character map (40,24):255[FF]");

    const std::size_t titles = window().titleHistory.size();
    scribble(GadgetMapCanvas);
    for (auto [x, y] : {std::pair{41 * 16, 0}, {0, 25 * 16}, {-16, 0}}) move(x, y); // nothing
    EXPECT_EQ(window().titleHistory.size(), titles);
    EXPECT_FALSE(redrawn(GadgetMapCanvas));

    t.platform.failCanvasDrawing.insert(GadgetMapCanvas); // no highlight, still a title
    move(16, 16);
    EXPECT_EQ(window().title, "Character map (1,1):33[21]");
    EXPECT_EQ(t.platform.messages.size(), 1u); // from the map redraw, not from the highlight
}

TEST_F(MapCanvas, LeftPressAndHeldMovesPaintOnlyTheReportedCells) {
    t.state().currentChar = 200;
    event(GadgetMapCanvas, CanvasInput::LeftButtonDown, 2 * 16 + 3, 2 * 16 + 3, ButtonLeft);
    EXPECT_EQ(cell(2, 2), 200);
    EXPECT_TRUE(window().titleHistory.empty()); // a press paints without titling
    move(5 * 16, 2 * 16, ButtonLeft);
    EXPECT_EQ(cell(5, 2), 200);
    EXPECT_EQ(cell(3, 2), 35); // crossed but not reported
    // Titled before painting, with the old code; the paint's redraw removed the frame.
    EXPECT_EQ(window().title, "Character map (5,2):37[25]");
    EXPECT_EQ(redPixels(), 0);

    move(6 * 16, 2 * 16);                // no button held
    move(-15, -1, ButtonLeft);           // truncated toward zero: cell (0, 0)
    move(-16, 2 * 16, ButtonLeft);       // outside
    move(40 * 16 + 15, 16, ButtonLeft);  // the spare column
    move(16, 24 * 16 + 15, ButtonLeft);  // the spare row
    move(41 * 16, 16, ButtonLeft);       // outside
    for (CanvasInput type : {CanvasInput::LeftButtonUp, CanvasInput::LeftClick, CanvasInput::MouseEnter})
        event(GadgetMapCanvas, type, 8 * 16, 8 * 16, ButtonLeft);
    for (auto [x, y, code] : {std::tuple{6, 2, 38}, {0, 0, 200}, {0, 2, 32}, {40, 1, 200},
                              {1, 24, 200}, {41, 1, 73}, {8, 8, 40}})
        EXPECT_EQ(cell(x, y), code) << x << "," << y;
}

TEST_F(MapCanvas, RightClickSelectsAnyCanvasCellForThePopupIfThereIsOne) {
    t.platform.popupAnswers = {-1, CmdMapDeleteChar};
    event(GadgetMapCanvas, CanvasInput::RightClick, 70 * 16 + 2, 45 * 16 + 2);
    EXPECT_EQ(t.state().selectedMapX, 70); // not tested against the map size
    EXPECT_EQ(t.state().selectedMapY, 45);
    EXPECT_EQ(t.platform.popupsShown,
              (std::vector<std::pair<int, int>>{{MenuMapPopup, WindowMap}}));
    event(GadgetMapCanvas, CanvasInput::RightClick, 7 * 16 + 15, 4 * 16);
    runEventLoop(*t.app); // the pick
    EXPECT_EQ(cell(7, 4), 40); // deleted at (7, 4)
    EXPECT_EQ(cell(7, 5), 39);

    t.app->menus.erase(MenuMapPopup); // as when its creation failed: nothing at all
    scribble(GadgetMapCanvas);
    event(GadgetMapCanvas, CanvasInput::RightClick, 20, 20);
    EXPECT_EQ(t.state().selectedMapX, -1);
    EXPECT_EQ(t.platform.popupsShown.size(), 2u);
    EXPECT_FALSE(redrawn(GadgetMapCanvas));
}

} // namespace
} // namespace tessaly
