#include "app/app_fixture.h"
#include "charset/transforms.h"

#include <array>

namespace tessaly {
namespace {

using Rows = std::array<std::uint8_t, 8>;
using G = GlyphTransform;

Rows transformed(Rows rows, G op) {
    BitReverseTable table;
    fillBitReverseTable(table);
    transformGlyph(Glyph(rows), op, table);
    return rows;
}

TEST(Transforms, EachOperationOnTheCornerGlyphAndTheMirrorsOnAnF) {
    const Rows c = {0x80, 0, 0, 0, 0, 0, 0, 0x01};
    EXPECT_EQ(transformed(c, G::Invert), (Rows{0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE}));
    EXPECT_EQ(transformed(c, G::Clear), Rows{});
    EXPECT_EQ(transformed(c, G::MirrorLeftRight), (Rows{0x01, 0, 0, 0, 0, 0, 0, 0x80}));
    EXPECT_EQ(transformed(c, G::MirrorUpDown), (Rows{0x01, 0, 0, 0, 0, 0, 0, 0x80}));
    EXPECT_EQ(transformed(c, G::ShiftLeft), (Rows{0x01, 0, 0, 0, 0, 0, 0, 0x02}));
    EXPECT_EQ(transformed(c, G::ShiftRight), (Rows{0x40, 0, 0, 0, 0, 0, 0, 0x80}));
    EXPECT_EQ(transformed(c, G::ShiftUp), (Rows{0, 0, 0, 0, 0, 0, 0x01, 0x80}));
    EXPECT_EQ(transformed(c, G::ShiftDown), (Rows{0x01, 0x80, 0, 0, 0, 0, 0, 0}));
    const Rows f = {0xF0, 0x80, 0xE0, 0x80, 0x80, 0, 0, 0};
    EXPECT_EQ(transformed(f, G::MirrorLeftRight), (Rows{0x0F, 0x01, 0x07, 0x01, 0x01, 0, 0, 0}));
    EXPECT_EQ(transformed(f, G::MirrorUpDown), (Rows{0, 0, 0, 0x80, 0x80, 0xE0, 0x80, 0xF0}));
}

using RangeTransforms = AppTest;

TEST_F(RangeTransforms, TheCheckBoxChoosesTheCurrentCharacterOrTheRangeButNotForEraseAll) {
    auto inverted = [&] { // glyphs start with row 0 = 0x0F
        std::vector<int> codes;
        for (int n = 0; n < 256; ++n)
            if (glyph(t.app->charset, n)[0] == 0xF0) codes.push_back(n);
        return codes;
    };
    for (int n = 0; n < 256; ++n) glyph(t.app->charset, n)[0] = 0x0F;
    range(false, 65, 67);
    command(CmdInvert);
    EXPECT_EQ(inverted(), std::vector<int>{0});
    command(CmdInvert);
    for (auto [begin, end] : {std::pair{65, 67}, {67, 65}}) {
        range(true, begin, end);
        command(CmdInvert);
        EXPECT_EQ(inverted(), (std::vector<int>{65, 66, 67}));
        command(CmdInvert);
    }
    // The whole set through a shift button, then every view redrawn.
    range(true, 0, 255);
    for (int id : {GadgetCharsetView, GadgetGlyphEditor, GadgetMapCanvas}) scribble(id);
    t.platform.pushChange(GadgetShiftLeft, 0);
    runEventLoop(*t.app);
    EXPECT_EQ(glyph(t.app->charset, 0)[0], 0x1E);
    EXPECT_EQ(glyph(t.app->charset, 255)[0], 0x1E);
    for (int id : {GadgetCharsetView, GadgetGlyphEditor, GadgetMapCanvas})
        EXPECT_TRUE(redrawn(id)) << id;
    range(true, 3, 4);
    command(CmdEraseAll);
    EXPECT_EQ(t.app->charset.bytes, Charset{}.bytes);
}

} // namespace
} // namespace tessaly
