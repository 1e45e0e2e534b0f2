// A picture file is decoded or refused with a message, never more; a decoded picture read
// as a glyph grid and cut as a screen gives glyphs that draw its paper back where it was,
// and a small one survives our own PNG and BMP unchanged.

#include "fuzz_support.h"

#include "formats/picture.h"

#include <algorithm>

using namespace tessaly;
using namespace tessaly::formats;

namespace {

bool samePixels(const Surface& a, const Surface& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::equal(a.data(), a.data() + std::size_t(a.width()) * a.height(), b.data());
}

// Paper in `drawn` exactly where `picture` has paper, over the rows `drawn` has.
bool samePaper(const Surface& drawn, const Surface& picture, Colour paper) {
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if ((drawn.pixel(x, y) == paper) != (picture.pixel(x, y) == paper)) return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Surface picture;
    std::string error;
    if (!decodePicture({data, size}, picture, error)) {
        FUZZ_CHECK(!error.empty() && picture.empty());
        return 0;
    }
    FUZZ_CHECK(pictureSizeProblem(picture.width(), picture.height()).empty());

    Charset set;
    int count = -1;
    Colour paper = 0;
    error.clear();
    if (glyphsFromGridPicture(picture, std::nullopt, 0, set, count, paper, error)) {
        const int scale = picture.width() / 128;
        FUZZ_CHECK(count == 16 * (picture.height() / (8 * scale)));
        const Surface back =
            glyphGridPicture(set, 0, std::min(count, 256), scale, paper ^ 0x00FFFFFFu, paper);
        FUZZ_CHECK(back.width() == picture.width() && back.height() <= picture.height());
        FUZZ_CHECK(samePaper(back, picture, paper));
    } else {
        FUZZ_CHECK(!error.empty() && count == -1);
    }

    const int scale = 1 + static_cast<int>(size % 3);
    CutScreen cut;
    error.clear();
    if (cutScreenPicture(picture, scale, std::nullopt, 0, cut, error)) {
        FUZZ_CHECK(cut.glyphCount >= 1 && cut.glyphCount <= 256);
        FUZZ_CHECK(cut.codes.size() == std::size_t(cut.width) * cut.height);
        for (std::uint8_t code : cut.codes)
            FUZZ_CHECK(code < cut.glyphCount);
        const Surface back = screenPicture(cut.codes, cut.width, cut.height, cut.set, scale,
                                           cut.ink, cut.paper, false);
        FUZZ_CHECK(back.width() == picture.width() && back.height() == picture.height());
        FUZZ_CHECK(samePaper(back, picture, cut.paper));
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const Colour c = picture.pixel(x, y);
                if (c == cut.ink) FUZZ_CHECK(back.pixel(x, y) == c);
            }
    } else {
        FUZZ_CHECK(!error.empty() && cut.codes.empty());
    }

    if (std::int64_t{picture.width()} * picture.height() <= 1 << 16)
        for (PictureType type : {PictureType::Png, PictureType::Bmp}) {
            Surface again;
            FUZZ_CHECK(decodePicture(encodePicture(picture, type), again, error));
            FUZZ_CHECK(samePixels(again, picture));
        }
    return 0;
}
