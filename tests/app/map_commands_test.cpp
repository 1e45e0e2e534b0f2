#include "app/app_fixture.h"

namespace tessaly {
namespace {

// Records whether the map had been drawn (its white start gone) whenever a window was shown.
struct Recorder : FakePlatform {
    std::vector<bool> drawnAtShow;
    void showWindow(int window) override {
        drawnAtShow.push_back(canvases.at(GadgetMapCanvas).pixel(1, 1) != rgb(255, 255, 255));
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
    std::int32_t cell(int x, int y) { return app->screenMap.at(x, y); }
};

TEST_F(MapCommands, CellCommandsNeedASelectionAndUseItOnceAndSizesDrawBeforeShowing) {
    const ScreenMap before = app->screenMap;
    run({CmdMapInsertChar, CmdMapDeleteChar, CmdMapInsertRow, CmdMapDeleteRow, CmdMapInsertColumn,
         CmdMapDeleteColumn});
    EXPECT_EQ(app->screenMap.cells, before.cells);
    EXPECT_EQ(p.canvases.at(GadgetMapCanvas).pixel(1, 1), White); // never drawn

    app->state.selectedMapX = 5;
    app->state.selectedMapY = 3;
    app->charset.bytes[72 * 8 + 1] = 0xFF; // code 72 has a full second row
    run({CmdMapInsertChar, CmdMapInsertChar, CmdMapSize80x50});
    EXPECT_EQ(cell(5, 3), 0);
    EXPECT_EQ(cell(6, 3), 37); // inserted once, not twice
    EXPECT_EQ(app->state.selectedMapX, -1);
    EXPECT_EQ(app->state.selectedMapY, -1);
    // The wider map shows what the insert pushed into the spare column and beyond.
    EXPECT_EQ(cell(40, 3), 71);
    EXPECT_EQ(cell(41, 3), 72);
    EXPECT_EQ(p.canvases.at(GadgetMapCanvas).pixel(16 * 41 + 4, 16 * 3 + 2), White);
    // Never shown before, the map is drawn first by the size command, before showing.
    EXPECT_EQ(p.drawnAtShow, std::vector<bool>{true});
    EXPECT_EQ(p.controls.at(GadgetMapScrollArea).innerWidth, 80 * 16);
    EXPECT_EQ(p.controls.at(GadgetMapScrollArea).innerHeight, 50 * 16);
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

TEST_F(MapCommands, TogglingTheGridTwiceRestoresFlagAndMarkAndRedraws) {
    run({CmdMapSize40x24});
    for (bool on : {false, true}) {
        run({CmdGridOnMap});
        EXPECT_EQ(app->state.mapGrid, on);
        EXPECT_EQ(p.isMenuChecked(MenuMain, CmdGridOnMap), on);
        EXPECT_EQ(p.canvases.at(GadgetMapCanvas).pixel(2, 0), on ? White : Black); // a grid dot
    }
}

} // namespace
} // namespace tessaly
