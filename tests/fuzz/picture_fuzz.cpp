// A picture file is decoded or refused with a message, never more; a decoded picture read
// as a glyph grid and cut or matched as a screen gives glyphs that draw its paper back
// where it was, and a small one survives our own PNG and BMP unchanged.

#include "fuzz_support.h"

#include "formats/pictures/picture.h"

#include <algorithm>

using namespace tessaly;
using namespace tessaly::formats;

namespace {

bool samePixels(const Surface& a, const Surface& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::equal(a.data(), a.data() + std::size_t(a.width()) * a.height(), b.data());
}

bool isPaper(std::uint32_t pixel, const PictureColours& c) {
    return pixel == TransparentPixel ||
           (!c.transparentPaper && pixel == Surface::stored(c.paper));
}

// `drawn`, in the paper and its opposite, has paper exactly where `picture` has, over the
// rows `drawn` has.
bool samePaper(const Surface& drawn, const Surface& picture, const PictureColours& c) {
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if ((drawn.row(y)[x] == Surface::stored(c.paper)) != isPaper(picture.row(y)[x], c))
                return false;
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
    PictureColours colours;
    const int columns = size % 2 == 0 ? 16 : 1 + static_cast<int>(size / 2 % 32);
    error.clear();
    if (glyphsFromGridPicture(picture, std::nullopt, 0, columns, set, count, colours, error)) {
        const int scale = picture.width() / (8 * columns);
        FUZZ_CHECK(count == columns * (picture.height() / (8 * scale)));
        const Surface back = glyphGridPicture(set, 0, std::min(count, 256), scale,
                                              colours.paper ^ 0x00FFFFFFu, colours.paper, columns);
        FUZZ_CHECK(back.width() == picture.width() && back.height() <= picture.height());
        FUZZ_CHECK(samePaper(back, picture, colours));
    } else {
        FUZZ_CHECK(!error.empty() && count == -1);
    }

    const int scale = 1 + static_cast<int>(size % 3);
    CutScreen cut;
    error.clear();
    if (cutScreenPicture(picture, scale, std::nullopt, 0, cut, error)) {
        FUZZ_CHECK(cut.glyphCount >= 1 && cut.glyphCount <= 256 && cut.setEnd == cut.glyphCount);
        FUZZ_CHECK(cut.codes.size() == std::size_t(cut.width) * cut.height);
        for (std::uint8_t code : cut.codes)
            FUZZ_CHECK(code < cut.glyphCount);
        const Colour paper = cut.colours.paper;
        const Surface back = screenPicture(cut.codes, cut.width, cut.height, cut.set, scale,
                                           paper ^ 0x00FFFFFFu, paper, false);
        FUZZ_CHECK(back.width() == picture.width() && back.height() == picture.height());
        FUZZ_CHECK(samePaper(back, picture, cut.colours));

        // Matched against the glyphs it was cut into, every cell finds its own code.
        CutScreen matched;
        std::bitset<GlyphCount> held;
        for (int code = 0; code < cut.glyphCount; ++code)
            held.set(static_cast<std::size_t>(code));
        FUZZ_CHECK(
            matchScreenPicture(picture, scale, std::nullopt, cut.set, held, false, matched, error));
        FUZZ_CHECK(matched.codes == cut.codes && matched.glyphCount == 0);
    } else {
        FUZZ_CHECK(!error.empty() && cut.codes.empty());
    }

    // Against a font that holds only a blank at 32, every glyph but the blank one is added
    // after it.
    CutScreen added;
    error.clear();
    if (matchScreenPicture(picture, scale, std::nullopt, Charset{},
                           std::bitset<GlyphCount>().set(32), true, added, error)) {
        FUZZ_CHECK(added.firstNew == 33 && added.setEnd == 33 + added.glyphCount);
        const Colour paper = added.colours.paper;
        FUZZ_CHECK(samePaper(screenPicture(added.codes, added.width, added.height, added.set,
                                           scale, paper ^ 0x00FFFFFFu, paper, false),
                             picture, added.colours));
    } else {
        FUZZ_CHECK(!error.empty());
    }

    if (std::int64_t{picture.width()} * picture.height() <= 1 << 16)
        for (PictureType type : {PictureType::Png, PictureType::Bmp}) {
            // Our files hold no transparency: those pixels come back as the paper's black.
            Surface opaque = picture;
            std::uint32_t* p = opaque.data();
            for (std::size_t i = 0; i < std::size_t(opaque.width()) * opaque.height(); ++i)
                if (p[i] == TransparentPixel) p[i] = Surface::stored(0);
            Surface again;
            FUZZ_CHECK(decodePicture(encodePicture(picture, type), again, error));
            FUZZ_CHECK(samePixels(again, opaque));
        }
    return 0;
}
