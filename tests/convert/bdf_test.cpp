#include "formats/fonts/bdf.h"

#include "formats/fonts/builtin_set.h"
#include "formats/fonts/font_layout.h"

#include "convert_test_support.h"

namespace tessaly {
namespace {

// A font read and laid out by its codes, as the converter does.
struct BdfFont {
    formats::LaidOutFont laid;
    formats::FontGlyphs glyphs;
};

bool readBdf(const Bytes& bytes, BdfFont& f, std::string& error) {
    return formats::readBdf(bytes, f.glyphs, error) &&
           formats::layOutFont(f.glyphs, {}, f.laid, error);
}

// A font around the given glyph blocks; `head` goes before CHARS.
std::string font(const std::string& head, int chars, const std::string& glyphs) {
    return "STARTFONT 2.1\nFONT test\nSIZE 8 75 75\n" + head + "CHARS " + std::to_string(chars) +
           "\n" + glyphs + "ENDFONT\n";
}

std::string glyphBlock(const std::string& name, int encoding, const std::string& bbx,
                       const std::string& rows) {
    return "STARTCHAR " + name + "\nENCODING " + std::to_string(encoding) +
           "\nSWIDTH 500 0\nDWIDTH 8 0\nBBX " + bbx + "\nBITMAP\n" + rows + "ENDCHAR\n";
}

const std::string Box88 = "FONTBOUNDINGBOX 8 8 0 -1\n";

TEST(Bdf, GlyphsSitInTheCellByTheirBoxAndTheFontsDescent) {
    const struct {
        const char* what;
        std::string head, bbx, rows;
        Bytes cell;
    } cases[] = {
        {"a full cell",
         Box88,
         "8 8 0 -1",
         "80\n40\n20\n10\n08\n04\n02\n01\n",
         {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}},
        {"a small box on the baseline",
         Box88,
         "2 2 3 0",
         "C0\n40\n",
         {0, 0, 0, 0, 0, 0x18, 0x08, 0}},
        {"a box below the baseline", Box88, "1 1 7 -1", "80\n", {0, 0, 0, 0, 0, 0, 0, 0x01}},
        {"FONT_DESCENT over the bounding box",
         "FONTBOUNDINGBOX 8 8 0 0\nSTARTPROPERTIES 2\nFONT_ASCENT 6\nFONT_DESCENT "
         "2\nENDPROPERTIES\n",
         "3 1 0 0",
         "E0\n",
         {0, 0, 0, 0, 0, 0xE0, 0, 0}},
        {"no descent",
         "FONTBOUNDINGBOX 8 8 0 0\n",
         "1 2 0 6",
         "80\n80\n",
         {0x80, 0x80, 0, 0, 0, 0, 0, 0}},
        {"wider rows than the box, blank margins outside the cell",
         Box88,
         "12 10 -2 -2",
         "0000\n0000\n0000\n3FC0\n0000\n0000\n0000\n0000\n0000\n0000\n",
         {0, 0, 0xFF, 0, 0, 0, 0, 0}},
        {"an empty box", Box88, "0 0 0 0", "", {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text =
            font(c.head, 2,
                 glyphBlock("A", 65, c.bbx, c.rows) +
                     glyphBlock("uni20AC", 8364, "9 9 0 -1", // need not fit
                                "FF80\nFF80\nFF80\nFF80\nFF80\nFF80\nFF80\nFF80\nFF80\n"));
        BdfFont f;
        std::string error;
        ASSERT_TRUE(readBdf(bytesOf(text), f, error)) << error;
        EXPECT_EQ(rowsOf(f.laid.set, 65, 1), c.cell);
        EXPECT_EQ(f.laid.present.count(), 1u); // the glyph beyond 255 is left out, and said
        EXPECT_EQ(f.glyphs.droppedGlyphs, 1);
        EXPECT_EQ(f.laid.notes,
                  std::vector<std::string>{"1 glyph with no code from 0 to 255 left out"});
    }
}

TEST(Bdf, MalformedFontsAndGlyphsOutsideTheCellNameTheLineAndGlyph) {
    const std::string a = glyphBlock("A", 65, "8 8 0 -1", "00\n00\n00\n00\n00\n00\n00\n00\n");
    const std::string oneGlyph = font(Box88, 1, a);
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {"", "not a BDF font: it does not start with STARTFONT"},
        {"\x89PNG\r\n", "not a BDF font"},
        {font(Box88, 2, a), "line 21: the font holds 1 glyphs, but CHARS gives 2"},
        {font(Box88, 0, a), "line 6: more glyphs than the 0 that CHARS gives"},
        {font(Box88, 1, a + "CHARS 1\n"), "line 21: CHARS comes a second time"},
        {oneGlyph.substr(0, oneGlyph.find("BITMAP") + 10),
         "the file ends inside glyph 'A' (ENCODING 65) (started on line 6)"},
        {oneGlyph.substr(0, oneGlyph.size() - 8), "the file ends at line 20 without ENDFONT"},
        {font("", 1, a), "line 4: no FONTBOUNDINGBOX or FONT_DESCENT before CHARS"},
        {font(Box88, 1, glyphBlock("A", 65, "9 1 0 0", "FF\n")),
         "line 12: glyph 'A' (ENCODING 65): a bitmap row of 9 pixels takes 4 hex digits"},
        {font(Box88, 1, glyphBlock("A", 65, "8 2 0 0", "FF\n")),
         "line 13: glyph 'A' (ENCODING 65) has 1 bitmap rows; its BBX says 2"},
        {font(Box88, 1, glyphBlock("A", 65, "8 1 0 0", "FF\nFF\n")),
         "line 13: glyph 'A' (ENCODING 65) has more bitmap rows than the 1 of its BBX"},
        {font(Box88, 1, glyphBlock("A", 65, "8 1 0 0", "FG\n")),
         "line 12: glyph 'A' (ENCODING 65): 'FG' is no hex bitmap row"},
        {font(Box88, 1, glyphBlock("wide", 66, "9 1 0 0", "0080\n")),
         "line 12: glyph 'wide' (ENCODING 66) does not fit the cell: it has ink at column 8, "
         "row 6"},
        {font(Box88, 1, glyphBlock("tall", 67, "1 9 0 -1", "80\n00\n00\n00\n00\n00\n00\n00\n00\n")),
         "line 12: glyph 'tall' (ENCODING 67) does not fit the cell: it has ink at column 0, "
         "row -1"},
        {font(Box88, 1, glyphBlock("left", 68, "1 1 -1 0", "80\n")),
         "glyph 'left' (ENCODING 68) does not fit the cell: it has ink at column -1"},
        {font(Box88, 1, glyphBlock("A", 65, "2000 1 0 0", "00\n")),
         "line 10: glyph 'A' (ENCODING 65): BBX 2000 x 1 is no size from 0 to 1024"},
        {font(Box88, 1, glyphBlock("A", 65, "8 8 0 99999999999", "")),
         "line 10: BBX: '99999999999' is no number"},
        {font(Box88, 1, glyphBlock("A", 65, "8 8", "")), "line 10: BBX takes 4 numbers"},
        {font(Box88, 2, a + a),
         "line 22: glyph 'A' (ENCODING 65): a glyph with this encoding came before"},
        {font(Box88, 1, "STARTCHAR x\nENCODING 1\nBITMAP\nENDCHAR\n"),
         "line 8: glyph 'x' (ENCODING 1) has no BBX before BITMAP"},
        {font(Box88, 1, "STARTCHAR x\nENDCHAR\n"), "line 7: glyph 'x' has no BITMAP"},
        {"STARTFONT 2.1\nSTARTPROPERTIES 1\nFONT_DESCENT 1\n",
         "the file ends inside the properties"},
    };
    for (const auto& c : cases) {
        BdfFont f;
        std::string error;
        EXPECT_FALSE(readBdf(bytesOf(c.text), f, error)) << c.message;
        EXPECT_NE(error.find(c.message), std::string::npos)
            << error << "\n  expected: " << c.message;
    }
}

TEST(Bdf, WrittenFontsReadBackWithTheirCodes) {
    const Charset set = formats::builtinSet(*formats::builtinSetNamed("cga"));
    for (auto [first, count] : {std::pair{0, 256}, {32, 96}}) {
        const Bytes file = formats::writeBdf(set, first, count, "cga");
        BdfFont f;
        std::string error;
        ASSERT_TRUE(readBdf(file, f, error)) << error;
        EXPECT_EQ(f.glyphs.glyphs.size(), static_cast<std::size_t>(count));
        EXPECT_EQ(rowsOf(f.laid.set, first, count), rowsOf(set, first, count));
        EXPECT_EQ(f.laid.present.count(), static_cast<std::size_t>(count));
        if (first + count < 256) {
            EXPECT_FALSE(f.laid.present.test(first + count));
        }
    }
    const std::string head = textOf(formats::writeBdf(set, 0, 1, "cga")).substr(0, 80);
    EXPECT_EQ(head.substr(0, head.find('\n', 20)),
              "STARTFONT 2.1\nFONT -misc-cga-medium-r-normal--8-80-75-75-c-80-fontspecific-0");
}

TEST(Bdf, AnIso10646FontCarriesUnicodeForMachineOrders) {
    const std::string head = Box88 + "STARTPROPERTIES 2\nCHARSET_REGISTRY \"ISO10646\"\n"
                                     "CHARSET_ENCODING \"1\"\nENDPROPERTIES\n";
    const std::string rows = "FF\n00\n00\n00\n00\n00\n00\n00\n";
    const std::string text = font(head, 3,
                                  glyphBlock("A", 65, "8 8 0 -1", rows) +
                                      glyphBlock("uni2500", 0x2500, "8 1 0 3", "FF\n") +
                                      glyphBlock("none", -1, "8 1 0 3", "FF\n"));
    BdfFont f;
    std::string error;
    ASSERT_TRUE(readBdf(bytesOf(text), f, error)) << error;
    EXPECT_TRUE(f.glyphs.hasUnicode);
    ASSERT_EQ(f.glyphs.glyphs.size(), 2u);
    EXPECT_EQ(f.glyphs.glyphs[1].code, -1);
    EXPECT_EQ(f.glyphs.glyphs[1].unicode, std::vector<char32_t>{0x2500});
    formats::LaidOutFont cga;
    ASSERT_TRUE(
        formats::layOutFont(f.glyphs, {{}, 0, 0, formats::machineOrderNamed("cga")}, cga, error));
    EXPECT_EQ(rowsOf(cga.set, 0xC4, 1), (Bytes{0, 0, 0, 0xFF, 0, 0, 0, 0}));
    EXPECT_EQ(rowsOf(cga.set, 65, 1), rowsOf(f.laid.set, 65, 1));
    EXPECT_EQ(f.laid.notes,
              std::vector<std::string>{"2 glyphs with no code from 0 to 255 left "
                                       "out (--order places glyphs by their Unicode)"});
}

} // namespace
} // namespace tessaly
