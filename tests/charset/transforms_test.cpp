#include "app/event_loop.h"
#include "charset/transforms.h"
#include "platform/ids.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

#include <array>

namespace tessaly {
namespace {

using Rows = std::array<std::uint8_t, 8>;
using G = GlyphTransform;

Rows transformed(Rows rows, G op, int times = 1) {
    BitReverseTable table;
    fillBitReverseTable(table);
    for (int i = 0; i < times; ++i)
        transformGlyph(Glyph(rows), op, table);
    return rows;
}

TEST(Transforms, EachOperationOnTheCornerGlyph) {
    const Rows c = {0x80, 0, 0, 0, 0, 0, 0, 0x01};
    EXPECT_EQ(transformed(c, G::Invert), (Rows{0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE}));
    EXPECT_EQ(transformed(c, G::Clear), Rows{});
    EXPECT_EQ(transformed(c, G::MirrorLeftRight), (Rows{0x01, 0, 0, 0, 0, 0, 0, 0x80}));
    EXPECT_EQ(transformed(c, G::MirrorUpDown), (Rows{0x01, 0, 0, 0, 0, 0, 0, 0x80}));
    EXPECT_EQ(transformed(c, G::ShiftLeft), (Rows{0x01, 0, 0, 0, 0, 0, 0, 0x02}));
    EXPECT_EQ(transformed(c, G::ShiftRight), (Rows{0x40, 0, 0, 0, 0, 0, 0, 0x80}));
    EXPECT_EQ(transformed(c, G::ShiftUp), (Rows{0, 0, 0, 0, 0, 0, 0x01, 0x80}));
    EXPECT_EQ(transformed(c, G::ShiftDown), (Rows{0x01, 0x80, 0, 0, 0, 0, 0, 0}));
    // An "F" tells the two mirrors apart.
    const Rows f = {0xF0, 0x80, 0xE0, 0x80, 0x80, 0, 0, 0};
    EXPECT_EQ(transformed(f, G::MirrorLeftRight), (Rows{0x0F, 0x01, 0x07, 0x01, 0x01, 0, 0, 0}));
    EXPECT_EQ(transformed(f, G::MirrorUpDown), (Rows{0, 0, 0, 0x80, 0x80, 0xE0, 0x80, 0xF0}));
}

TEST(Transforms, InvolutionsUndoThemselvesAndEightShiftsComeBack) {
    const Rows rows = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF1};
    for (G op : {G::Invert, G::MirrorLeftRight, G::MirrorUpDown})
        EXPECT_EQ(transformed(rows, op, 2), rows) << int(op);
    for (G op : {G::ShiftLeft, G::ShiftRight, G::ShiftUp, G::ShiftDown})
        EXPECT_EQ(transformed(rows, op, 8), rows) << int(op);
}

struct RangeTransforms : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(t.start());
        for (int n = 0; n < 256; ++n)
            glyph(t.app->charset, n)[0] = 0x0F;
    }
    void range(bool on, int begin, int end) {
        t.platform.controls[GadgetRangeEnable].checked = on;
        t.platform.controls[GadgetRangeBeginSlider].position = begin;
        t.platform.controls[GadgetRangeEndSlider].position = end;
    }
    void command(int id) {
        t.platform.pushCommand(id);
        runEventLoop(*t.app);
    }
    std::vector<int> inverted() {
        std::vector<int> codes;
        for (int n = 0; n < 256; ++n)
            if (glyph(t.app->charset, n)[0] == 0xF0) codes.push_back(n);
        return codes;
    }
    TestApp t;
};

TEST_F(RangeTransforms, TheCheckBoxChoosesBetweenTheCurrentCharacterAndTheRangeButNotForEraseAll) {
    range(false, 65, 67);
    command(CmdInvert);
    EXPECT_EQ(inverted(), std::vector<int>{0});
    command(CmdInvert);
    for (auto [begin, end] : {std::pair{65, 67}, {67, 65}}) {
        range(true, begin, end);
        command(CmdInvert);
        EXPECT_EQ(inverted(), (std::vector<int>{65, 66, 67}));
        EXPECT_EQ(t.state().currentChar, 0);
        command(CmdInvert);
    }
    // The whole set, redrawn once.
    range(true, 0, 255);
    auto before = t.platform.canvasDrawCount;
    t.platform.pushControl(GadgetShiftLeft, EventType::Changed);
    runEventLoop(*t.app);
    EXPECT_EQ(glyph(t.app->charset, 0)[0], 0x1E);
    EXPECT_EQ(glyph(t.app->charset, 255)[0], 0x1E);
    for (int id : {GadgetCharsetView, GadgetGlyphEditor, GadgetMapCanvas})
        EXPECT_EQ(t.platform.canvasDrawCount[id], before[id] + 1) << id;

    range(true, 3, 4); // erasing ignores the range
    command(CmdEraseAll);
    EXPECT_EQ(t.app->charset.bytes, Charset{}.bytes);
}

} // namespace
} // namespace tessaly
