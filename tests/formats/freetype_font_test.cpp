#include "formats/fonts/freetype_font.h"

#include "formats/fonts/gzip.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include <unistd.h>

namespace tessaly::formats {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
const std::string Misc = "/usr/share/fonts/X11/misc/";

Bytes fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(in)), {}), unpacked;
    std::string error;
    return isGzip(bytes) && gunzip(bytes, 1 << 26, unpacked, error) ? unpacked : bytes;
}

// A BDF font as X's pcf2bdf writes it: the cell from FONT_ASCENT and FONT_DESCENT, each
// glyph drawn in it by its bounding box, by encoding.
struct Bdf {
    int ascent = 0, descent = 0, width = 0;
    bool unicode = false;
    std::map<long, std::vector<std::uint8_t>> glyphs;
};

[[maybe_unused]] Bdf readBdf(const fs::path& path) {
    Bdf bdf;
    std::ifstream in(path);
    std::string line, word;
    long encoding = -1;
    const int Outside = -1000; // the row while not in a bitmap
    int w = 0, h = 0, x = 0, y = 0, row = Outside;
    std::vector<std::uint8_t> rows;
    while (std::getline(in, line)) {
        std::istringstream s(line);
        s >> word;
        if (word == "FONT_ASCENT") s >> bdf.ascent;
        if (word == "FONT_DESCENT") s >> bdf.descent;
        if (word == "CHARSET_REGISTRY") bdf.unicode = line.find("ISO10646") != std::string::npos;
        if (word == "ENCODING") s >> encoding;
        if (word == "DWIDTH") s >> w, bdf.width = std::max(bdf.width, w);
        if (word == "BBX") {
            s >> w >> h >> x >> y;
            rows.assign(static_cast<std::size_t>(bdf.ascent + bdf.descent), 0);
        } else if (word == "BITMAP") {
            row = bdf.ascent - (y + h); // the cell row of the box's top
        } else if (word == "ENDCHAR") {
            if (encoding >= 0) bdf.glyphs[encoding] = rows;
            row = Outside;
        } else if (row != Outside && row++ >= 0 && row <= static_cast<int>(rows.size())) {
            const unsigned long bits = std::stoul(word, nullptr, 16) << (32 - 4 * word.size());
            for (int c = std::max(0, -x); c < w && x + c < 8; ++c)
                if (bits >> (31 - c) & 1)
                    rows[row - 1] |= static_cast<std::uint8_t>(0x80 >> (x + c));
        }
    }
    return bdf;
}

TEST(FreeTypeFont, ReadsXFontsPixelForPixelAsPcf2bdfShowsThem) {
#ifdef _WIN32
    GTEST_SKIP() << "needs fonttosfnt and pcf2bdf, which are Linux programs";
#else
    struct Case {
        std::string pcf; // the design as PCF, which pcf2bdf turns into BDF
        int size;
        std::string font; // what FreeType reads, if not the PCF
        std::string format;
        std::set<long> unlike; // characters missing or drawn otherwise
    };
    const std::string otb = fs::temp_directory_path() / ("tessaly-" + std::to_string(::getpid()));
    const Case cases[] = {
        {"5x8.pcf.gz", 8, "", "PCF (bitmaps, 8 px)", {}},
        {"6x10.pcf.gz", 0, "", "PCF (bitmaps, 10 px)", {}}, // 0: its only size
        {"5x7-KOI8-R.pcf.gz", 7, "", "PCF (bitmaps, 7 px)", {}},
        {"spleen-5x8.pcf.gz", 8, "", "PCF (bitmaps, 8 px)", {}},
        // X's fonttosfnt makes an OTB of the PCF, its glyph of U+0000 the .notdef glyph
        // that no code reaches.
        {"6x13.pcf.gz", 13, otb + ".otb", "OTB (bitmaps, 13 px)", {0}},
        // The spleen design as outlines, rendered at its own size; the OTF has its '_' on
        // the baseline, the PCF one row below.
        {"spleen-6x12.pcf.gz",
         12,
         "/usr/share/fonts/opentype/spleen/spleen-6x12.otf",
         "OpenType (outlines at 12 px)",
         {'_'}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pcf);
        const std::string pcf = Misc + c.pcf, font = c.font.empty() ? pcf : c.font;
        ASSERT_TRUE(font != otb + ".otb" ||
                    std::system(("fonttosfnt -o " + font + " " + pcf).c_str()) == 0);
        if (!fs::exists(pcf) || !fs::exists(font)) GTEST_SKIP() << font << " absent";
        ASSERT_EQ(std::system(("pcf2bdf -o " + otb + ".bdf " + pcf).c_str()), 0);
        const Bdf bdf = readBdf(otb + ".bdf");
        ASSERT_GT(bdf.glyphs.size(), 100u);

        FontGlyphs read;
        std::string error;
        ASSERT_TRUE(readFreeTypeFont(fileBytes(font), c.size, read, error)) << error;
        EXPECT_EQ(read.format, c.format);
        // The cell, codes, Unicode when the BDF is ISO10646, nothing left out.
        EXPECT_EQ(std::vector({read.width, read.height, read.descent, int(read.hasCodes),
                               int(read.hasUnicode), read.droppedGlyphs + read.wideGlyphs}),
                  std::vector(
                      {bdf.width, bdf.ascent + bdf.descent, bdf.descent, 1, int(bdf.unicode), 0}));
        // Every character once, with the BDF's pixels; its code when below 256.
        std::map<long, const FontGlyph*> byCharacter;
        for (const FontGlyph& g : read.glyphs) {
            EXPECT_EQ(g.unicode.empty(), !bdf.unicode);
            EXPECT_TRUE(g.code < 0 || !bdf.unicode || g.unicode.front() == char32_t(g.code));
            for (long u : bdf.unicode ? std::vector<long>(g.unicode.begin(), g.unicode.end())
                                      : std::vector<long>{g.code})
                EXPECT_TRUE(byCharacter.emplace(u, &g).second) << u;
        }
        std::set<long> unlike;
        for (const auto& [encoding, rows] : bdf.glyphs)
            if (!byCharacter.count(encoding) || byCharacter[encoding]->rows != rows)
                unlike.insert(encoding);
        EXPECT_EQ(unlike, c.unlike);
        EXPECT_EQ(byCharacter.size() + c.unlike.count(0), bdf.glyphs.size());
    }
    fs::remove(otb + ".otb"), fs::remove(otb + ".bdf");
#endif
}

