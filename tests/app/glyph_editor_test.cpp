#include "app/app_fixture.h"

namespace tessaly {
namespace {

struct GlyphEditor : AppTest {
    int row(int r) { return glyph(t.app->charset, 65)[r]; }
    void send(CanvasInput type, int x, int y, int buttons = 0) {
        event(GadgetGlyphEditor, type, x, y, buttons);
    }
};

TEST_F(GlyphEditor, LeftSetsAndRightClearsTheBitUnderThePointerRedrawingEachTime) {
    select(65);
    t.platform.setControlText(GadgetDataField, "typed");
    send(CanvasInput::LeftButtonDown, 0, 0);
    send(CanvasInput::LeftButtonDown, 127, 127);
    send(CanvasInput::LeftButtonDown, 40, 20);
    send(CanvasInput::MouseMove, 63, 20, ButtonLeft);
    EXPECT_EQ(row(0), 0x80);
    EXPECT_EQ(row(1), 0x30);
    EXPECT_EQ(row(7), 0x01);
    EXPECT_EQ(glyph(t.app->charset, 0)[0], 0); // only the current character is edited

    send(CanvasInput::RightButtonDown, 45, 31);
    scribble(GadgetGlyphEditor);
    scribble(GadgetCharsetView);
    send(CanvasInput::RightButtonDown, 45, 31); // already clear: still redrawn
    EXPECT_TRUE(redrawn(GadgetGlyphEditor));
    EXPECT_TRUE(redrawn(GadgetCharsetView));
    send(CanvasInput::MouseMove, 127, 112, ButtonRight);
    send(CanvasInput::MouseMove, 20, 50, ButtonLeft | ButtonRight); // both held: sets
    EXPECT_EQ(text(GadgetDataField), "128,16,0,64,0,0,0,0");
}

TEST_F(GlyphEditor, PositionsTruncateTowardZeroAndOffGridEventsDoNothing) {
    select(65);
    for (int p = -15; p <= -1; ++p) {
        send(CanvasInput::MouseMove, p, 100, ButtonLeft); // column 0 of row 6
        send(CanvasInput::MouseMove, 100, p, ButtonLeft); // column 6 of row 0
    }
    EXPECT_EQ(row(6), 0x80);
    EXPECT_EQ(row(0), 0x02);
    const auto bytes = t.app->charset.bytes;
    scribble(GadgetGlyphEditor);
    for (auto [x, y] : {std::pair{-16, 0}, {0, -16}, {128, 0}, {0, 128}})
        send(CanvasInput::MouseMove, x, y, ButtonLeft);
    send(CanvasInput::MouseMove, 5, 5); // no button held
    for (CanvasInput other : {CanvasInput::LeftButtonUp, CanvasInput::LeftClick, CanvasInput::RightClick})
        send(other, 5, 5, ButtonLeft);
    EXPECT_EQ(t.app->charset.bytes, bytes);
    EXPECT_FALSE(redrawn(GadgetGlyphEditor));
}

} // namespace
} // namespace tessaly
