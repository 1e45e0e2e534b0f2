// The PSF reader (behind gzip when the bytes are packed): a font it takes keeps its first
// 256 glyphs whole and comes back the same through the PSF writer; a font it refuses gets
// one line saying why.

#include "formats/glyph_run.h"
#include "formats/gzip.h"
#include "formats/psf.h"

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
    PsfFont font;
    if (!readPsf(bytes, font, error)) {
        FUZZ_CHECK(oneLine(error));
        return 0;
    }
    FUZZ_CHECK(font.version == 1 || font.version == 2);
    FUZZ_CHECK(font.glyphCount > 0);
    const std::size_t kept = static_cast<std::size_t>(std::min(font.glyphCount, GlyphCount));
    FUZZ_CHECK(font.rows.size() == kept * GlyphBytes);

    Charset set;
    placeGlyphs(set, font.rows, 0);
    const std::vector<std::uint8_t> again = writePsf(set, 0, static_cast<int>(kept));
    PsfFont back;
    FUZZ_CHECK(readPsf(again, back, error));
    FUZZ_CHECK(back.version == 2 && back.rows == font.rows);
    return 0;
}
