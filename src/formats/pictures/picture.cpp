#include "formats/pictures/picture.h"

#include "formats/pictures/bmp.h"
#include "formats/pictures/picture_limits.h"
#include "formats/pictures/png_codec.h"
#include "render/map_render.h"
#include "render/pixels.h"

#include <algorithm>
#include <unordered_map>

namespace tessaly::formats {

namespace {

std::string text(std::int64_t n) {
    return std::to_string(n);
}

// A picture's stored pixel values, the most common first; equal counts in the order they
// first appear (row by row from the top). TransparentPixel is one value among them.
struct PixelCount {
    std::uint32_t pixel;
    std::int64_t count;
};
std::vector<PixelCount> pixelsByCount(const Surface& picture) {
    std::vector<PixelCount> seen;
    std::unordered_map<std::uint32_t, std::size_t> index;
    const auto add = [&](std::uint32_t p, std::int64_t n) {
        const auto [at, added] = index.try_emplace(p, seen.size());
        if (added) seen.push_back({p, 0});
        seen[at->second].count += n;
    };
    // Pictures are mostly runs of one colour: count a run at a time.
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint32_t* row = picture.row(y);
        int x = 0;
        while (x < picture.width()) {
            const int start = x;
            while (x < picture.width() && row[x] == row[start])
                ++x;
            add(row[start], x - start);
        }
    }
    std::stable_sort(seen.begin(), seen.end(),
                     [](const PixelCount& a, const PixelCount& b) { return a.count > b.count; });
    return seen;
}

// "#rrggbb".
std::string colourText(Colour c) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string s = "#";
    for (int v : {redOf(c), greenOf(c), blueOf(c)}) {
        s += Digits[v >> 4];
        s += Digits[v & 15];
    }
    return s;
}

// The paper as a stored pixel value: TransparentPixel when the transparent pixels are it.
std::uint32_t paperPixelOf(const PictureColours& colours) {
    return colours.transparentPaper ? TransparentPixel : Surface::stored(colours.paper);
}

// Reads the 8 x 8 glyph whose top-left picture pixel is (x0, y0), each glyph pixel a block
// of scale x scale picture pixels: ink where the block is neither paper nor transparent.
// False when a block mixes paper with ink, naming the first such pixel.
bool readCell(const Surface& picture, int x0, int y0, int scale, std::uint32_t paperPixel,
              std::uint8_t rows[8], std::string& error) {
    const auto isInk = [&](std::uint32_t p) { return p != paperPixel && p != TransparentPixel; };
    for (int r = 0; r < 8; ++r) {
        std::uint8_t bits = 0;
        for (int c = 0; c < 8; ++c) {
            const int bx = x0 + c * scale, by = y0 + r * scale;
            const bool ink = isInk(picture.row(by)[bx]);
            for (int y = by; y < by + scale; ++y)
                for (int x = bx; x < bx + scale; ++x)
                    if (isInk(picture.row(y)[x]) != ink) {
                        error = "pixel " + pixelText(x, y) + " is " + (ink ? "paper" : "ink") +
                                " but pixel " + pixelText(bx, by) + " of its " + text(scale) +
                                " x " + text(scale) + " block is not: no picture at scale " +
                                text(scale);
                        return false;
                    }
            if (ink) bits |= pixelMask(c);
        }
        rows[r] = bits;
    }
    return true;
}

bool firstCodeProblem(int first, std::string& error) {
    if (first >= 0 && first < GlyphCount) return false;
    error = "the first code " + text(first) + " is not 0 to 255";
    return true;
}

// A glyph's 8 rows as one number, row 0 in the top byte.
using GlyphKey = std::uint64_t;
GlyphKey keyOf(const std::uint8_t* rows) {
    GlyphKey key = 0;
    for (int r = 0; r < 8; ++r)
        key = key << 8 | rows[r];
    return key;
}
void storeKey(GlyphKey key, Glyph g) {
    for (int r = 0; r < 8; ++r)
        g[r] = static_cast<std::uint8_t>(key >> (56 - 8 * r));
}

