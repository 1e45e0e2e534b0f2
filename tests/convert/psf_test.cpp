#include "formats/fonts/psf.h"

#include "convert_test_support.h"

namespace tessaly {
namespace {

using formats::FontGlyphs;

// The glyphs' rows one after another.
Bytes rowsOf(const FontGlyphs& font, std::size_t count) {
    Bytes rows;
    for (std::size_t i = 0; i < count && i < font.glyphs.size(); ++i)
        rows.insert(rows.end(), font.glyphs[i].rows.begin(), font.glyphs[i].rows.end());
    return rows;
}

Bytes psf1(int mode, int height, int glyphs, int tableBytes = 0) {
    Bytes b = {0x36, 0x04, static_cast<std::uint8_t>(mode), static_cast<std::uint8_t>(height)};
    for (int i = 0; i < glyphs * height + tableBytes; ++i)
        b.push_back(static_cast<std::uint8_t>(i * 3));
    return b;
}

struct Psf2 {
    std::uint32_t version = 0, header = 32, flags = 0, length = 256, charSize = 8, height = 8,
                  width = 8;
    std::uint32_t glyphBytes = 256 * 8; // data after the header
};

Bytes psf2(const Psf2& h) {
    Bytes b = {0x72, 0xB5, 0x4A, 0x86};
    for (std::uint32_t v : {h.version, h.header, h.flags, h.length, h.charSize, h.height, h.width})
        putU32(b, v);
    b.resize(std::clamp<std::uint32_t>(h.header, 32, 64), 0xEE); // a huge size stays a claim
    for (std::uint32_t i = 0; i < h.glyphBytes; ++i)
        b.push_back(static_cast<std::uint8_t>(i * 7));
    return b;
}

TEST(Psf, BothVersionsGiveTheirFirst256GlyphsWhateverFollows) {
    const struct {
        const char* what;
        Bytes file;
        std::size_t glyphStart;
        int version, glyphCount;
    } fonts[] = {
        {"PSF 1, 256 glyphs", psf1(0, 8, 256), 4, 1, 256},
        {"PSF 1, 512 glyphs and a Unicode table", psf1(0x03, 8, 512, 700), 4, 1, 512},
        {"PSF 2, a longer header and a table",
         psf2({.header = 40, .flags = 1, .length = 300, .glyphBytes = 300 * 8 + 50}), 40, 2, 300},
        {"PSF 2, 10 glyphs", psf2({.length = 10, .glyphBytes = 80}), 32, 2, 10},
    };
    for (const auto& f : fonts) {
        SCOPED_TRACE(f.what);
        FontGlyphs font;
        std::string error;
        ASSERT_TRUE(formats::readPsf(f.file, font, error)) << error;
        EXPECT_EQ(font.format, f.version == 1 ? "PSF 1" : "PSF 2");
        EXPECT_EQ(font.glyphs.size(), static_cast<std::size_t>(f.glyphCount));
        const std::size_t kept = std::min(f.glyphCount, 256) * 8u;
        EXPECT_EQ(rowsOf(font, 256),
                  Bytes(f.file.begin() + f.glyphStart, f.file.begin() + f.glyphStart + kept));
    }
}

TEST(Psf, MalformedFontsNameWhatIsWrongAndWhere) {
    const Bytes cut = psf2({.length = 256, .glyphBytes = 256 * 8 - 1});
    const Bytes whole = psf2({});
    const struct {
        Bytes file;
        const char* message;
    } cases[] = {
        {{}, "not a PSF font: it starts with nothing"},
        {bytesOf("GIF89a"), "not a PSF font: it starts with 47 49 46 38"},
        {{0x36, 0x04, 0x00}, "PSF 1 header is cut short: 3 of 4 bytes"},
        {psf1(0x01, 8, 300), "the glyphs end at byte 4100 (mode byte 2: 512 glyphs of 8 bytes from "
                             "byte 4), but the file ends at byte 2404"},
        {Bytes(whole.begin(), whole.begin() + 31), "PSF 2 header is cut short: 31 of 32 bytes"},
        {psf2({.version = 1}), "unknown PSF 2 version 1 at byte 4"},
        {psf2({.header = 16}), "the header size at byte 8 is 16, less than the 32 bytes"},
        {psf2({.charSize = 32, .height = 16, .width = 9}),
         "the glyphs are 9x16 pixels; only glyphs up to 8 pixels wide can be read (height at "
         "byte 24, width at byte 28)"},
        {psf2({.charSize = 16}),
         "the glyph size at byte 20 is 16 bytes; glyphs of 8x8 pixels take 8"},
        {psf2({.height = 0}), "the glyphs are 8x0 pixels (height at byte 24, width at byte 28)"},
        {psf2({.length = 0, .glyphBytes = 0}),
         "the font holds no glyph (glyph count 0 at byte 16)"},
        {cut, "the glyphs end at byte 2080 (glyph count at byte 16: 256 glyphs of 8 bytes from "
              "byte 32), but the file ends at byte 2079"},
        {psf2({.length = 0xFFFFFFFF}),
         "the glyphs end at byte 34359738392 (glyph count at byte 16: 4294967295 glyphs"},
        {psf2({.header = 0xFFFFFFF0, .glyphBytes = 0}), "the glyphs end at byte 4294969328"},
    };
    for (const auto& c : cases) {
        FontGlyphs font;
        std::string error;
        EXPECT_FALSE(formats::readPsf(c.file, font, error)) << c.message;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

TEST(Psf, WrittenFontsArePsf2OfTheChosenGlyphsAndReadBack) {
    const Charset set = distinctSet();
    for (auto [first, count] : {std::pair{0, 256}, {32, 96}, {255, 1}}) {
        const Bytes file = formats::writePsf(set, first, count);
        Bytes header = {0x72, 0xB5, 0x4A, 0x86};
        for (std::uint32_t v : {0u, 32u, 0u, static_cast<std::uint32_t>(count), 8u, 8u, 8u})
            putU32(header, v);
        EXPECT_EQ(Bytes(file.begin(), file.begin() + 32), header);
        FontGlyphs font;
        std::string error;
        ASSERT_TRUE(formats::readPsf(file, font, error)) << error;
        EXPECT_EQ(rowsOf(font, 256), rowsOf(set, first, count));
    }
}

TEST(Psf, UnicodeTablesGiveEachGlyphItsSingleCharacters) {
    // Glyph 0: 'A' and U+0410; glyph 1: a sequence only; glyph 2: U+2500 after a sequence.
    Bytes v1 = psf1(0x02, 8, 256);
    for (std::uint16_t v :
         {0x41, 0x410, 0xFFFF, 0xFFFE, 0x41, 0x301, 0xFFFF, 0x2500, 0xFFFE, 0x45, 0x301, 0xFFFF}) {
        v1.push_back(static_cast<std::uint8_t>(v));
        v1.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    Bytes v2 = psf2({.flags = 1});
    for (std::uint8_t b : {0x41, 0xD0, 0x90, 0xFF, 0xFE, 0x41, 0xCC, 0x81, 0xFF, 0xE2, 0x94, 0x80,
                           0xFE, 0x45, 0xCC, 0x81, 0xFF})
        v2.push_back(b);
    Charset set = distinctSet();
    std::array<char32_t, GlyphCount> unicode{};
    unicode[0] = U'A';
    unicode[2] = 0x1FB82; // beyond the first plane, four bytes of UTF-8
    const Bytes written = formats::writePsf(set, 0, 256, &unicode);
    const struct {
        const char* what;
        Bytes file;
        std::vector<char32_t> glyph0, glyph1, glyph2;
    } fonts[] = {
        {"PSF 1", v1, {0x41, 0x410}, {}, {0x2500}},
        {"PSF 2", v2, {0x41, 0x410}, {}, {0x2500}},
        {"PSF 2 written", written, {0x41}, {}, {0x1FB82}},
    };
    for (const auto& f : fonts) {
        SCOPED_TRACE(f.what);
        FontGlyphs font;
        std::string error;
        ASSERT_TRUE(formats::readPsf(f.file, font, error)) << error;
        EXPECT_TRUE(font.hasUnicode);
        EXPECT_EQ(font.glyphs[0].unicode, f.glyph0);
        EXPECT_EQ(font.glyphs[1].unicode, f.glyph1);
        EXPECT_EQ(font.glyphs[2].unicode, f.glyph2);
        EXPECT_TRUE(font.glyphs[3].unicode.empty());
    }
}

} // namespace
} // namespace tessaly
