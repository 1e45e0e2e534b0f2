#include "formats/picture.h"

#include "formats/png_codec.h"
#include "io/bmp.h"
#include "render/map_render.h"
#include "render/pixels.h"

#include <algorithm>
#include <unordered_map>

namespace tessaly::formats {

namespace {

std::string text(std::int64_t n) {
    return std::to_string(n);
}

std::uint32_t le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return le16(b, at) | (le16(b, at + 2) << 16);
}

std::string pixelText(int x, int y) {
    std::string s = "(";
    s += text(x);
    s += ", ";
    s += text(y);
    s += ')';
    return s;
}

bool bmpFailure(std::string& error, const std::string& what) {
    error = "BMP: " + what;
    return false;
}

// The pixel indices of an RLE8 (4 bits false) or RLE4 (true) picture, bottom row first,
// `width` a row; pixels the data skips keep index 0. False with a message naming the byte
// where the data goes wrong.
bool decodeRle(std::span<const std::uint8_t> data, std::size_t dataOffset, bool fourBits, int width,
               int rows, std::vector<std::uint8_t>& indices, std::string& error) {
    indices.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows), 0);
    std::size_t at = 0;
    int x = 0, y = 0;
    const auto where = [&](std::size_t i) { return " at byte " + text(dataOffset + i); };
    const auto put = [&](std::uint8_t index) {
        if (x < width && y < rows) indices[static_cast<std::size_t>(y) * width + x] = index;
        ++x;
    };
    while (true) {
        if (data.size() - at < 2)
            return bmpFailure(error, "the RLE data ends" + where(data.size()) +
                                         " before its end-of-picture mark");
        const std::uint8_t count = data[at], value = data[at + 1];
        at += 2;
        if (count > 0) { // a run of `count` pixels
            for (int i = 0; i < count; ++i)
                put(fourBits ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value);
            continue;
        }
        if (value == 0) { // end of the row
            x = 0;
            ++y;
        } else if (value == 1) { // end of the picture
            return true;
        } else if (value == 2) { // a jump right and up
            if (data.size() - at < 2)
                return bmpFailure(error,
                                  "the RLE data ends" + where(data.size()) + " inside a jump");
            x += data[at];
            y += data[at + 1];
            at += 2;
        } else { // `value` pixels as they are, padded to a whole 16-bit word
            const std::size_t bytes = fourBits ? (value + 1u) / 2 : value;
            const std::size_t padded = (bytes + 1) / 2 * 2;
            if (data.size() - at < padded)
                return bmpFailure(error, "the RLE data ends" + where(data.size()) +
                                             " inside a run of " + text(value) + " pixels");
            for (int i = 0; i < value; ++i) {
                const std::uint8_t byte = data[at + (fourBits ? i / 2 : i)];
                put(fourBits ? ((i % 2 == 0) ? byte >> 4 : byte & 0x0F) : byte);
            }
            at += padded;
        }
        if (y > rows) return bmpFailure(error, "the RLE data goes past the last row" + where(at));
    }
}