// The screen's cells, row by row, each as its glyph; the size in cells and the colours
// go into `cut`.
bool cutCells(const Surface& picture, int scale, std::optional<Colour> paper, CutScreen& cut,
              std::vector<GlyphKey>& cells, std::string& error) {
    if (scale < 1) {
        error = "the scale " + text(scale) + " is not 1 or more";
        return false;
    }
    const int cell = 8 * scale;
    if (picture.empty() || picture.width() % cell != 0 || picture.height() % cell != 0) {
        error = "the picture is " + text(picture.width()) + " x " + text(picture.height()) +
                " pixels: at scale " + text(scale) + " both must be multiples of " + text(cell);
        return false;
    }
    if (!pictureColours(picture, paper, cut.colours, error)) return false;
    cut.width = picture.width() / cell;
    cut.height = picture.height() / cell;
    const std::uint32_t paperPixel = paperPixelOf(cut.colours);
    cells.reserve(static_cast<std::size_t>(cut.width) * cut.height);
    for (int y = 0; y < cut.height; ++y)
        for (int x = 0; x < cut.width; ++x) {
            std::uint8_t rows[8];
            if (!readCell(picture, x * cell, y * cell, scale, paperPixel, rows, error))
                return false;
            cells.push_back(keyOf(rows));
        }
    return true;
}

} // namespace

bool pictureColours(const Surface& picture, std::optional<Colour> paper, PictureColours& out,
                    std::string& error) {
    const std::vector<PixelCount> pixels = pixelsByCount(picture);
    const auto colours = std::count_if(pixels.begin(), pixels.end(), [](const PixelCount& p) {
        return p.pixel != TransparentPixel;
    });
    if (colours > MaxPictureColours) {
        error = "the picture has " + text(colours) +
                " colours: not a clean pixel picture (a lossy save such as JPEG, or smoothed "
                "scaling?); at most " +
                text(MaxPictureColours) + " are read";
        return false;
    }
    PictureColours c;
    if (paper) {
        c.paper = *paper & 0x00FFFFFFu;
        const std::uint32_t wanted = Surface::stored(c.paper);
        if (std::none_of(pixels.begin(), pixels.end(),
                         [&](const PixelCount& p) { return p.pixel == wanted; })) {
            error = "no pixel has the paper colour " + colourText(c.paper) +
                    "; the most common colours are";
            int named = 0;
            for (const PixelCount& p : pixels)
                if (p.pixel != TransparentPixel && named++ < 3)
                    error += (named == 1 ? " " : ", ") + colourText(p.pixel & 0x00FFFFFFu);
            if (named == 0) error += " none: every pixel is transparent";
            return false;
        }
    } else if (!pixels.empty()) {
        c.transparentPaper = pixels.front().pixel == TransparentPixel;
        c.paper = pixels.front().pixel & 0x00FFFFFFu;
    }
    const std::uint32_t paperPixel = paperPixelOf(c);
    bool inkFound = false;
    for (const PixelCount& p : pixels) {
        if (p.pixel == paperPixel || p.pixel == TransparentPixel) continue;
        if (!inkFound) c.ink = p.pixel & 0x00FFFFFFu;
        inkFound = true;
        ++c.inkColours;
    }
    // A picture of paper only: its opposite stands for the ink.
    if (!inkFound) c.ink = c.paper ^ 0x00FFFFFFu;
    out = c;
    return true;
}

std::vector<std::uint8_t> encodePicture(const Surface& picture, PictureType type) {
    if (picture.empty()) return {};
    return type == PictureType::Png ? encodePng(picture) : encodeBmp(picture);
}

bool decodePicture(std::span<const std::uint8_t> bytes, Surface& picture, std::string& error) {
    if (looksLikePng(bytes)) return decodePng(bytes, picture, error);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return decodeBmp(bytes, picture, error);
    error = "neither a PNG nor a BMP picture (no signature in the first bytes)";
    return false;
}

