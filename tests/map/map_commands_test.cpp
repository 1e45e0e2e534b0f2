#include "app/event_loop.h"
#include "app/startup.h"
#include "platform/ids.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

// Records how often the map had been drawn whenever a window was shown.
struct Recorder : FakePlatform {
    std::vector<int> drawsAtShow;
    void showWindow(int window) override {
        drawsAtShow.push_back(canvasDrawCount[GadgetMapCanvas]);
        FakePlatform::showWindow(window);
    }
};

struct MapCommands : ::testing::Test {
    Recorder p;
    std::unique_ptr<App> app = std::make_unique<App>(p);
    void SetUp() override { ASSERT_TRUE(startUp(*app)); }
    void run(std::initializer_list<int> commands) {
        for (int c : commands) p.pushCommand(c);
        runEventLoop(*app);
    }
    int draws() { return p.canvasDrawCount[GadgetMapCanvas]; }
    std::int32_t cell(int x, int y) { return app->screenMap.at(x, y); }
};

TEST_F(MapCommands, CellCommandsNeedASelectionAndUseItOnce) {
    const ScreenMap before = app->screenMap;
    run({CmdMapInsertChar, CmdMapDeleteChar, CmdMapInsertRow, CmdMapDeleteRow, CmdMapInsertColumn,
         CmdMapDeleteColumn});
    EXPECT_EQ(app->screenMap.cells, before.cells);
    EXPECT_EQ(draws(), 0);

    app->state.selectedMapX = 5;
    app->state.selectedMapY = 3;
    app->charset.bytes[72 * 8 + 1] = 0xFF; // code 72 has a full second row
    run({CmdMapInsertChar, CmdMapInsertChar, CmdMapSize80x50});
    EXPECT_EQ(cell(5, 3), 0);
    EXPECT_EQ(cell(6, 3), 37); // inserted once, not twice
    EXPECT_EQ(std::pair(app->state.selectedMapX, app->state.selectedMapY), std::pair(-1, -1));
    EXPECT_EQ(draws(), 2);
    // The wider map shows what the insert pushed into the spare column and beyond.
    EXPECT_EQ(cell(40, 3), 71);
    EXPECT_EQ(cell(41, 3), 72);
    EXPECT_EQ(p.canvases.at(GadgetMapCanvas).pixel(16 * 41 + 4, 16 * 3 + 2), rgb(255, 255, 255));
}

TEST_F(MapCommands, SizeCommandsSizeTheScrollAreaDrawAndThenShow) {
    struct Size { int command, w, h; };
    for (Size s : {Size{CmdMapSize32x24, 32, 24}, Size{CmdMapSize80x50, 80, 50},
                   Size{CmdMapSize64x30, 64, 30}, Size{CmdMapSize40x24, 40, 24}}) {
        const int before = draws();
        run({s.command});
        EXPECT_EQ(std::pair(app->state.mapWidth, app->state.mapHeight), std::pair(s.w, s.h));
        const auto& area = p.controls.at(GadgetMapScrollArea);
        EXPECT_EQ(std::pair(area.innerWidth, area.innerHeight), std::pair(16 * s.w, 16 * s.h));
        EXPECT_TRUE(p.windows.at(WindowMap).visible);
        EXPECT_EQ(p.drawsAtShow.back(), before + 1);
    }
}

TEST_F(MapCommands, FillCoversOnlyTheMapProperAndHiddenCellsComeBack) {
    app->state.currentChar = 0;
    run({CmdMapSize32x24, CmdFillMap});
    for (int x = 0; x < 32; ++x)
        for (int y = 0; y < 24; ++y) ASSERT_EQ(cell(x, y), 0);
    EXPECT_EQ(cell(32, 5), 64); // spare column
    EXPECT_EQ(cell(7, 24), 39); // spare row
    run({CmdMapSize40x24});
    for (int x = 32; x < 40; ++x) EXPECT_EQ(cell(x, 10), 32 + x);
}

TEST_F(MapCommands, TogglingTheGridTwiceRestoresFlagAndMarkWithARedrawEachTime) {
    run({CmdMapSize40x24});
    for (bool on : {false, true}) {
        run({CmdGridOnMap});
        EXPECT_EQ(app->state.mapGrid, on);
        EXPECT_EQ(p.isMenuChecked(MenuMain, CmdGridOnMap), on);
        const Colour dot = p.canvases.at(GadgetMapCanvas).pixel(2, 0); // a grid dot on a blank cell
        EXPECT_EQ(dot, on ? rgb(255, 255, 255) : rgb(0, 0, 0));
    }
    EXPECT_EQ(draws(), 3);
}

} // namespace
} // namespace tessaly
