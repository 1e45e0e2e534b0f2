#include "formats/freetype_font.h"

#include "formats/gzip.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include <unistd.h>

namespace tessaly::formats {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(in)), {});
    Bytes unpacked;
    std::string error;
    if (isGzip(bytes) && gunzip(bytes, 1 << 26, unpacked, error)) return unpacked;
    return bytes;
}

// A BDF font as X's pcf2bdf writes it: the cell from FONT_ASCENT and FONT_DESCENT, the
// glyphs drawn in it by their bounding boxes, by encoding.
struct Bdf {
    int ascent = 0, descent = 0, width = 0;
    bool unicode = false;
    std::map<long, std::vector<std::uint8_t>> glyphs;
};

Bdf readBdf(const fs::path& path) {
    Bdf bdf;
    std::ifstream in(path);
    std::string line, word;
    long encoding = -1;
    int w = 0, h = 0, x = 0, y = 0, row = -1;
    std::vector<std::uint8_t> rows;
    while (std::getline(in, line)) {
        std::istringstream s(line);
        s >> word;
        if (word == "FONT_ASCENT")
            s >> bdf.ascent;
        else if (word == "FONT_DESCENT")
            s >> bdf.descent;
        else if (word == "CHARSET_REGISTRY")
            bdf.unicode = line.find("ISO10646") != std::string::npos;
        else if (word == "ENCODING")
            s >> encoding;
        else if (word == "DWIDTH")
            s >> w, bdf.width = std::max(bdf.width, w);
        else if (word == "BBX") {
            s >> w >> h >> x >> y;
            rows.assign(static_cast<std::size_t>(bdf.ascent + bdf.descent), 0);
            row = bdf.ascent - (y + h); // the cell row of the box's top
        } else if (word == "ENDCHAR") {
            if (encoding >= 0) bdf.glyphs[encoding] = rows;
            row = -1;
        } else if (row >= 0 && word != "BITMAP") {
            const unsigned long bits = std::stoul(word, nullptr, 16) << (32 - 4 * word.size());
            for (int c = 0; c < w; ++c)
                if (bits >> (31 - c) & 1 && x + c >= 0 && x + c < 8 && row >= 0 &&
                    row < static_cast<int>(rows.size()))
                    rows[row] |= static_cast<std::uint8_t>(0x80 >> (x + c));
            ++row;
        }
    }
    return bdf;
}

struct TempDir {
    const fs::path dir = fs::temp_directory_path() / ("tessaly-ft-" + std::to_string(::getpid()));
    TempDir() { fs::create_directories(dir); }
    ~TempDir() { fs::remove_all(dir); }
};

bool run(const std::string& command) {
    return std::system((command + " 2>/dev/null").c_str()) == 0;
}

TEST(FreeTypeFont, ReadsXFontsPixelForPixelAsPcf2bdfShowsThem) {
    struct Case {
        const char* font; // as FreeType reads it
        int size;
        const char* pcf; // the same design as PCF, which pcf2bdf turns into BDF
        const char* format;
        std::set<long> unlike; // characters missing or drawn otherwise
    };
    const std::string misc = "/usr/share/fonts/X11/misc/";
    const Case cases[] = {
        {"5x8.pcf.gz", 8, "5x8.pcf.gz", "PCF (bitmaps, 8 px)", {}},
        {"6x10.pcf.gz", 10, "6x10.pcf.gz", "PCF (bitmaps, 10 px)", {}},
        {"5x7-KOI8-R.pcf.gz", 7, "5x7-KOI8-R.pcf.gz", "PCF (bitmaps, 7 px)", {}},
        {"spleen-5x8.pcf.gz", 8, "spleen-5x8.pcf.gz", "PCF (bitmaps, 8 px)", {}},
        // X's fonttosfnt makes an OTB of the PCF, its glyph of U+0000 the .notdef glyph
        // that no code reaches.
        {"6x13.otb", 13, "6x13.pcf.gz", "OTB (bitmaps, 13 px)", {0}},
        // The spleen design as outlines, rendered at its own size; the OTF has its '_' on
        // the baseline, the PCF one row below.
        {"/usr/share/fonts/opentype/spleen/spleen-6x12.otf",
         12,
         "spleen-6x12.pcf.gz",
         "OpenType (outlines at 12 px)",
         {'_'}},
    };
    TempDir temp;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.font);
        const fs::path pcf = misc + c.pcf;
        fs::path font = fs::path(c.font).is_absolute() ? fs::path(c.font) : fs::path(misc + c.font);
        if (!fs::exists(pcf)) GTEST_SKIP() << pcf << " absent";
        const fs::path unpacked = temp.dir / "font.pcf", bdfPath = temp.dir / "font.bdf";
        const Bytes pcfBytes = fileBytes(pcf);
        std::ofstream(unpacked, std::ios::binary)
            .write(reinterpret_cast<const char*>(pcfBytes.data()),
                   std::streamsize(pcfBytes.size()));
        ASSERT_TRUE(run("pcf2bdf -o '" + bdfPath.string() + "' '" + unpacked.string() + "'"));
        if (font.extension() == ".otb") {
            font = temp.dir / "font.otb";
            ASSERT_TRUE(run("fonttosfnt -o '" + font.string() + "' '" + unpacked.string() + "'"));
        }
        if (!fs::exists(font)) GTEST_SKIP() << font << " absent";
        const Bdf bdf = readBdf(bdfPath);
        ASSERT_GT(bdf.glyphs.size(), 100u);

        FontGlyphs read;
        std::string error;
        ASSERT_TRUE(readFreeTypeFont(fileBytes(font), c.size, read, error)) << error;
        EXPECT_EQ(read.format, c.format);
        EXPECT_EQ(read.height, bdf.ascent + bdf.descent);
        EXPECT_EQ(read.descent, bdf.descent);
        EXPECT_EQ(read.width, bdf.width);
        EXPECT_TRUE(read.hasCodes);
        EXPECT_EQ(read.hasUnicode, bdf.unicode);
        EXPECT_EQ(read.droppedGlyphs + read.wideGlyphs, 0);
        // Every character once, with the BDF's pixels; its code when below 256.
        std::map<long, const FontGlyph*> byCharacter;
        for (const FontGlyph& g : read.glyphs) {
            if (bdf.unicode) {
                for (char32_t u : g.unicode)
                    EXPECT_TRUE(byCharacter.emplace(u, &g).second) << static_cast<long>(u);
                if (g.code >= 0) {
                    EXPECT_EQ(g.unicode.front(), static_cast<char32_t>(g.code));
                }
            } else {
                EXPECT_TRUE(g.unicode.empty());
                EXPECT_TRUE(byCharacter.emplace(g.code, &g).second) << g.code;
            }
        }
        std::set<long> unlike;
        for (const auto& [encoding, rows] : bdf.glyphs) {
            const auto it = byCharacter.find(encoding);
            if (it == byCharacter.end() || it->second->rows != rows) unlike.insert(encoding);
        }
        EXPECT_EQ(unlike, c.unlike);
        EXPECT_EQ(byCharacter.size() + c.unlike.count(0), bdf.glyphs.size());
    }
}

