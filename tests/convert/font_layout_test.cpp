#include "formats/fonts/font_layout.h"

#include "convert_test_support.h"

namespace tessaly {
namespace {

using namespace formats;

// A font of one glyph at code 65 showing 'A', every row of its cell inked with its number.
FontGlyphs oneGlyph(int width, int height, int descent) {
    FontGlyphs font;
    font.width = width;
    font.height = height;
    font.descent = descent;
    font.hasCodes = true;
    font.hasUnicode = true;
    FontGlyph g;
    g.code = 65;
    g.unicode = {U'A'};
    for (int r = 0; r < height; ++r)
        g.rows.push_back(static_cast<std::uint8_t>(0xFF00 >> (r % 8 + 1)));
    font.glyphs.push_back(g);
    return font;
}

TEST(FontLayout, EveryCellFitsByOneRule) {
    const struct {
        const char* what;
        FontGlyphs font;
        std::optional<int> rows;
        Bytes cell;          // code 65 after the fit; none when it cannot be fitted
        const char* message; // the error, or a note on success
    } cases[] = {
        {"8x8 as it is",
         oneGlyph(8, 8, 1),
         {},
         {0x80, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC, 0xFE, 0xFF},
         ""},
        {"5x6: narrow at the left, the descent's bottom on the cell's bottom",
         oneGlyph(5, 6, 1),
         {},
         {0, 0, 0x80, 0xC0, 0xE0, 0xF0, 0xF8, 0xF8},
         ""},
        {"8x16 from row 4",
         oneGlyph(8, 16, 4),
         4,
         {0xF8, 0xFC, 0xFE, 0xFF, 0x80, 0xC0, 0xE0, 0xF0},
         ""},
        {"8x16 from row 6: the ink above is cut off, and said",
         [] {
             FontGlyphs font = oneGlyph(8, 8, 0);
             font.height = 16;
             return font;
         }(),
         6,
         {0xFE, 0xFF, 0, 0, 0, 0, 0, 0},
         "1 glyph has ink outside rows 6-13, cut off (code 65); --rows 0 cuts 0"},
        {"8x16 without --rows",
         oneGlyph(8, 16, 4),
         {},
         {},
         "the glyphs are 8x16 pixels: --rows FIRST takes 8 of their rows (--rows 5 takes rows "
         "5-12)"},
        {"8x14 past its last row",
         oneGlyph(8, 14, 0),
         7,
         {},
         "--rows 7 needs rows 7-14, the glyphs have 0-13"},
        {"9 wide", oneGlyph(9, 8, 0), {}, {}, "only glyphs up to 8 pixels wide"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LaidOutFont out;
        std::string error;
        const bool ok = layOutFont(c.font, {c.rows, 0, 0, nullptr}, out, error);
        EXPECT_EQ(ok, !c.cell.empty()) << error;
        if (ok) {
            EXPECT_EQ(rowsOf(out.set, 65, 1), c.cell);
            if (*c.message) {
                EXPECT_EQ(out.notes, std::vector<std::string>{c.message});
            }
        } else {
            EXPECT_NE(error.find(c.message), std::string::npos) << error;
        }
    }
}

TEST(FontLayout, MachineOrdersPlaceByUnicodeInvertReversedCodesAndNameWhatIsMissing) {
    FontGlyphs font = oneGlyph(8, 8, 1);
    LaidOutFont out;
    std::string error;
    ASSERT_TRUE(layOutFont(font, {{}, 0, 0, machineOrderNamed("c64")}, out, error)) << error;
    EXPECT_EQ(rowsOf(out.set, 1, 1), (Bytes{0x80, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC, 0xFE, 0xFF}));
    EXPECT_EQ(rowsOf(out.set, 129, 1), (Bytes{0x7F, 0x3F, 0x1F, 0x0F, 0x07, 0x03, 0x01, 0x00}));
    EXPECT_EQ(out.present.count(), 2u);
    ASSERT_EQ(out.notes.size(), 1u);
    EXPECT_NE(out.notes[0].find("the font lacks 127 of the 128 characters of --order c64 (U+0040 "),
              std::string::npos)
        << out.notes[0];

    font.hasUnicode = false;
    EXPECT_FALSE(layOutFont(font, {{}, 0, 0, machineOrderNamed("cga")}, out, error));
    EXPECT_EQ(error, "the font carries no Unicode, so --order cga cannot place its glyphs");
    EXPECT_EQ(codeRanges(out.present), "none");
    std::bitset<GlyphCount> some;
    for (int c : {0, 1, 2, 5, 32, 33, 255})
        some.set(static_cast<std::size_t>(c));
    EXPECT_EQ(codeRanges(some), "0-2, 5, 32-33, 255");
}

} // namespace
} // namespace tessaly
