#include "app/event_loop.h"
#include "charset/charset_view.h"
#include "platform/ids.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

struct GlyphEditor : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(t.start());
        moveCursor(*t.app, 1, 4); // edit code 65
    }
    std::uint8_t row(int r) { return glyph(t.app->charset, 65)[r]; }
    int draws() { return t.platform.canvasDrawCount[GadgetGlyphEditor]; }
    void send(EventType type, int x, int y, int buttons = 0) {
        t.platform.pushControl(GadgetGlyphEditor, type, x, y, buttons);
        runEventLoop(*t.app);
    }
    TestApp t;
};

TEST_F(GlyphEditor, LeftSetsAndRightClearsTheBitUnderThePointer) {
    t.platform.setControlText(GadgetDataField, "typed");
    send(EventType::LeftButtonDown, 0, 0);
    send(EventType::LeftButtonDown, 127, 127);
    send(EventType::LeftButtonDown, 40, 20);
    send(EventType::MouseMove, 63, 20, ButtonLeft);
    EXPECT_EQ(row(0), 0x80);
    EXPECT_EQ(row(1), 0x30);
    EXPECT_EQ(row(7), 0x01);
    EXPECT_EQ(glyph(t.app->charset, 0)[0], 0); // only the current character is edited

    send(EventType::RightButtonDown, 45, 31);
    send(EventType::MouseMove, 0, 127, ButtonRight);
    EXPECT_EQ(row(1), 0x10);
    EXPECT_EQ(row(7), 0x01);
    send(EventType::MouseMove, 127, 112, ButtonRight);
    EXPECT_EQ(row(7), 0x00);
    send(EventType::MouseMove, 20, 50, ButtonLeft | ButtonRight); // both held: sets
    EXPECT_EQ(row(3), 0x40);
    EXPECT_EQ(t.platform.controls.at(GadgetDataField).text, "128,16,0,64,0,0,0,0");
}

TEST_F(GlyphEditor, PositionsTruncateTowardZeroAndOffGridEventsDoNothing) {
    for (int p = -15; p <= -1; ++p) {
        send(EventType::MouseMove, p, 100, ButtonLeft); // column 0 of row 6
        send(EventType::MouseMove, 100, p, ButtonLeft); // column 6 of row 0
    }
    EXPECT_EQ(row(6), 0x80);
    EXPECT_EQ(row(0), 0x02);

    const auto bytes = t.app->charset.bytes;
    const int before = draws();
    for (auto [x, y] : {std::pair{-16, 0}, {0, -16}, {128, 0}, {0, 128}, {-400, 900}})
        send(EventType::MouseMove, x, y, ButtonLeft);
    send(EventType::MouseMove, 5, 5); // no button held
    for (EventType other : {EventType::LeftButtonUp, EventType::LeftClick, EventType::RightClick})
        send(other, 5, 5, ButtonLeft);
    EXPECT_EQ(t.app->charset.bytes, bytes);
    EXPECT_EQ(draws(), before);
}

TEST_F(GlyphEditor, EveryAcceptedEventRedrawsAlsoWhenThePixelIsUnchanged) {
    const int view = t.platform.canvasDrawCount[GadgetCharsetView];
    const int before = draws();
    send(EventType::RightButtonDown, 8, 8);
    send(EventType::LeftButtonDown, 8, 8);
    send(EventType::LeftButtonDown, 8, 8);
    EXPECT_EQ(row(0), 0x80);
    EXPECT_EQ(draws(), before + 3);
    EXPECT_EQ(t.platform.canvasDrawCount[GadgetCharsetView], view + 3);
}

} // namespace
} // namespace tessaly
