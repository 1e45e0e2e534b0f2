// The FreeType reader (behind gzip when the bytes are packed, as a .pcf.gz comes), read
// and described: a font it takes has a cell of 1..8 columns, glyphs of the cell's rows
// with no pixel beyond its columns, codes within a byte, and a format name; a font it
// refuses gets one line.

#include "formats/fonts/freetype_font.h"
#include "formats/fonts/gzip.h"

#include "fuzz_check.h"

#include <algorithm>

using namespace tessaly::formats;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> bytes(data, size);
    std::vector<std::uint8_t> unpacked;
    std::string error;
    if (isGzip(bytes)) {
        if (!gunzip(bytes, 1 << 20, unpacked, error)) return 0;
        bytes = unpacked;
    }
    // Described (--info), a font is read whatever its sizes and widths, or refused with
    // one line; its glyphs fit 8 columns and the cell's rows.
    FontGlyphs described;
    if (readFreeTypeFont(bytes, 8, described, error, true)) {
        FUZZ_CHECK(described.height >= 1 && described.height <= 128 && described.width >= 1);
        FUZZ_CHECK(described.glyphs.empty() == (described.width > 8));
        for (const FontGlyph& glyph : described.glyphs)
            FUZZ_CHECK(glyph.rows.size() == static_cast<std::size_t>(described.height));
        FUZZ_CHECK(oneLine(described.refusal) || described.refusal.empty());
    } else {
        FUZZ_CHECK(oneLine(error) && described.glyphs.empty());
    }
    FontGlyphs font;
    if (!readFreeTypeFont(bytes, 8, font, error)) {
        FUZZ_CHECK(oneLine(error));
        return 0;
    }
    FUZZ_CHECK(!font.format.empty());
    FUZZ_CHECK(font.width >= 1 && font.width <= 8);
    FUZZ_CHECK(font.height >= 1 && font.height <= 128);
    FUZZ_CHECK(font.descent >= 0 && font.descent <= font.height);
    FUZZ_CHECK(!font.glyphs.empty());
    const auto outside = static_cast<std::uint8_t>(0xFF >> font.width);
    bool anyUnicode = false;
    for (const FontGlyph& glyph : font.glyphs) {
        FUZZ_CHECK(glyph.rows.size() == static_cast<std::size_t>(font.height));
        FUZZ_CHECK(std::none_of(glyph.rows.begin(), glyph.rows.end(),
                                [&](std::uint8_t row) { return row & outside; }));
        FUZZ_CHECK(glyph.code >= -1 && glyph.code <= 255);
        FUZZ_CHECK(!font.hasCodes || glyph.code >= 0 || !glyph.unicode.empty());
        anyUnicode = anyUnicode || !glyph.unicode.empty();
    }
    FUZZ_CHECK(anyUnicode == font.hasUnicode);
    return 0;
}