// A BMP with a BITMAPINFOHEADER or a later one: 1, 4 or 8 bits a pixel with a palette,
// plain or RLE-compressed, or 24 and 32 bits (with colour masks that keep 8 bits each
// of red, green and blue; an alpha mask makes pixels of alpha 0 TransparentPixel). Every
// field that places or sizes something is checked against the real length first.
bool decodeBmp(std::span<const std::uint8_t> b, Surface& picture, std::string& error) {
    constexpr std::size_t FileHeader = 14;
    const std::size_t length = b.size();
    if (length < FileHeader + 4)
        return bmpFailure(error, "the file ends at byte " + text(length) + ", inside its header");
    if (const std::uint32_t declared = le32(b, 2); declared > length)
        return bmpFailure(error, "the file size at byte 2 is " + text(declared) +
                                     " bytes, the file has " + text(length));
    const std::uint32_t infoSize = le32(b, 14);
    if (infoSize == 12)
        return bmpFailure(error, "the 12-byte OS/2 header at byte 14 is not read; save the "
                                 "picture as a Windows BMP");
    if (infoSize < 40 || infoSize > length - FileHeader)
        return bmpFailure(error, "the header size at byte 14 is " + text(infoSize) +
                                     ", the file has " + text(length - FileHeader) +
                                     " bytes after byte 14");
    const std::int32_t width = static_cast<std::int32_t>(le32(b, 18));
    const std::int32_t height = static_cast<std::int32_t>(le32(b, 22));
    if (width <= 0) return bmpFailure(error, "the width at byte 18 is " + text(width));
    if (height == 0) return bmpFailure(error, "the height at byte 22 is 0");
    // A negative height stores the rows top-down.
    const bool topDown = height < 0;
    const std::int64_t rows = topDown ? -std::int64_t{height} : height;
    if (const std::string problem = pictureSizeProblem(width, rows); !problem.empty())
        return bmpFailure(error, problem);
    if (const std::uint32_t planes = le16(b, 26); planes != 1)
        return bmpFailure(error, "the plane count at byte 26 is " + text(planes) + ", not 1");
    const std::uint32_t bits = le16(b, 28);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return bmpFailure(error, text(bits) + " bits a pixel (byte 28): only 1-, 4-, 8-, 24- "
                                              "and 32-bit pictures are read");

    // Uncompressed; RLE8 and RLE4 for 8 and 4 bits; or 32 bits with colour masks that
    // place blue, green and red in bytes 0, 1 and 2, as the uncompressed layout does. The
    // masks follow a 40-byte header and are part of the later ones; a fourth, alpha, mask
    // comes with the later headers and with compression 6.
    std::size_t headersEnd = FileHeader + infoSize;
    const std::uint32_t compression = le32(b, 30);
    const bool masks = compression == 3 || compression == 6;
    const bool rle = (compression == 1 && bits == 8) || (compression == 2 && bits == 4);
    if (compression != 0 && !rle && !(masks && bits == 32))
        return bmpFailure(error, "the compression at byte 30 is " + text(compression) +
                                     ": only uncompressed pictures, RLE8 at 8 bits, RLE4 at 4 "
                                     "bits and colour masks at 32 bits are read");
    if (rle && topDown)
        return bmpFailure(error, "an RLE picture cannot store its rows top-down (height at "
                                 "byte 22)");
    bool alpha = false;
    if (masks) {
        if (infoSize == 40) headersEnd += compression == 6 ? 16 : 12;
        if (headersEnd > length || FileHeader + 40 + 12 > length)
            return bmpFailure(error, "the file ends at byte " + text(length) +
                                         ", inside the colour masks at byte 54");
        if (le32(b, 54) != 0x00FF0000 || le32(b, 58) != 0x0000FF00 || le32(b, 62) != 0x000000FF)
            return bmpFailure(error, "the colour masks at byte 54 are not 8 bits each of red, "
                                     "green and blue");
        if (headersEnd >= FileHeader + 56) {
            const std::uint32_t alphaMask = le32(b, 66);
            if (alphaMask != 0 && alphaMask != 0xFF000000)
                return bmpFailure(error, "the alpha mask at byte 66 is not the top 8 bits");
            alpha = alphaMask != 0;
        }
    }

    // The palette: 4 bytes a colour (blue, green, red, unused) after the headers.
    std::vector<std::uint32_t> palette;
    if (bits <= 8) {
        const std::uint32_t most = 1u << bits;
        const std::uint32_t used = le32(b, 46);
        if (used > most)
            return bmpFailure(error, "the palette size at byte 46 is " + text(used) +
                                         ", more than " + text(most) + " colours of " + text(bits) +
                                         " bits");
        const std::size_t colours = used == 0 ? most : used;
        if (colours * 4 > length - headersEnd)
            return bmpFailure(error, "the file ends at byte " + text(length) + ", inside the " +
                                         text(colours) + "-colour palette at byte " +
                                         text(headersEnd));
        for (std::size_t i = 0; i < colours; ++i) {
            const std::uint8_t* c = b.data() + headersEnd + 4 * i;
            palette.push_back(Surface::stored(rgb(c[2], c[1], c[0])));
        }
        headersEnd += colours * 4;
    }

    const std::uint32_t dataOffset = le32(b, 10);
    if (dataOffset < headersEnd || dataOffset > length)
        return bmpFailure(error, "the pixel data offset at byte 10 is " + text(dataOffset) +
                                     "; the headers end at byte " + text(headersEnd) +
                                     " and the file at byte " + text(length));
    const std::size_t rest = length - dataOffset;
    if (const std::uint32_t declared = le32(b, 34); declared > rest)
        return bmpFailure(error, "the pixel data size at byte 34 is " + text(declared) +
                                     " bytes, the file has " + text(rest) + " after byte " +
                                     text(dataOffset));
    const std::span<const std::uint8_t> data = b.subspan(dataOffset);
    const int h = static_cast<int>(rows);

    std::vector<std::uint8_t> indices; // RLE only: the decoded indices, bottom row first
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    if (rle) {
        if (!decodeRle(data, dataOffset, bits == 4, width, h, indices, error)) return false;
    } else if (stride * static_cast<std::size_t>(rows) > rest) {
        return bmpFailure(error, text(width) + " x " + text(rows) + " pixels need " +
                                     text(static_cast<std::int64_t>(stride) * rows) +
                                     " bytes from byte " + text(dataOffset) + ", the file has " +
                                     text(rest));
    }

    Surface decoded(width, h);
    for (int r = 0; r < h; ++r) {
        std::uint32_t* out = decoded.row(topDown ? r : h - 1 - r);
        if (bits > 8) {
            const std::uint8_t* in = data.data() + stride * static_cast<std::size_t>(r);
            const std::size_t step = bits / 8;
            for (int x = 0; x < width; ++x, in += step)
                out[x] = alpha && in[3] == 0 ? TransparentPixel
                                             : Surface::stored(rgb(in[2], in[1], in[0]));
            continue;
        }
        for (int x = 0; x < width; ++x) {
            std::uint32_t index;
            if (rle) {
                index = indices[static_cast<std::size_t>(r) * width + x];
            } else {
                // Pixels fill each byte from its top bit.
                const std::size_t bit = static_cast<std::size_t>(x) * bits;
                const std::uint8_t byte = data[stride * static_cast<std::size_t>(r) + bit / 8];
                index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            }
            if (index >= palette.size())
                return bmpFailure(error, "pixel " + pixelText(x, topDown ? r : h - 1 - r) +
                                             " is colour " + text(index) + " of a " +
                                             text(static_cast<std::int64_t>(palette.size())) +
                                             "-colour palette");
            out[x] = palette[index];
        }
    }
    picture = std::move(decoded);
    return true;
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

std::string pictureSizeProblem(std::int64_t width, std::int64_t height) {
    if (width < 1 || height < 1)
        return "the picture is " + text(width) + " x " + text(height) + " pixels: it is empty";
    if (width > MaxPictureSide || height > MaxPictureSide || width * height > MaxPicturePixels)
        return "the picture is " + text(width) + " x " + text(height) + " pixels: at most " +
               text(MaxPictureSide) + " a side and " + text(MaxPicturePixels / (1 << 20)) +
               " Mpixel in all are read or made";
    return {};
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
                        const Charset& font, bool add, CutScreen& out, std::string& error) {
    CutScreen cut;
    std::vector<GlyphKey> cells;
    if (!cutCells(picture, scale, paper, cut, cells, error)) return false;
    cut.set = font;
    // Each glyph of the font to its lowest code; the first code after its last drawn glyph.
    std::unordered_map<GlyphKey, int> code;
    int end = 0;
    for (int c = GlyphCount - 1; c >= 0; --c) {
        const GlyphKey key = keyOf(glyph(font, c).data());
        code[key] = c;
        if (key != 0 && end == 0) end = c + 1;
    }
    const int lastGlyph = end - 1;
    // A screen's blank cells need a blank glyph: when the font's first one comes after its
    // last drawn glyph, it stays and new glyphs follow it.
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
