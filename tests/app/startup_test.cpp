#include "app/event_loop.h"
#include "app/ids.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using Kind = ControlKind;

TEST(StartUp, GivesEveryStateFieldItsFirstValue) {
    TestApp t;
    ASSERT_TRUE(t.start());
    const EditorState& s = t.state();
    EXPECT_EQ(s.currentChar, 0);
    EXPECT_EQ(s.cursorColumn, 0);
    EXPECT_EQ(s.cursorRow, 0);
    EXPECT_EQ(s.inkColour, rgb(255, 255, 255));
    EXPECT_EQ(s.paperColour, rgb(0, 0, 0));
    EXPECT_TRUE(s.dragSwap);
    EXPECT_FALSE(s.dragging);
    EXPECT_EQ(s.dragSource, 0);
    EXPECT_FALSE(s.rangeEnabled);
    EXPECT_EQ(s.rangeBegin, 0);
    EXPECT_EQ(s.rangeEnd, 0);
    EXPECT_EQ(s.mapWidth, 40);
    EXPECT_EQ(s.mapHeight, 24);
    EXPECT_TRUE(s.mapGrid);
    EXPECT_EQ(s.selectedMapX, -1);
    EXPECT_EQ(s.selectedMapY, -1);
    EXPECT_TRUE(s.mapWindowCreated);
    EXPECT_EQ(s.lastPath, "/home/user/fonts/");
    EXPECT_EQ(s.titleBase, "tessaly v2 0.9c");
    for (std::uint8_t b : t.app->charset.bytes) ASSERT_EQ(b, 0);
    EXPECT_TRUE(t.platform.messages.empty());
    EXPECT_EQ(t.platform.focus, GadgetCharsetView);
}

TEST(StartUp, FillsTheWholeMapStorageWithColumnPlus32) {
    TestApp t;
    ASSERT_TRUE(t.start());
    for (int x = 0; x < MapColumns; ++x)
        for (int y = 0; y < MapRows; ++y) ASSERT_EQ(t.app->screenMap.at(x, y), 32 + x);
    // Column-major storage: the 51 cells of a column lie together.
    EXPECT_EQ(t.app->screenMap.cells[51 * 3 + 7], 35);
    EXPECT_EQ(t.app->screenMap.at(39, 23), 71);
    EXPECT_EQ(t.app->screenMap.at(40, 0), 72);
    EXPECT_EQ(t.app->screenMap.at(80, 50), 112);
}

TEST(StartUp, FillsTheBitReverseTable) {
    TestApp t;
    ASSERT_TRUE(t.start());
    const auto& r = t.app->bitReverse.entries;
    EXPECT_EQ(r[0x01], 0x80u);
    EXPECT_EQ(r[0x80], 0x01u);
    EXPECT_EQ(r[0x03], 0xC0u);
    EXPECT_EQ(r[0x12], 0x48u);
    EXPECT_EQ(r[0x0F], 0xF0u);
    EXPECT_EQ(r[0xF0], 0x0Fu);
    for (int fixed : {0x00, 0x18, 0x3C, 0x66, 0x81, 0xA5, 0xFF}) EXPECT_EQ(r[fixed], unsigned(fixed));
    for (unsigned i = 0; i < 256; ++i) ASSERT_EQ(r[r[i]], i);
}

TEST(StartUp, OpensBothWindowsWithTheirGeometry) {
    TestApp t;
    ASSERT_TRUE(t.start());
    const auto& main = t.platform.windows.at(WindowMain);
    EXPECT_EQ(main.clientWidth, 640);
    EXPECT_EQ(main.clientHeight, 480);
    EXPECT_EQ(main.title, "tessaly v2 0.9c");
    EXPECT_TRUE(main.centred);
    EXPECT_TRUE(main.visible);
    // Centred with its frame on the 1280 x 1024 fake screen: outer 648 x 508.
    EXPECT_EQ(main.x, (1280 - 648) / 2);
    EXPECT_EQ(main.y, (1024 - 508) / 2);

    const auto& map = t.platform.windows.at(WindowMap);
    EXPECT_EQ(map.clientWidth, 522);
    EXPECT_EQ(map.clientHeight, 394);
    EXPECT_EQ(map.title, "Character map");
    EXPECT_TRUE(map.hidden);
    EXPECT_FALSE(map.visible);
    EXPECT_EQ(map.x, main.x + 40);
    EXPECT_EQ(map.y, main.y + 40);
}