TEST(FreeTypeFont, DrawsMisakisPixelsLeavesOutWideSignsAndRefusesWhatDoesNotFit) {
    const fs::path misaki = "/usr/share/fonts/truetype/misaki/misaki_gothic.ttf";
    if (!fs::exists(misaki)) GTEST_SKIP() << misaki << " absent";
    FontGlyphs font;
    std::string error;
    ASSERT_TRUE(readFreeTypeFont(fileBytes(misaki), 8, font, error)) << error;
    EXPECT_EQ(font.format, "TrueType (bitmaps, 8 px)");
    EXPECT_EQ(std::vector({font.width, font.height, font.descent}), std::vector({8, 8, 2}));
    // The half-width 'g' (by the baseline, it goes below) and the kana A as Misaki draws
    // them, side by side; the full block fills the cell.
    const std::u32string shown = U"gあ";
    const char* rows[] = {"........ ..X.....", "........ .XXXXX..", ".XX..... ..X.....",
                          "X.X..... ..XXXX..", ".XX..... .XX.X.X.", "..X..... X.XX..X.",
                          "XX...... .XX..X..", "........ ........"};
    for (const FontGlyph& g : font.glyphs) {
        const std::size_t k = g.unicode.empty() ? 0 : shown.find(g.unicode[0]);
        if (g.unicode.empty() || (k == std::u32string::npos && g.unicode[0] != U'█')) continue;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(bool(g.rows[y] & 0x80 >> x),
                          k == shown.npos || rows[y][9 * k + x] == 'X');
        EXPECT_EQ(g.code, g.unicode[0] < 256 ? int(g.unicode[0]) : -1);
    }

    // A proportional font keeps its ASCII and leaves out the few signs wider than 8.
    const std::string dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    ASSERT_TRUE(readFreeTypeFont(fileBytes(dejavu), 8, font, error)) << error;
    EXPECT_GT(font.wideGlyphs, 0);
    EXPECT_EQ(font.width, 8);
    EXPECT_EQ(std::count_if(font.glyphs.begin(), font.glyphs.end(),
                            [](const FontGlyph& g) { return g.code >= 0x20 && g.code < 0x7F; }),
              0x5F);

    const std::tuple<Bytes, int, std::string> refused[] = {
        {fileBytes(Misc + "10x20.pcf.gz"), 20,
         "U+0021 '!' is 10 pixels wide at 20 pixels; a cell holds at most 8"},
        {fileBytes(Misc + "6x10.pcf.gz"), 8,
         "no bitmap strike of 8 pixels and no outlines; strikes: 10"},
        {fileBytes(dejavu), 20,
         " pixels wide at 20 pixels; a cell holds at most 8 (a smaller size may fit)"},
        {Bytes(100, 0x41), 8, "not a font FreeType reads"},
    };
    for (const auto& [bytes, size, message] : refused) {
        EXPECT_FALSE(readFreeTypeFont(bytes, size, font, error));
        EXPECT_NE(error.find(message), std::string::npos) << error;
        EXPECT_TRUE(font.glyphs.empty());
    }
}

} // namespace
} // namespace tessaly::formats
