// The BDF reader: a font it takes has every kept glyph inside the cell and comes back the
// same through the BDF writer; a font it refuses gets one line saying why.

#include "formats/bdf.h"

#include "fuzz_check.h"

using namespace tessaly;
using namespace tessaly::formats;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BdfFont font;
    std::string error;
    if (!readBdf(std::span<const std::uint8_t>(data, size), font, error)) {
        FUZZ_CHECK(oneLine(error));
        return 0;
    }
    FUZZ_CHECK(font.glyphCount >= static_cast<int>(font.present.count()));
    for (int code = 0; code < GlyphCount; ++code)
        if (!font.present.test(static_cast<std::size_t>(code)))
            for (std::uint8_t row : glyph(font.set, code))
                FUZZ_CHECK(row == 0);

    BdfFont back;
    FUZZ_CHECK(readBdf(writeBdf(font.set, 0, GlyphCount, "fuzz"), back, error));
    FUZZ_CHECK(back.set.bytes == font.set.bytes);
    FUZZ_CHECK(back.glyphCount == GlyphCount && back.present.all());
    return 0;
}