bool cropPicture(Surface& picture, const PictureCrop& crop, std::string& error) {
    if (crop.x < 0 || crop.y < 0 || crop.width < 1 || crop.height < 1 ||
        std::int64_t{crop.x} + crop.width > picture.width() ||
        std::int64_t{crop.y} + crop.height > picture.height()) {
        error = "the crop " + text(crop.x) + "," + text(crop.y) + "," + text(crop.width) + "x" +
                text(crop.height) + " does not lie inside the picture of " + text(picture.width()) +
                " x " + text(picture.height()) + " pixels";
        return false;
    }
    picture = picture.copyRegion(crop.x, crop.y, crop.width, crop.height);
    return true;
}

Surface glyphGridPicture(const Charset& set, int first, int count, int scale, Colour ink,
                         Colour paper, int columns) {
    if (first < 0 || first >= GlyphCount || count < 1 || scale < 1 || columns < 1) return {};
    count = std::min(count, GlyphCount - first);
    const int cell = 8 * scale;
    const int rows = (count + columns - 1) / columns;
    if (!pictureSizeProblem(std::int64_t{columns} * cell, std::int64_t{rows} * cell).empty())
        return {};
    Surface picture(columns * cell, rows * cell, paper);
    const std::uint32_t inkPixel = Surface::stored(ink);
    const std::uint32_t paperPixel = Surface::stored(paper);
    for (int i = 0; i < count; ++i) {
        const ConstGlyph g = glyph(set, first + i);
        const int x0 = (i % columns) * cell, y0 = (i / columns) * cell;
        for (int r = 0; r < 8; ++r)
            for (int s = 0; s < scale; ++s)
                expandRowByte(picture.row(y0 + r * scale + s) + x0, g[r], inkPixel, paperPixel,
                              scale);
    }
    return picture;
}

bool glyphsFromGridPicture(const Surface& picture, std::optional<Colour> paper, int at, int columns,
                           Charset& set, int& count, PictureColours& colours, std::string& error) {
    if (firstCodeProblem(at, error)) return false;
    if (columns < 1) {
        error = "the column count " + text(columns) + " is not 1 or more";
        return false;
    }
    const std::string size = text(picture.width()) + " x " + text(picture.height());
    const int cellsWide = 8 * columns;
    if (picture.empty() || picture.width() % cellsWide != 0) {
        error = "the picture is " + size + " pixels: a glyph grid is " + text(columns) +
                " glyphs of 8 pixels (" + text(cellsWide) +
                ") wide, or a multiple of that at a larger scale";
        return false;
    }
    const int scale = picture.width() / cellsWide;
    const int cell = 8 * scale;
    if (picture.height() % cell != 0) {
        error = "the picture is " + size + " pixels: at scale " + text(scale) +
                " (from the width) its height must be a multiple of " + text(cell);
        return false;
    }
    PictureColours found;
    if (!pictureColours(picture, paper, found, error)) return false;
    const std::uint32_t paperPixel = paperPixelOf(found);
    Charset read = set;
    const std::int64_t held = std::int64_t{columns} * (picture.height() / cell);
    // Cells past code 255 are read too, so that a picture that is no grid is refused.
    for (std::int64_t i = 0; i < held; ++i) {
        std::uint8_t rows[8];
        const int x0 = static_cast<int>(i % columns) * cell;
        const int y0 = static_cast<int>(i / columns) * cell;
        if (!readCell(picture, x0, y0, scale, paperPixel, rows, error)) return false;
        if (at + i < GlyphCount)
            std::copy(rows, rows + 8, glyph(read, at + static_cast<int>(i)).begin());
    }
    set = read;
    count = static_cast<int>(std::min<std::int64_t>(held, 1 << 24));
    colours = found;
    return true;
}

