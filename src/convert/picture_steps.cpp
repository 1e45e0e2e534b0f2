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

// The picture as read: decoded and cropped.
bool readPicture(std::span<const std::uint8_t> bytes, const PictureInput& how, Surface& picture,
                 std::string& error) {
    return formats::decodePicture(bytes, picture, error) &&
           (!how.crop || formats::cropPicture(picture, *how.crop, error));
}

// Says which colour was taken as paper when the picture did not make it plain: not named,
// not transparent, and not the black the converter's own pictures have. And how many
// colours were folded into the ink.
void colourNotes(const formats::PictureColours& c, const PictureInput& how,
                 std::vector<std::string>& notes) {
    if (!how.paper && !c.transparentPaper && c.paper != rgb(0, 0, 0))
        notes.push_back("took the most common colour " + colourText(c.paper) +
                        " as paper (--paper chooses)");
    if (c.inkColours > 1)
        notes.push_back(std::to_string(c.inkColours) +
                        " colours besides the paper; all are read as ink");
}

} // namespace

bool readPictureSet(std::span<const std::uint8_t> bytes, const PictureInput& how, int at,
                    Charset& set, int& count, std::vector<std::string>& notes, std::string& error) {
    Surface picture;
    if (!readPicture(bytes, how, picture, error)) return false;
    formats::PictureColours colours;
    if (!formats::glyphsFromGridPicture(picture, how.paper, at, how.columns, set, count, colours,
                                        error))
        return false;
    colourNotes(colours, how, notes);
    return true;
}

bool writePictureSet(const Charset& set, int first, int count, formats::PictureType type, int scale,
                     int columns, Colour ink, Colour paper, std::vector<std::uint8_t>& out,
                     std::string& error) {
    const std::int64_t rows = (count + columns - 1) / columns;
    if (!sizeFits(std::int64_t{8} * columns * scale, rows * 8 * scale, error)) return false;
    out = formats::encodePicture(
        formats::glyphGridPicture(set, first, count, scale, ink, paper, columns), type);
    return true;
}

bool writeMapPicture(const formats::CodeMap& map, const Charset& font, formats::PictureType type,
                     int scale, Colour ink, Colour paper, bool grid, std::vector<std::uint8_t>& out,
                     std::string& error) {
    if (!sizeFits(std::int64_t{8} * scale * map.width, std::int64_t{8} * scale * map.height,
                  error)) {
        if (scale > 1 && formats::pictureSizeProblem(8 * map.width, 8 * map.height).empty())
            error += "; --scale 1 draws it " + std::to_string(8 * map.width) + " x " +
                     std::to_string(8 * map.height);
        return false;
    }
    out = formats::encodePicture(
        formats::screenPicture(map.codes, map.width, map.height, font, scale, ink, paper, grid),
        type);
    return true;
}

bool cutPicture(std::span<const std::uint8_t> bytes, int scale, const PictureInput& how, int at,
                const Charset* font, bool add, formats::CutScreen& cut,
                std::vector<std::string>& notes, std::string& error) {
    Surface picture;
    if (!readPicture(bytes, how, picture, error)) return false;
    if (font ? !formats::matchScreenPicture(picture, scale, how.paper, *font, add, cut, error)
             : !formats::cutScreenPicture(picture, scale, how.paper, at, cut, error))
        return false;
    colourNotes(cut.colours, how, notes);
    return true;
}

} // namespace tessaly::convert
