// The PSF reader (behind gzip when the bytes are packed): a font it takes has glyphs of
// its cell, lays out, and as 8x8 comes back the same through the PSF writer; a font it
// refuses gets one line saying why.

#include "formats/fonts/font_layout.h"
#include "formats/fonts/gzip.h"
#include "formats/fonts/psf.h"

#include "fuzz_check.h"

using namespace tessaly;
using namespace tessaly::formats;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> bytes(data, size);
    std::vector<std::uint8_t> unpacked;
    std::string error;
    if (isGzip(bytes)) {
        if (!gunzip(bytes, 1 << 20, unpacked, error)) {
            FUZZ_CHECK(oneLine(error));
            FUZZ_CHECK(unpacked.empty());
            return 0;
        }
        FUZZ_CHECK(unpacked.size() <= (1u << 20));
        bytes = unpacked;
    }
    FontGlyphs font;
    if (!readPsf(bytes, font, error)) {
        FUZZ_CHECK(oneLine(error));
        return 0;
    }
    FUZZ_CHECK(font.width >= 1 && font.width <= 8 && font.height >= 1);
    FUZZ_CHECK(!font.glyphs.empty() && font.glyphs.size() <= PsfGlyphLimit);
    for (const FontGlyph& g : font.glyphs)
        FUZZ_CHECK(g.rows.size() == static_cast<std::size_t>(font.height));

    // Laid out as the converter does; an 8x8 font comes back the same through the writer.
    LaidOutFont laid;
    const std::optional<int> rows = font.height > 8 ? std::optional<int>(0) : std::nullopt;
    FUZZ_CHECK(layOutFont(font, {rows, 0, 0, nullptr}, laid, error));
    if (font.height != 8 || font.width != 8) return 0;
    const int kept = static_cast<int>(std::min<std::size_t>(font.glyphs.size(), GlyphCount));
    FontGlyphs back;
    FUZZ_CHECK(readPsf(writePsf(laid.set, 0, kept), back, error));
    for (int i = 0; i < kept; ++i)
        FUZZ_CHECK(back.glyphs[static_cast<std::size_t>(i)].rows ==
                   font.glyphs[static_cast<std::size_t>(i)].rows);
    return 0;
}
