#include "convert/picture_steps.h"

#include <cstdio>

namespace tessaly::convert {

namespace {

// A picture that would be too large is refused before any pixel is made.
bool sizeFits(std::int64_t width, std::int64_t height, std::string& error) {
    error = formats::pictureSizeProblem(width, height);
    return error.empty();
}

// "#rrggbb".
std::string colourText(Colour c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", redOf(c), greenOf(c), blueOf(c));
    return text;
}

// Said only when the paper taken is not the one pictures are written with (#000000),
// so reading a picture this program wrote says nothing.
std::string paperNote(Colour paper) {
    if (paper == rgb(0, 0, 0)) return "";
    return "took the most common colour " + colourText(paper) + " as paper (--paper chooses)";
}

} // namespace

bool readPictureSet(std::span<const std::uint8_t> bytes, std::optional<Colour> paper, int first,
                    Charset& set, std::string& note, std::string& error) {
    Surface picture;
    if (!formats::decodePicture(bytes, picture, error)) return false;
    int count = 0;
    Colour paperUsed = 0;
    if (!formats::glyphsFromGridPicture(picture, paper, first, set, count, paperUsed, error))
        return false;
    if (!paper) note = paperNote(paperUsed);
    return true;
}

bool writePictureSet(const Charset& set, int first, int count, formats::PictureType type, int scale,
                     Colour ink, Colour paper, std::vector<std::uint8_t>& out, std::string& error) {
    const std::int64_t rows = (count + 15) / 16;
    if (!sizeFits(std::int64_t{128} * scale, rows * 8 * scale, error)) return false;
    out = formats::encodePicture(formats::glyphGridPicture(set, first, count, scale, ink, paper),
                                 type);
    return true;
}

bool writeMapPicture(const formats::CodeMap& map, const Charset& font, formats::PictureType type,
                     int scale, Colour ink, Colour paper, bool grid, std::vector<std::uint8_t>& out,
                     std::string& error) {
    if (!sizeFits(std::int64_t{8} * scale * map.width, std::int64_t{8} * scale * map.height, error))
        return false;
    out = formats::encodePicture(
        formats::screenPicture(map.codes, map.width, map.height, font, scale, ink, paper, grid),
        type);
    return true;
}

bool cutPicture(std::span<const std::uint8_t> bytes, int scale, std::optional<Colour> paper,
                int first, formats::CutScreen& cut, std::string& note, std::string& error) {
    Surface picture;
    if (!formats::decodePicture(bytes, picture, error)) return false;
    if (!formats::cutScreenPicture(picture, scale, paper, first, cut, error)) return false;
    if (!paper) note = paperNote(cut.paper);
    return true;
}

} // namespace tessaly::convert