Surface screenPicture(std::span<const std::uint8_t> codes, int width, int height,
                      const Charset& set, int scale, Colour ink, Colour paper, bool grid) {
    if (width < 1 || height < 1 || scale < 1 ||
        codes.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return {};
    const int cell = 8 * scale;
    if (!pictureSizeProblem(std::int64_t{width} * cell, std::int64_t{height} * cell).empty())
        return {};
    Surface picture(width * cell, height * cell);
    drawMapCells(picture, codes, width, set, {width, height, ink, paper, grid}, scale);
    return picture;
}

bool cutScreenPicture(const Surface& picture, int scale, std::optional<Colour> paper, int at,
                      CutScreen& out, std::string& error) {
    if (firstCodeProblem(at, error)) return false;
    CutScreen cut;
    std::vector<GlyphKey> cells;
    if (!cutCells(picture, scale, paper, cut, cells, error)) return false;
    // Each distinct glyph once, numbered in order of first appearance, row by row.
    std::unordered_map<GlyphKey, int> number;
    std::vector<GlyphKey> distinct;
    cut.codes.reserve(cells.size());
    for (GlyphKey key : cells) {
        const auto [found, added] = number.try_emplace(key, static_cast<int>(distinct.size()));
        if (added) distinct.push_back(key);
        cut.codes.push_back(static_cast<std::uint8_t>(at + found->second));
    }
    const int room = GlyphCount - at;
    if (static_cast<int>(distinct.size()) > room) {
        error = "the picture has " + text(static_cast<std::int64_t>(distinct.size())) +
                " distinct glyphs; codes " + text(at) + " to 255 hold only " + text(room);
        return false;
    }
    cut.glyphCount = static_cast<int>(distinct.size());
    cut.firstNew = at;
    for (int i = 0; i < cut.glyphCount; ++i)
        storeKey(distinct[static_cast<std::size_t>(i)], glyph(cut.set, at + i));
    cut.setEnd = at + cut.glyphCount;
    out = std::move(cut);
    return true;
}

bool matchScreenPicture(const Surface& picture, int scale, std::optional<Colour> paper,
                        const Charset& font, const std::bitset<GlyphCount>& held, bool add,
                        CutScreen& out, std::string& error) {
    CutScreen cut;
    std::vector<GlyphKey> cells;
    if (!cutCells(picture, scale, paper, cut, cells, error)) return false;
    cut.set = font;
    // Each glyph the font holds to its lowest code, a blank one to the space at 32 where
    // that is blank; the first code after its last drawn glyph.
    std::unordered_map<GlyphKey, int> code;
    int end = 0;
    for (int c = GlyphCount - 1; c >= 0; --c) {
        if (!held.test(static_cast<std::size_t>(c))) continue;
        const GlyphKey key = keyOf(glyph(font, c).data());
        code[key] = c;
        if (key != 0 && end == 0) end = c + 1;
    }
    constexpr int Space = 32;
    if (held.test(Space) && keyOf(glyph(font, Space).data()) == 0) code[0] = Space;
    const int lastGlyph = end - 1;
    // A screen's blank cells need a blank glyph: when the one they take comes after the
    // font's last drawn glyph, it stays and new glyphs follow it.
    if (const auto blank = code.find(0); blank != code.end() && blank->second >= end)
        end = blank->second + 1;
    cut.firstNew = end;
    cut.codes.reserve(cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        auto at = code.find(cells[i]);
        if (at == code.end()) {
            const int column = static_cast<int>(i % static_cast<std::size_t>(cut.width));
            const int row = static_cast<int>(i / static_cast<std::size_t>(cut.width));
            if (!add) {
                error = "the cell at column " + text(column) + ", row " + text(row) + " (pixel " +
                        pixelText(column * 8 * scale, row * 8 * scale) +
                        ") matches no glyph of the font; --add appends such glyphs";
                return false;
            }
            if (end + cut.glyphCount >= GlyphCount) {
                error = "the cell at column " + text(column) + ", row " + text(row) +
                        " needs a new glyph, but the font leaves no code free after its last "
                        "glyph (code " +
                        text(lastGlyph) + ")";
                return false;
            }
            const int fresh = end + cut.glyphCount++;
            storeKey(cells[i], glyph(cut.set, fresh));
            at = code.emplace(cells[i], fresh).first;
        }
        cut.codes.push_back(static_cast<std::uint8_t>(at->second));
    }
    cut.setEnd = std::max(1, end + cut.glyphCount);
    out = std::move(cut);
    return true;
}

} // namespace tessaly::formats
