// The BDF reader: a font it takes has every kept glyph inside the cell, lays out, and as
// 8 rows comes back the same through the BDF writer; a font it refuses gets one line
// saying why.

#include "formats/fonts/bdf.h"
#include "formats/fonts/font_layout.h"

#include "fuzz_check.h"

using namespace tessaly;
using namespace tessaly::formats;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FontGlyphs font;
    std::string error;
    if (!readBdf(std::span<const std::uint8_t>(data, size), font, error)) {
        FUZZ_CHECK(oneLine(error));
        return 0;
    }
    for (const FontGlyph& g : font.glyphs)
        FUZZ_CHECK(g.rows.size() == static_cast<std::size_t>(font.height));
    LaidOutFont laid;
    const std::optional<int> rows = font.height > 8 ? std::optional<int>(0) : std::nullopt;
    FUZZ_CHECK(layOutFont(font, {rows, 0, 0, nullptr}, laid, error));
    for (int code = 0; code < GlyphCount; ++code)
        if (!laid.present.test(static_cast<std::size_t>(code)))
            for (std::uint8_t row : glyph(laid.set, code))
                FUZZ_CHECK(row == 0);
    if (font.height != 8) return 0;

    FontGlyphs back;
    LaidOutFont again;
    FUZZ_CHECK(readBdf(writeBdf(laid.set, 0, GlyphCount, "fuzz"), back, error));
    FUZZ_CHECK(layOutFont(back, {}, again, error));
    FUZZ_CHECK(again.set.bytes == laid.set.bytes && again.present.all());
    return 0;
}