// Glyph k of the pictures, as row bytes.
std::vector<std::uint8_t> picture(const std::vector<const char*>& rows, std::size_t k) {
    std::vector<std::uint8_t> bytes;
    for (const char* row : rows) {
        int byte = 0;
        for (std::size_t x = 0; x < 8; ++x)
            byte = byte << 1 | (row[9 * k + x] == 'X');
        bytes.push_back(static_cast<std::uint8_t>(byte));
    }
    return bytes;
}

TEST(FreeTypeFont, DrawsMisakisTrueTypeBitmapsAndRefusesWhatDoesNotFit) {
    const fs::path misaki = "/usr/share/fonts/truetype/misaki/misaki_gothic.ttf";
    if (!fs::exists(misaki)) GTEST_SKIP() << misaki << " absent";
    FontGlyphs font;
    std::string error;
    ASSERT_TRUE(readFreeTypeFont(fileBytes(misaki), 8, font, error)) << error;
    EXPECT_EQ(font.format, "TrueType (bitmaps, 8 px)");
    EXPECT_EQ(font.width, 8);
    EXPECT_EQ(font.height, 8);
    EXPECT_EQ(font.descent, 2);
    // The half-width 'A' and 'g' (by the baseline, 'g' goes below it), the kana A and the
    // full block, as Misaki draws them.
    const char32_t shown[] = {U'A', U'g', U'あ', U'█'};
    const std::vector<const char*> rows = {
        ".X...... ........ ..X..... XXXXXXXX", "X.X..... ........ .XXXXX.. XXXXXXXX",
        "X.X..... .XX..... ..X..... XXXXXXXX", "XXX..... X.X..... ..XXXX.. XXXXXXXX",
        "X.X..... .XX..... .XX.X.X. XXXXXXXX", "X.X..... ..X..... X.XX..X. XXXXXXXX",
        "........ XX...... .XX..X.. XXXXXXXX", "........ ........ ........ XXXXXXXX",
    };
    for (std::size_t k = 0; k < std::size(shown); ++k) {
        const auto it =
            std::find_if(font.glyphs.begin(), font.glyphs.end(), [&](const FontGlyph& g) {
                return std::find(g.unicode.begin(), g.unicode.end(), shown[k]) != g.unicode.end();
            });
        ASSERT_NE(it, font.glyphs.end()) << k;
        EXPECT_EQ(it->rows, picture(rows, k)) << "glyph " << k;
        EXPECT_EQ(it->code, shown[k] < 256 ? static_cast<int>(shown[k]) : -1);
    }

    // A proportional font keeps its ASCII and leaves out the few signs wider than 8.
    const fs::path dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    ASSERT_TRUE(readFreeTypeFont(fileBytes(dejavu), 8, font, error)) << error;
    EXPECT_GT(font.wideGlyphs, 0);
    EXPECT_EQ(font.width, 8);
    EXPECT_EQ(std::count_if(font.glyphs.begin(), font.glyphs.end(),
                            [](const FontGlyph& g) { return g.code >= 0x20 && g.code < 0x7F; }),
              0x5F);

    struct Refused {
        Bytes bytes;
        int size;
        std::string message;
    };
    const std::string misc = "/usr/share/fonts/X11/misc/";
    const Refused refused[] = {
        {fileBytes(misc + "10x20.pcf.gz"), 20,
         "U+0021 '!' is 10 pixels wide at 20 pixels; a cell holds at most 8"},
        {fileBytes(misc + "6x10.pcf.gz"), 8,
         "no bitmap strike of 8 pixels and no outlines; strikes: 10"},
        {fileBytes(dejavu), 20,
         "pixels wide at 20 pixels; a cell holds at most 8 (a smaller size may fit)"},
        {Bytes(100, 0x41), 8, "not a font FreeType reads"},
        {{}, 8, "not a font FreeType reads"},
        {fileBytes(dejavu), 0, "a size of 0 pixels is out of range (1 to 128)"},
    };
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.message);
        EXPECT_FALSE(readFreeTypeFont(r.bytes, r.size, font, error));
        EXPECT_NE(error.find(r.message), std::string::npos) << error;
        EXPECT_TRUE(font.glyphs.empty());
    }
}

} // namespace
} // namespace tessaly::formats
