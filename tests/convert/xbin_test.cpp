#include "convert/conversion.h"
#include "formats/machines/xbin.h"

#include "convert_test_support.h"

#include <cstdlib>

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
        {xbinHead(1, 1, 16, 0x01), false, "no font of its own"},
        {xbinHead(1, 1, 16, 0x02), false, "glyphs of 16 rows; only fonts of 8"},
        {xbinHead(1, 1, 8, 0x12), false, "holds 512 glyphs"},
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

TEST(XBin, TheConverterReadsTheMapOfTheSizeNamedAndNotesTheColours) {
    using namespace convert;
    const Bytes file = writeXBin({3, 1, bytesOf("abc")}, distinctSet(), 0, 0);
    const auto run = [&](const std::vector<std::string>& args) {
        const ParsedArguments parsed = parseArguments(args);
        Job job;
        std::string error;
        EXPECT_TRUE(parsed.error.empty() && planJob(parsed.options, job, error)) << error;
        return convertBytes(job, InputBytes{file, false}, nullptr);
    };
    const Outcome o = run({"--map", "3x1", "in.xb", "out.map"});
    EXPECT_EQ(o.output, bytesOf("abc"));
    EXPECT_EQ(o.notes.size(), 1u);
    EXPECT_EQ(run({"--map", "3x2", "in.xb", "out.map"}).error,
              "the map is 3x1 cells: give --map 3x1");
    EXPECT_NE(
        run({"in.xb", "out.fnt"}).notes.at(0).find("colours (palette and attributes) are not read"),
        std::string::npos);
}

} // namespace
} // namespace tessaly
