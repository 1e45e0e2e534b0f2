#include "app/app_fixture.h"
#include "render/charset_render.h"

namespace tessaly {
namespace {

struct CharsetView : AppTest {
    void key(CanvasInput type, Key k) { event(GadgetCharsetView, type, 0, 0, 0, k); }
    // What the platform reports for a drag: press, move and release.
    void drag(int fromX, int fromY, int toX, int toY) {
        FakePlatform& p = t.platform;
        p.pushPointer(GadgetCharsetView, EventKind::PointerDown, fromX, fromY, Button::Left,
                      ButtonLeft);
        p.pushPointer(GadgetCharsetView, EventKind::PointerMove, toX, toY, Button::None, ButtonLeft);
        p.pushPointer(GadgetCharsetView, EventKind::PointerUp, toX, toY, Button::Left, 0);
        runEventLoop(*t.app);
    }
};

TEST_F(CharsetView, ArrowKeysMoveOnKeyUpWithWrapAroundAndTheTitleFollows) {
    for (auto [from, k, to] : {std::tuple{16, Key::Left, 31}, {5, Key::Up, 245},
                               {255, Key::Right, 240}, {250, Key::Down, 10}}) {
        select(from);
        key(CanvasInput::KeyDown, k);
        key(CanvasInput::KeyUp, Key::Other);
        EXPECT_EQ(t.state().currentChar, from);
        key(CanvasInput::KeyUp, k);
        EXPECT_EQ(t.state().currentChar, to);
        EXPECT_EQ(t.state().cursorRow * 16 + t.state().cursorColumn, to);
    }
    select(65); // the code, and from 32 on its Windows-1252 character
    EXPECT_EQ(t.platform.windows.at(WindowMain).title, "tessaly v2 0.9c 65($41)'A'");
    EXPECT_EQ(charsetTitle("t", 10), "t 10($0A)");
    EXPECT_EQ(charsetTitle("t", 32), "t 32($20)' '");
    EXPECT_EQ(charsetTitle("t", 128), "t 128($80)'\u20AC'");
    EXPECT_EQ(charsetTitle("t", 255), "t 255($FF)'\u00FF'");
}

TEST_F(CharsetView, InsertAndDeleteMoveTheGlyphsFromTheCurrentOneOn) {
    for (int current : {0, 65, 255})
        for (Key k : {Key::Insert, Key::Delete}) {
            numberGlyphs();
            select(current);
            key(CanvasInput::KeyUp, k);
            EXPECT_EQ(t.state().currentChar, current);
            for (int n = 0; n < 256; ++n) {
                const int moved =
                    k == Key::Insert ? (n == current ? 0 : n - 1) : (n == 255 ? 0 : n + 1);
                ASSERT_EQ(fill(n), n < current ? n : moved) << current << " " << n;
            }
        }
}

TEST_F(CharsetView, DraggingSwapsOrCopiesAsTheExclusiveMarksSayAndSelectsTheTarget) {
    for (int mode : {CmdDragSwap, CmdDragCopy, CmdDragCopy, CmdDragSwap}) {
        command(mode);
        numberGlyphs();
        drag(20, 5, 40, 10); // glyph 1 onto glyph 2
        EXPECT_EQ(t.platform.isMenuChecked(MenuMain, CmdDragSwap), mode == CmdDragSwap);
        EXPECT_EQ(t.platform.isMenuChecked(MenuMain, CmdDragCopy), mode == CmdDragCopy);
        EXPECT_EQ(fill(1), mode == CmdDragSwap ? 2 : 1);
        EXPECT_EQ(fill(2), 1);
        EXPECT_EQ(t.state().currentChar, 2);
    }
    // A press while a drag is open (a popup took its release) starts a new one.
    numberGlyphs();
    event(GadgetCharsetView, CanvasInput::LeftButtonDown, 20, 5);
    event(GadgetCharsetView, CanvasInput::RightClick, 20, 5);
    drag(80, 5, 96, 5);
    EXPECT_EQ(fill(1), 1);
    EXPECT_EQ(fill(5), 6);
}

TEST_F(CharsetView, AMoveWithoutTheLeftButtonEndsALostDragWithoutADrop) {
    numberGlyphs();
    // The release of this press went to a popup: the next move, button up, ends the drag.
    event(GadgetCharsetView, CanvasInput::LeftButtonDown, 20, 5);
    event(GadgetCharsetView, CanvasInput::MouseMove, 100, 100, ButtonLeft);
    EXPECT_TRUE(t.state().dragging);
    EXPECT_EQ(countColour(t.canvas(GadgetCharsetView), Red), 16 * 4 - 4);
    event(GadgetCharsetView, CanvasInput::MouseMove, 120, 100);
    EXPECT_FALSE(t.state().dragging);
    EXPECT_EQ(countColour(t.canvas(GadgetCharsetView), Red), 0); // the green hover instead
    EXPECT_EQ(countColour(t.canvas(GadgetCharsetView), HoverColour), 16 * 4 - 4);
    event(GadgetCharsetView, CanvasInput::LeftButtonUp, 120, 100);
    for (int n = 0; n < 256; ++n) ASSERT_EQ(fill(n), n);
}

TEST_F(CharsetView, ReleasesOnTheSourceOrOffTheGridDropNothingButUpTo15LeftOrAboveDo) {
    command(CmdDragCopy);
    // Glyph 17 is dragged from cell (1, 1) to (x, y): the glyph it lands on (-1: none) and
    // the code the click after the release selects (-1: no click).
    for (auto [x, y, target, selected] :
         {std::tuple{30, 30, -1, 17}, {256, 20, -1, 16}, {20, 259, -1, 1}, {260, 20, -1, -1},
          {-16, 20, -1, -1}, {20, -16, -1, -1}, {-1, 20, 16, -1}, {-15, 40, 32, -1},
          {40, -15, 2, -1}}) {
        SCOPED_TRACE(testing::Message() << x << "," << y);
        numberGlyphs();
        select(100);
        drag(20, 20, x, y);
        for (int n = 0; n < 256; ++n) ASSERT_EQ(fill(n), n == target ? 17 : n);
        EXPECT_EQ(t.state().currentChar, selected < 0 ? 100 : selected);
        if (target >= 0) { // shown at once: 17 = 0x11 lights the last pixel of each row
            const Surface& view = t.canvas(GadgetCharsetView);
            EXPECT_EQ(view.pixel(target % 16 * 16 + 14, target / 16 * 16 + 2), White);
        }
    }
}

TEST_F(CharsetView, RightClickSelectsForThePopupAndAlsoWithoutIt) {
    t.platform.popupAnswers = {CmdSetRangeBegin};
    event(GadgetCharsetView, CanvasInput::RightClick, 20, 68);
    runEventLoop(*t.app); // the pick
    EXPECT_EQ(t.platform.popupsShown,
              (std::vector<std::pair<int, int>>{{MenuCharsetPopup, WindowMain}}));
    EXPECT_EQ(t.platform.controls.at(GadgetRangeBeginSlider).value, 65);
    t.app->menus.erase(MenuCharsetPopup); // as when its creation failed
    event(GadgetCharsetView, CanvasInput::RightClick, 40, 0);
    EXPECT_EQ(t.state().currentChar, 2);
    EXPECT_EQ(t.platform.popupsShown.size(), 1u);
}

} // namespace
} // namespace tessaly