TEST(StartUp, CreatesEveryControlInOrderAtItsPlace) {
    TestApp t;
    ASSERT_TRUE(t.start());
    const std::vector<int> order = {
        GadgetCharsetView, GadgetRangeBeginLabel, GadgetRangeBeginSlider, GadgetRangeEndLabel,
        GadgetRangeEndSlider, GadgetRangeEnable, GadgetShiftLeft, GadgetShiftUp,
        GadgetShiftDown, GadgetShiftRight, GadgetDataField, GadgetGlyphEditor,
        GadgetMapScrollArea, GadgetMapCanvas};
    EXPECT_EQ(t.platform.controlOrder, order);

    struct Expected {
        int id;
        Kind kind;
        int window, x, y, w, h;
        const char* text;
        const char* toolTip;
    };
    const Expected expected[] = {
        {GadgetCharsetView, Kind::Canvas, WindowMain, 0, 0, 260, 260, "Character set", ""},
        {GadgetRangeBeginLabel, Kind::Label, WindowMain, 20, 260, 255, 20, "Begin range:0", ""},
        {GadgetRangeBeginSlider, Kind::Slider, WindowMain, 20, 280, 255, 30, "", ""},
        {GadgetRangeEndLabel, Kind::Label, WindowMain, 20, 310, 255, 20, "End range:0", ""},
        {GadgetRangeEndSlider, Kind::Slider, WindowMain, 20, 330, 255, 30, "", ""},
        {GadgetRangeEnable, Kind::CheckBox, WindowMain, 0, 310, 20, 20, "", "Enable range"},
        {GadgetShiftLeft, Kind::Button, WindowMain, 262, 128, 32, 20, "<", "shift left"},
        {GadgetShiftUp, Kind::Button, WindowMain, 294, 128, 32, 20, "^", "shift up"},
        {GadgetShiftDown, Kind::Button, WindowMain, 326, 128, 32, 20, "v", "shift down"},
        {GadgetShiftRight, Kind::Button, WindowMain, 358, 128, 32, 20, ">", "shift right"},
        {GadgetDataField, Kind::TextField, WindowMain, 262, 148, 128, 40, "0,0,0,0,0,0,0,0",
         "Data for char"},
        {GadgetGlyphEditor, Kind::Canvas, WindowMain, 262, 0, 128, 128, "Character editor", ""},
        {GadgetMapScrollArea, Kind::ScrollArea, WindowMap, 0, 0, 522, 394, "", ""},
        {GadgetMapCanvas, Kind::Canvas, WindowMap, 0, 0, 1280, 800, "Character map", ""},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.id);
        const auto& c = t.platform.controls.at(e.id);
        EXPECT_EQ(c.kind, e.kind);
        EXPECT_EQ(c.window, e.window);
        EXPECT_EQ(c.rect.x, e.x);
        EXPECT_EQ(c.rect.y, e.y);
        EXPECT_EQ(c.rect.w, e.w);
        EXPECT_EQ(c.rect.h, e.h);
        EXPECT_EQ(c.text, e.text);
        EXPECT_EQ(c.toolTip, e.toolTip);
    }
    const auto& c = t.platform.controls;
    EXPECT_TRUE(c.at(GadgetCharsetView).border);
    EXPECT_TRUE(c.at(GadgetCharsetView).keyboard);
    EXPECT_TRUE(c.at(GadgetCharsetView).acceptsDrops);
    EXPECT_FALSE(c.at(GadgetGlyphEditor).border);
    EXPECT_FALSE(c.at(GadgetGlyphEditor).keyboard);
    EXPECT_FALSE(c.at(GadgetGlyphEditor).acceptsDrops);
    EXPECT_TRUE(c.at(GadgetMapCanvas).acceptsDrops);
    EXPECT_EQ(c.at(GadgetMapCanvas).parent, GadgetMapScrollArea);
    EXPECT_FALSE(c.at(GadgetMapCanvas).keyboard);
    for (int slider : {GadgetRangeBeginSlider, GadgetRangeEndSlider}) {
        EXPECT_EQ(c.at(slider).min, 0);
        EXPECT_EQ(c.at(slider).max, 255);
        EXPECT_EQ(c.at(slider).value, 0);
        EXPECT_TRUE(c.at(slider).ticks);
    }
    EXPECT_TRUE(c.at(GadgetRangeBeginLabel).centred);
    EXPECT_EQ(c.at(GadgetRangeEnable).value, 0);
    EXPECT_TRUE(c.at(GadgetDataField).multiLine);
    EXPECT_TRUE(c.at(GadgetDataField).rightAligned);
    EXPECT_EQ(c.at(GadgetMapScrollArea).innerWidth, 522);
    EXPECT_EQ(c.at(GadgetMapScrollArea).innerHeight, 394);
    EXPECT_EQ(c.at(GadgetMapScrollArea).step, 16);
    // The charset view's drawing area lies inside its 2-pixel border.
    EXPECT_EQ(t.canvas(GadgetCharsetView).width(), 256);
    EXPECT_EQ(t.canvas(GadgetCharsetView).height(), 256);
}

