#include "app/event_loop.h"
#include "charset/charset_view.h"
#include "platform/ids.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

struct CharsetView : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(t.start()); }
    void select(int code) {
        moveCursor(*t.app, code % 16 - t.state().cursorColumn, code / 16 - t.state().cursorRow);
    }
    void push(EventType type, int x, int y, Key key = Key::None) {
        t.platform.pushControl(GadgetCharsetView, type, x, y, 0, key);
    }
    void run() { runEventLoop(*t.app); }
    void numberGlyphs() { // glyph n filled with the byte n
        for (int n = 0; n < 256; ++n)
            std::fill_n(glyph(t.app->charset, n).begin(), 8, n);
    }
    int fill(int code) { return glyph(t.app->charset, code)[3]; }
    // What the platform reports for a drag: press, move, release, and the click only when
    // the release lies inside the canvas (260 x 260 with its border).
    void drag(int fromX, int fromY, int toX, int toY) {
        push(EventType::LeftButtonDown, fromX, fromY);
        push(EventType::MouseMove, toX, toY);
        push(EventType::LeftButtonUp, toX, toY);
        if (toX >= 0 && toY >= 0 && toX < 260 && toY < 260) push(EventType::LeftClick, toX, toY);
        run();
    }
    TestApp t;
};

TEST_F(CharsetView, ArrowKeysMoveOnKeyUpWithWrapAroundInTheirLine) {
    for (auto [from, key, to] : {std::tuple{16, Key::Left, 31},
                                 {5, Key::Up, 245},
                                 {255, Key::Right, 240},
                                 {250, Key::Down, 10}}) {
        select(from);
        push(EventType::KeyDown, 0, 0, key);
        push(EventType::KeyUp, 0, 0, Key::Other);
        run();
        EXPECT_EQ(t.state().currentChar, from);
        push(EventType::KeyUp, 0, 0, key);
        run();
        EXPECT_EQ(t.state().currentChar, to);
        EXPECT_EQ(t.state().cursorRow * 16 + t.state().cursorColumn, to);
    }
}

TEST_F(CharsetView, TitleNamesTheCodeAndFrom32OnItsCharacter) {
    const std::string base = "tessaly v2 0.9c";
    EXPECT_EQ(t.platform.windows.at(WindowMain).title, base);
    select(65);
    EXPECT_EQ(t.platform.windows.at(WindowMain).title, base + " 65($41)'A'");
    EXPECT_EQ(charsetTitle(base, 0), base + " 0($00)");
    EXPECT_EQ(charsetTitle(base, 10), base + " 10($0A)");
    EXPECT_EQ(charsetTitle(base, 31), base + " 31($1F)");
    EXPECT_EQ(charsetTitle(base, 32), base + " 32($20)' '");
    EXPECT_EQ(charsetTitle(base, 128), base + " 128($80)'\u20AC'");
    EXPECT_EQ(charsetTitle(base, 255), base + " 255($FF)'\u00FF'");
}

TEST_F(CharsetView, InsertAndDeleteMoveTheGlyphsFromTheCurrentOneOn) {
    struct Case {
        int current;
        Key key;
        int at64, at65, at66, at254, at255;
    };
    for (const Case c : {Case{65, Key::Insert, 64, 0, 65, 253, 254},
                         {65, Key::Delete, 64, 66, 67, 255, 0},
                         {255, Key::Insert, 64, 65, 66, 254, 0},
                         {255, Key::Delete, 64, 65, 66, 254, 0}}) {
        numberGlyphs();
        select(c.current);
        push(EventType::KeyUp, 0, 0, c.key);
        run();
        EXPECT_EQ(t.state().currentChar, c.current);
        for (auto [code, expected] :
             {std::pair{64, c.at64}, {65, c.at65}, {66, c.at66}, {254, c.at254}, {255, c.at255}})
            EXPECT_EQ(fill(code), expected) << c.current << " " << int(c.key) << " @" << code;
    }
}

TEST_F(CharsetView, DraggingSwapsOrCopiesAsTheExclusiveMarksSayAndSelectsTheTarget) {
    for (int mode : {CmdDragCopy, CmdDragSwap, CmdDragSwap, CmdDragCopy}) {
        t.platform.pushCommand(mode);
        numberGlyphs();
        drag(20, 5, 40, 10); // glyph 1 onto glyph 2
        EXPECT_EQ(t.platform.isMenuChecked(MenuMain, CmdDragSwap), mode == CmdDragSwap);
        EXPECT_EQ(t.platform.isMenuChecked(MenuMain, CmdDragCopy), mode == CmdDragCopy);
        EXPECT_EQ(fill(1), mode == CmdDragSwap ? 2 : 1);
        EXPECT_EQ(fill(2), 1);
        EXPECT_EQ(t.state().currentChar, 2);
        EXPECT_FALSE(t.state().dragging);
    }
}

TEST_F(CharsetView, APressAfterALostReleaseStartsANewDrag) {
    numberGlyphs();
    push(EventType::LeftButtonDown, 20, 5);
    push(EventType::RightClick, 20, 5); // the popup takes the left release
    run();
    drag(80, 5, 80, 5); // a plain click on glyph 5
    drag(80, 5, 96, 5);
    EXPECT_EQ(fill(1), 1);
    EXPECT_EQ(fill(5), 6);
    EXPECT_EQ(fill(6), 5);
}

TEST_F(CharsetView, ReleasesOnTheSourceOrOffTheGridDropNothing) {
    t.platform.pushCommand(CmdDragCopy);
    // Dragging glyph 17 from cell (1, 1); `selected` -1: no click follows the release.
    for (auto [x, y, selected] : {std::tuple{30, 30, 17},
                                  {256, 20, 16},
                                  {20, 259, 1},
                                  {260, 20, -1},
                                  {20, 500, -1},
                                  {-16, 20, -1},
                                  {20, -16, -1}}) {
        numberGlyphs();
        select(100);
        const auto bytes = t.app->charset.bytes;
        drag(20, 20, x, y);
        EXPECT_EQ(t.app->charset.bytes, bytes) << x << "," << y;
        EXPECT_EQ(t.state().currentChar, selected < 0 ? 100 : selected) << x << "," << y;
    }
    // 1..15 pixels left of or above the grid count as column or row 0.
    for (auto [x, y, target] : {std::tuple{-1, 20, 16}, {-15, 40, 32}, {40, -15, 2}}) {
        numberGlyphs();
        select(100);
        drag(20, 20, x, y);
        EXPECT_EQ(fill(target), 17) << x << "," << y;
        EXPECT_EQ(t.state().currentChar, 100);
    }
}

TEST_F(CharsetView, RightClickSelectsBeforeThePopupActs) {
    t.platform.popupAnswers = {CmdSetRangeBegin};
    push(EventType::RightClick, 20, 68);
    run();
    EXPECT_EQ(t.state().currentChar, 65);
    EXPECT_EQ(t.platform.popupsShown,
              (std::vector<std::pair<int, int>>{{MenuCharsetPopup, WindowMain}}));
    EXPECT_EQ(t.platform.controls.at(GadgetRangeBeginSlider).position, 65);

    TestApp u;
    u.platform.failMenus = {MenuCharsetPopup};
    ASSERT_TRUE(u.start());
    u.platform.pushControl(GadgetCharsetView, EventType::RightClick, 40, 0);
    runEventLoop(*u.app);
    EXPECT_EQ(u.state().currentChar, 2);
    EXPECT_TRUE(u.platform.popupsShown.empty());
}

} // namespace
} // namespace tessaly
