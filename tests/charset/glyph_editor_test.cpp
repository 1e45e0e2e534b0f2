#include "charset/app_fixture.h"

namespace tessaly {
namespace {

struct GlyphEditor : AppTest {
    int row(int r) { return glyph(t.app->charset, 65)[r]; }
    void send(EventType type, int x, int y, int buttons = 0) {
        event(GadgetGlyphEditor, type, x, y, buttons);
    }
};

TEST_F(GlyphEditor, LeftSetsAndRightClearsTheBitUnderThePointerRedrawingEachTime) {
    select(65);
    t.platform.setControlText(GadgetDataField, "typed");
    send(EventType::LeftButtonDown, 0, 0);
    send(EventType::LeftButtonDown, 127, 127);
    send(EventType::LeftButtonDown, 40, 20);
    send(EventType::MouseMove, 63, 20, ButtonLeft);
    EXPECT_EQ(row(0), 0x80);
    EXPECT_EQ(row(1), 0x30);
    EXPECT_EQ(row(7), 0x01);
    EXPECT_EQ(glyph(t.app->charset, 0)[0], 0); // only the current character is edited

    const int editor = draws(GadgetGlyphEditor), view = draws(GadgetCharsetView);
    send(EventType::RightButtonDown, 45, 31);
    send(EventType::RightButtonDown, 45, 31); // already clear: still redrawn
    send(EventType::MouseMove, 127, 112, ButtonRight);
    send(EventType::MouseMove, 20, 50, ButtonLeft | ButtonRight); // both held: sets
    EXPECT_EQ(draws(GadgetGlyphEditor), editor + 4);
    EXPECT_EQ(draws(GadgetCharsetView), view + 4);
    EXPECT_EQ(text(GadgetDataField), "128,16,0,64,0,0,0,0");
}

TEST_F(GlyphEditor, PositionsTruncateTowardZeroAndOffGridEventsDoNothing) {
    select(65);
    for (int p = -15; p <= -1; ++p) {
        send(EventType::MouseMove, p, 100, ButtonLeft); // column 0 of row 6
        send(EventType::MouseMove, 100, p, ButtonLeft); // column 6 of row 0
    }
    EXPECT_EQ(row(6), 0x80);
    EXPECT_EQ(row(0), 0x02);
    const auto bytes = t.app->charset.bytes;
    const int before = draws(GadgetGlyphEditor);
    for (auto [x, y] : {std::pair{-16, 0}, {0, -16}, {128, 0}, {0, 128}})
        send(EventType::MouseMove, x, y, ButtonLeft);
    send(EventType::MouseMove, 5, 5); // no button held
    for (EventType other : {EventType::LeftButtonUp, EventType::LeftClick, EventType::RightClick})
        send(other, 5, 5, ButtonLeft);
    EXPECT_EQ(t.app->charset.bytes, bytes);
    EXPECT_EQ(draws(GadgetGlyphEditor), before);
}

} // namespace
} // namespace tessaly