TEST(StartUp, DrawsTheEmptySetWithTheMarkerAndTheGrid) {
    TestApp t;
    ASSERT_TRUE(t.start());
    const Surface& view = t.canvas(GadgetCharsetView);
    EXPECT_EQ(view.pixel(0, 0), rgb(0, 0, 0));
    EXPECT_EQ(view.pixel(1, 0), rgb(0, 255, 127));
    EXPECT_EQ(view.pixel(16, 0), rgb(0, 0, 0));
    EXPECT_EQ(view.pixel(255, 255), rgb(0, 0, 0));
    const Surface& editor = t.canvas(GadgetGlyphEditor);
    EXPECT_EQ(editor.pixel(0, 0), rgb(255, 255, 255));
    EXPECT_EQ(editor.pixel(0, 1), rgb(0, 0, 0));
    EXPECT_EQ(editor.pixel(5, 5), rgb(0, 0, 0));
    // The map is not drawn while its window does not exist yet, and not after start-up.
    const Surface& map = t.canvas(GadgetMapCanvas);
    for (int y = 0; y < map.height(); ++y)
        for (int x = 0; x < map.width(); ++x) ASSERT_EQ(map.pixel(x, y), rgb(255, 255, 255));
}

TEST(StartUp, LoadsExactlyOneCommandLineArgumentAsACharset) {
    TestApp one;
    one.platform.arguments = {TESSALY_TEST_DATA "/letter_a.fnt"};
    ASSERT_TRUE(one.start());
    EXPECT_EQ(one.app->charset.bytes[0], 0x18);
    EXPECT_EQ(one.platform.controls.at(GadgetDataField).text, "24,60,102,126,102,102,102,0");
    EXPECT_EQ(one.state().lastPath, TESSALY_TEST_DATA "/");
    // Drawn at once: the glyph's first row shows in the overview.
    EXPECT_EQ(one.canvas(GadgetCharsetView).pixel(6, 0), rgb(255, 255, 255));

    TestApp two;
    two.platform.arguments = {TESSALY_TEST_DATA "/letter_a.fnt", TESSALY_TEST_DATA "/letter_a.fnt"};
    ASSERT_TRUE(two.start());
    EXPECT_EQ(two.app->charset.bytes[0], 0);
    EXPECT_TRUE(two.platform.messages.empty());
}

TEST(StartUp, AMissingCommandLineFileIsReportedAndTheProgramRunsOn) {
    TestApp t;
    t.platform.arguments = {"/no/such/file.fnt"};
    ASSERT_TRUE(t.start());
    ASSERT_EQ(t.platform.messages.size(), 1u);
    EXPECT_EQ(t.platform.messages[0], (FakePlatform::Message{"No file", "/no/such/file.fnt"}));
    EXPECT_TRUE(t.platform.windows.count(WindowMap));
}

TEST(StartUp, WithoutTheMainWindowTheProgramEndsSilentlyWithZero) {
    FakePlatform p;
    p.failWindows = {WindowMain};
    p.pushCommand(CmdInvert);
    EXPECT_EQ(runTessaly(p), 0);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_TRUE(p.menus.empty());
    EXPECT_EQ(p.eventsLeft(), 1); // the loop never ran
}

TEST(StartUp, WithoutTheMapWindowItReportsAndGoesOn) {
    TestApp t;
    t.platform.failWindows = {WindowMap};
    ASSERT_TRUE(t.start());
    ASSERT_EQ(t.platform.messages.size(), 1u);
    EXPECT_EQ(t.platform.messages[0],
              (FakePlatform::Message{"Tessaly", "Character Map not available"}));
    EXPECT_FALSE(t.state().mapWindowCreated);
    EXPECT_FALSE(t.platform.controls.count(GadgetMapCanvas));
    EXPECT_FALSE(t.platform.controls.count(GadgetMapScrollArea));
    // Map commands still change the storage and draw nothing.
    t.platform.pushCommand(CmdMapSize80x50);
    t.platform.pushCommand(CmdFillMap);
    runEventLoop(*t.app);
    EXPECT_EQ(t.state().mapWidth, 80);
    EXPECT_EQ(t.app->screenMap.at(79, 49), 0);
    EXPECT_EQ(t.platform.messages.size(), 1u);
}

} // namespace
} // namespace tessaly
