#include "convert/picture_steps.h"

#include <algorithm>
#include <cstdio>

namespace tessaly::convert {

namespace {

// A picture that would be too large is refused before any pixel is made.
bool sizeFits(std::int64_t width, std::int64_t height, std::string& error) {
    error = formats::pictureSizeProblem(width, height);
    return error.empty();
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

// The scales a screen picture's size allows, the largest first; 1 when none does, for
// its error to say why.
std::vector<int> scalesOf(const Surface& picture) {
    std::vector<int> scales;
    for (int s = std::min(picture.width(), picture.height()) / 8; s >= 1; --s)
        if (picture.width() % (8 * s) == 0 && picture.height() % (8 * s) == 0) scales.push_back(s);
    if (scales.empty()) scales.push_back(1);
    return scales;
}

// "4, 2 and 1".
template <typename Items, typename Text> std::string listed(const Items& items, Text text) {
    std::string list;
    for (std::size_t i = 0; i < items.size(); ++i)
        list += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + text(items[i]);
    return list;
}

// A screen picture matched against `font`. A scale or paper not given is found: of the
// scales the picture's size allows (the largest first) and its two most common colours
// as paper (black first, the paper the converter draws with, so that a set with reversed
// glyphs reads its own picture back in the codes it was drawn with), the first where
// every cell matches a glyph; with `add`, failing that, the one that adds fewest glyphs.
bool matchPicture(const Surface& picture, std::optional<int> scale, const PictureInput& how,
                  const Charset& font, const std::bitset<GlyphCount>& held, bool add,
                  formats::CutScreen& cut, std::vector<std::string>& notes, std::string& error) {
    const std::vector<int> scales = scale ? std::vector<int>{*scale} : scalesOf(picture);
    // The paper the converter took before any was found: the most common colour (none
    // named when the transparent pixels are).
    std::optional<Colour> mostCommon = how.paper;
    std::vector<std::optional<Colour>> papers;
    if (!how.paper) {
        formats::PictureColours colours;
        if (!formats::pictureColours(picture, std::nullopt, colours, error)) return false;
        if (!colours.transparentPaper) mostCommon = colours.paper;
        if (colours.inkColours > 0 && !colours.transparentPaper) papers.push_back(colours.ink);
    }
    papers.insert(papers.size() == 1 && papers.front() == rgb(0, 0, 0) ? papers.end()
                                                                       : papers.begin(),
                  mostCommon);

    struct Try {
        int scale;
        std::optional<Colour> paper;
    };
    std::optional<Try> chosen;
    std::string firstError; // of the try made before any was found: scale 1 or the one given
    for (int s : scales)
        for (const std::optional<Colour>& paper : papers) {
            if (chosen) break;
            std::string why;
            if (formats::matchScreenPicture(picture, s, paper, font, held, false, cut, why))
                chosen = Try{s, paper};
            else if (s == scales.back() && paper == mostCommon)
                firstError = why;
        }
    if (!chosen && add)
        for (int s : scales)
            for (const std::optional<Colour>& paper : papers) {
                formats::CutScreen tried;
                std::string why;
                if (formats::matchScreenPicture(picture, s, paper, font, held, true, tried, why) &&
                    (!chosen || tried.glyphCount < cut.glyphCount)) {
                    cut = std::move(tried);
                    chosen = Try{s, paper};
                } else if (s == scales.back() && paper == mostCommon) {
                    firstError = why;
                }
            }
    const auto paperText = [](const std::optional<Colour>& p) {
        return p ? colourText(*p) : std::string("the transparent pixels");
    };
    const auto scaleText = [](int s) { return std::to_string(s); };
    const std::string choose = !scale && !how.paper ? "--scale and --paper choose"
                               : !scale             ? "--scale chooses"
                                                    : "--paper chooses";
    if (!chosen) {
        error = firstError;
        if (scales.size() * papers.size() > 1)
            error += "; tried scale" + std::string(scales.size() > 1 ? "s " : " ") +
                     listed(scales, scaleText) + " with paper " + listed(papers, paperText) + " (" +
                     choose + ")";
        return false;
    }
    PictureInput taken = how;
    if ((!scale && chosen->scale != 1) || chosen->paper != mostCommon) {
        notes.push_back("read at scale " + std::to_string(chosen->scale) + " with paper " +
                        paperText(chosen->paper) +
                        (cut.glyphCount ? ", where fewest glyphs are added ("
                                        : ", where every cell matches a glyph (") +
                        choose + ")");
        taken.paper = chosen->paper;
    }
    colourNotes(cut.colours, taken, notes);
    return true;
}

} // namespace

std::string colourText(Colour c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", redOf(c), greenOf(c), blueOf(c));
    return text;
}

bool readPictureSet(std::span<const std::uint8_t> bytes, const PictureInput& how, int at,
                    Charset& set, std::bitset<GlyphCount>& held, std::vector<std::string>& notes,
                    std::string& error) {
    Surface picture;
    if (!readPicture(bytes, how, picture, error)) return false;
    int count = 0;
    formats::PictureColours colours;
    if (!formats::glyphsFromGridPicture(picture, how.paper, at, how.columns, set, count, colours,
                                        error))
        return false;
    held.reset();
    for (int code = at; code < GlyphCount && code - at < count; ++code)
        held.set(static_cast<std::size_t>(code));
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

bool cutPicture(std::span<const std::uint8_t> bytes, std::optional<int> scale,
                const PictureInput& how, int at, const Charset* font,
                const std::bitset<GlyphCount>& held, bool add, formats::CutScreen& cut,
                std::vector<std::string>& notes, std::string& error) {
    Surface picture;
    if (!readPicture(bytes, how, picture, error)) return false;
    if (font) return matchPicture(picture, scale, how, *font, held, add, cut, notes, error);
    // A scale not given is the largest the picture's size allows at which every cell reads
    // (each block of scale x scale pixels one colour), as the converter draws a map at 2;
    // a picture without ink reads at 1.
    const std::vector<int> scales = scale ? std::vector<int>{} : scalesOf(picture);
    for (int s : scales) {
        if (s == 1) break;
        formats::CutScreen tried;
        std::string why;
        if (formats::cutScreenPicture(picture, s, how.paper, at, tried, why) &&
            tried.colours.inkColours > 0) {
            cut = std::move(tried);
            notes.push_back("read at scale " + std::to_string(s) +
                            ", the largest its pixels are drawn at (--scale chooses)");
            colourNotes(cut.colours, how, notes);
            return true;
        }
    }
    if (!formats::cutScreenPicture(picture, scale.value_or(1), how.paper, at, cut, error)) {
        if (scales.size() > 1)
            error += " (at scale 1; scales " +
                     listed(std::vector<int>(scales.begin(), scales.end() - 1),
                            [](int s) { return std::to_string(s); }) +
                     " do not read it either)";
        return false;
    }
    colourNotes(cut.colours, how, notes);
    return true;
}

} // namespace tessaly::convert
