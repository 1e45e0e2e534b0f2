#include "convert/conversion.h"
#include "formats/machines/xbin.h"

#include "convert_test_support.h"

#include <cstdlib>
#include <optional>
#include <set>

namespace tessaly {
namespace {

using namespace formats;

// A header of a w x h XBin with `rows` a glyph and `flags`, and a font when flag 0x02 says.
Bytes xbinHead(int w, int h, int rows, std::uint8_t flags) {
    Bytes b = bytesOf("XBIN\x1A");
    for (int v : {w, 0, h, 0, rows, int{flags}})
        b.push_back(static_cast<std::uint8_t>(v));
    if (flags & 0x02) b.resize(b.size() + 256u * static_cast<unsigned>(rows), 0x81);
    return b;
}

Bytes with(Bytes b, const Bytes& more) {
    b.insert(b.end(), more.begin(), more.end());
    return b;
}

Bytes withoutLast(Bytes b) {
    b.pop_back();
    return b;
}

TEST(XBin, PackedRunsOfEveryKindUnpackAcrossRows) {
    // 3 x 2: a pair, one character twice (into row 2), one attribute, one cell repeated.
    const Bytes packed = with(xbinHead(3, 2, 8, 0x06),
                              {0x00, 'a', 7, 0x41, 'b', 1, 2, 0x81, 9, 'c', 'd', 0xC0, 'e', 3});
    XBinContent x;
    std::string error;
    ASSERT_TRUE(readXBin(packed, true, x, error)) << error;
    EXPECT_EQ(x.map.codes, bytesOf("abbcde"));
    EXPECT_EQ(x.font.bytes[0], 0x81);
}

TEST(XBin, ThePaletteHoldsInkAndPaperAtTheNearestChannelsShown) {
    const Bytes written = writeXBin({1, 1, {0}}, distinctSet(), rgb(255, 85, 3), rgb(0, 0, 170));
    EXPECT_EQ(Bytes(written.begin() + 11, written.begin() + 14), (Bytes{0, 0, 42}));
    EXPECT_EQ(Bytes(written.begin() + 56, written.begin() + 59), (Bytes{63, 21, 1}));
    for (int v = 0; v < 256; ++v) {
        const auto shown = [](int six) { return six * 4 + six / 16; };
        for (int other = 0; other < 64; ++other)
            EXPECT_LE(std::abs(shown(sixBitChannel(v)) - v), std::abs(shown(other) - v)) << v;
    }
}

TEST(XBin, RefusedFilesSayWhy) {
    const struct {
        Bytes bytes;
        bool map;
        const char* error;
    } cases[] = {
        {bytesOf("XBIM\x1A"), false, "not an XBin"},
        {bytesOf("XBIN\x1A\x01"), false, "the XBin header is cut short: the file has 6"},
        {xbinHead(1, 1, 0, 0x02), false, "glyphs of 0 rows; XBin fonts have 1 to 32"},
        {xbinHead(1, 1, 8, 0x12), false, "the font ends at byte 4107"},
        {withoutLast(xbinHead(1, 1, 8, 0x03)), false,
         "the font ends at byte 2107, but the file ends at byte 2058"},
        {with(xbinHead(2, 1, 8, 0x02), {'a', 7, 'b'}), true, "the cells end at byte 2063"},
        {xbinHead(0, 5, 8, 0x02), true, "holds no cells (0 x 5)"},
        {with(xbinHead(2, 1, 8, 0x06), {0xC2, 'a', 7}), true, "the run of 3 cells at byte 2059"},
        {with(xbinHead(2, 1, 8, 0x06), {0x41, 'a', 7}), true, "the run ends at byte 2063"},
        {with(xbinHead(2, 1, 8, 0x06), {0xC0, 'a', 7}), true,
         "stop at byte 2062 after 1 of 2 cells"},
    };
    for (const auto& c : cases) {
        XBinContent x;
        std::string error;
        EXPECT_FALSE(readXBin(c.bytes, c.map, x, error)) << c.error;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

// The map is read at the size the file gives, its font taken by --font-out in the same run
// (of more rows with --rows) and drawn with when --font names the file itself, or noted when
// it is not there or not taken; the file is read once, and each note said once.
TEST(XBin, TheConverterReadsTheMapAtItsSizeWithItsFontOrANote) {
    using namespace convert;
    const Bytes cells = {'a', 7, 'b', 7, 'c', 7};
    const Bytes eight = writeXBin({3, 1, bytesOf("abc")}, distinctSet(), 0, 0);
    Bytes sixteen = with(xbinHead(3, 1, 16, 0x02), cells);
    sixteen[11 + 65 * 16 + 4] = 0x3C; // row 4 of 'A'
    const Bytes none = with(xbinHead(3, 1, 16, 0x00), cells);
    const struct {
        Bytes file;
        std::vector<std::string> args;
        const char* error; // or the last note
        std::optional<Bytes> fontOut = std::nullopt;
    } cases[] = {
        {eight, {"in.xb", "out.map"}, "colours (palette and attributes) are not read"},
        {eight,
         {"--map", "3x2", "in.xb", "out.map"},
         "the map is 3x1 cells: give --map 3x1, or no --map"},
        {eight, {"in.xb", "out.fnt"}, "colours (palette and attributes) are not read"},
        {eight,
         {"--font-out", "f.fnt", "in.xb", "out.map"},
         "colours",
         rowsOf(distinctSet(), 0, 256)},
        {eight,
         {"--font", "in.xb", "--font-out", "f.fnt", "in.xb", "out.xb"},
         "colours",
         rowsOf(distinctSet(), 0, 256)},
        {sixteen,
         {"in.xb", "out.map"},
         "in.xb: its font of 16 rows a glyph is not taken: `tessaly-convert --rows 4 --font-out "
         "in.fnt in.xb out.map` takes 8 of them, from row 4"},
        {sixteen,
         {"--font", "builtin:cga", "in.xb", "out.xb"},
         "in.xb: its font of 16 rows a glyph is not taken: `tessaly-convert --rows 4 in.xb in.fnt` "
         "takes 8 of them, from row 4"},
        {sixteen,
         {"--rows", "4", "--font-out", "f.fnt", "in.xb", "out.map"},
         "ink outside rows 4-11, cut off",
         [] {
             Bytes rows(2048, 0x81);
             rows[65 * 8] = 0x3C;
             return rows;
         }()},
        {none,
         {"in.xb", "out.map"},
         "in.xb: the XBin has no font of its own (viewers draw it in their default font): only its "
         "map is read"},
        {none, {"in.xb", "out.fnt"}, "the XBin has no font of its own"},
    };
    for (const auto& c : cases) {
        const ParsedArguments parsed = parseArguments(c.args);
        Job job;
        std::string error;
        ASSERT_TRUE(parsed.error.empty() && planJob(parsed.options, job, error)) << error;
        const Outcome o = convertBytes(job, InputBytes{c.file, false}, nullptr);
        const std::string said = o.exitCode ? o.error : o.notes.back();
        EXPECT_NE(said.find(c.error), std::string::npos) << said;
        EXPECT_EQ(std::set<std::string>(o.notes.begin(), o.notes.end()).size(), o.notes.size());
        XBinContent written; // an XBin written: the map in its cells
        if (o.exitCode == 0 && job.mode == Mode::Map) {
            EXPECT_EQ(job.output.format->readMap && readXBin(o.output, true, written, error)
                          ? written.map.codes
                          : o.output,
                      bytesOf("abc"));
        }
        if (c.fontOut) {
            EXPECT_EQ(o.fontOutput, *c.fontOut);
        }
    }
}

} // namespace
} // namespace tessaly
