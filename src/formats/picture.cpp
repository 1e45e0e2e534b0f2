#include "formats/picture.h"

#include "formats/png_codec.h"
#include "io/bmp.h"
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

bool bmpFailure(std::string& error, const std::string& what) {
    error = "BMP: " + what;
    return false;
}

// An uncompressed 24- or 32-bit BMP with a BITMAPINFOHEADER or a later one. Every field
// that places or sizes something is checked against the real length first.
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
    if (bits != 24 && bits != 32)
        return bmpFailure(error, text(bits) + " bits a pixel (byte 28): only 24- and 32-bit "
                                              "pictures are read");

    // Uncompressed, or 32 bits with colour masks that place blue, green and red in bytes 0,
    // 1 and 2, as the uncompressed layout does. The masks follow a 40-byte header and are
    // part of the later ones.
    std::size_t headersEnd = FileHeader + infoSize;
    const std::uint32_t compression = le32(b, 30);
    const bool masks = compression == 3 || compression == 6;
    if (compression != 0 && !(masks && bits == 32))
        return bmpFailure(error, "the compression at byte 30 is " + text(compression) +
                                     ": only uncompressed pictures are read");
    if (masks) {
        if (infoSize == 40) headersEnd += compression == 6 ? 16 : 12;
        if (headersEnd > length || FileHeader + 40 + 12 > length)
            return bmpFailure(error, "the file ends at byte " + text(length) +
                                         ", inside the colour masks at byte 54");
        if (le32(b, 54) != 0x00FF0000 || le32(b, 58) != 0x0000FF00 || le32(b, 62) != 0x000000FF)
            return bmpFailure(error, "the colour masks at byte 54 are not 8 bits each of red, "
                                     "green and blue");
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
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    if (stride * static_cast<std::size_t>(rows) > rest)
        return bmpFailure(error, text(width) + " x " + text(rows) + " pixels need " +
                                     text(static_cast<std::int64_t>(stride) * rows) +
                                     " bytes from byte " + text(dataOffset) + ", the file has " +
                                     text(rest));

    Surface decoded(width, static_cast<int>(rows));
    const std::size_t step = bits / 8;
    for (int r = 0; r < decoded.height(); ++r) {
        const std::uint8_t* in = b.data() + dataOffset + stride * static_cast<std::size_t>(r);
        std::uint32_t* out = decoded.row(topDown ? r : decoded.height() - 1 - r);
        for (int x = 0; x < width; ++x, in += step)
            out[x] = Surface::stored(rgb(in[2], in[1], in[0]));
    }
    picture = std::move(decoded);
    return true;
}

// A picture's colours, the most common first; equal counts in the order they first appear
// (row by row from the top).
std::vector<Colour> coloursByCount(const Surface& picture) {
    struct Seen {
        Colour colour;
        std::int64_t count;
    };
    std::vector<Seen> seen;
    std::unordered_map<Colour, std::size_t> index;
    const auto add = [&](Colour c, std::int64_t n) {
        const auto [at, added] = index.try_emplace(c, seen.size());
        if (added) seen.push_back({c, 0});
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
            add(row[start] & 0x00FFFFFFu, x - start);
        }
    }
    std::stable_sort(seen.begin(), seen.end(),
                     [](const Seen& a, const Seen& b) { return a.count > b.count; });
    std::vector<Colour> out;
    for (const Seen& s : seen)
        out.push_back(s.colour);
    return out;
}

// The paper: the one asked for, or else the most common colour.
Colour paperOf(const std::vector<Colour>& colours, std::optional<Colour> paper) {
    return paper ? (*paper & 0x00FFFFFFu) : colours.front();
}

std::string pixelText(int x, int y) {
    std::string s = "(";
    s += text(x);
    s += ", ";
    s += text(y);
    s += ')';
    return s;
}

// Reads the 8 x 8 glyph whose top-left picture pixel is (x0, y0), each glyph pixel a block
// of scale x scale picture pixels: ink where the block is not paper. False when a block
// mixes paper with other colours, naming the first such pixel.
bool readCell(const Surface& picture, int x0, int y0, int scale, Colour paper, std::uint8_t rows[8],
              std::string& error) {
    const std::uint32_t paperPixel = Surface::stored(paper);
    for (int r = 0; r < 8; ++r) {
        std::uint8_t bits = 0;
        for (int c = 0; c < 8; ++c) {
            const int bx = x0 + c * scale, by = y0 + r * scale;
            const bool ink = picture.row(by)[bx] != paperPixel;
            for (int y = by; y < by + scale; ++y)
                for (int x = bx; x < bx + scale; ++x)
                    if ((picture.row(y)[x] != paperPixel) != ink) {
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

} // namespace

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

Surface glyphGridPicture(const Charset& set, int first, int count, int scale, Colour ink,
                         Colour paper) {
    if (first < 0 || first >= GlyphCount || count < 1 || scale < 1) return {};
    count = std::min(count, GlyphCount - first);
    const int cell = 8 * scale;
    const int rows = (count + 15) / 16;
    if (!pictureSizeProblem(std::int64_t{16} * cell, std::int64_t{rows} * cell).empty()) return {};
    Surface picture(16 * cell, rows * cell, paper);
    const std::uint32_t inkPixel = Surface::stored(ink);
    const std::uint32_t paperPixel = Surface::stored(paper);
    for (int i = 0; i < count; ++i) {
        const ConstGlyph g = glyph(set, first + i);
        const int x0 = (i % 16) * cell, y0 = (i / 16) * cell;
        for (int r = 0; r < 8; ++r)
            for (int s = 0; s < scale; ++s)
                expandRowByte(picture.row(y0 + r * scale + s) + x0, g[r], inkPixel, paperPixel,
                              scale);
    }
    return picture;
}

bool glyphsFromGridPicture(const Surface& picture, std::optional<Colour> paper, int first,
                           Charset& set, int& count, Colour& paperUsed, std::string& error) {
    if (firstCodeProblem(first, error)) return false;
    const std::string size = text(picture.width()) + " x " + text(picture.height());
    if (picture.empty() || picture.width() % 128 != 0) {
        error = "the picture is " + size +
                " pixels: a glyph grid is 16 glyphs of 8 pixels (128) wide, or a multiple of "
                "that at a larger scale";
        return false;
    }
    const int scale = picture.width() / 128;
    const int cell = 8 * scale;
    if (picture.height() % cell != 0) {
        error = "the picture is " + size + " pixels: at scale " + text(scale) +
                " (from the width) its height must be a multiple of " + text(cell);
        return false;
    }
    const Colour p = paperOf(coloursByCount(picture), paper);
    Charset read = set;
    const int held = 16 * (picture.height() / cell);
    for (int i = 0; i < held; ++i) {
        std::uint8_t rows[8];
        if (!readCell(picture, (i % 16) * cell, (i / 16) * cell, scale, p, rows, error))
            return false;
        if (first + i < GlyphCount) std::copy(rows, rows + 8, glyph(read, first + i).begin());
    }
    set = read;
    count = held;
    paperUsed = p;
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
    const std::uint32_t inkPixel = Surface::stored(ink);
    const std::uint32_t paperPixel = Surface::stored(paper);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* rowCodes = codes.data() + static_cast<std::size_t>(y) * width;
        for (int r = 0; r < 8; ++r) {
            const int top = y * cell + r * scale;
            std::uint32_t* out = picture.row(top);
            for (int x = 0; x < width; ++x)
                out = expandRowByte(out, glyph(set, rowCodes[x])[r], inkPixel, paperPixel, scale);
            for (int s = 1; s < scale; ++s)
                std::copy(picture.row(top), picture.row(top) + picture.width(),
                          picture.row(top + s));
        }
        if (!grid) continue;
        // The map window's dotted grid, over the glyphs: along each cell's top row paper at
        // offset 0 and at odd offsets, ink at the other even ones; down its left column ink
        // at odd offsets and paper at even ones, so the corner is paper.
        std::uint32_t* top = picture.row(y * cell);
        for (int x = 0; x < width * cell; ++x) {
            const int offset = x % cell;
            top[x] = (offset != 0 && offset % 2 == 0) ? inkPixel : paperPixel;
        }
        for (int offset = 1; offset < cell; ++offset) {
            std::uint32_t* row = picture.row(y * cell + offset);
            for (int x = 0; x < width; ++x)
                row[x * cell] = offset % 2 == 1 ? inkPixel : paperPixel;
        }
    }
    return picture;
}

bool cutScreenPicture(const Surface& picture, int scale, std::optional<Colour> paper, int first,
                      CutScreen& out, std::string& error) {
    if (firstCodeProblem(first, error)) return false;
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
    const std::vector<Colour> colours = coloursByCount(picture);
    CutScreen cut;
    cut.paper = paperOf(colours, paper);
    // The ink: the most common other colour; a picture of paper only gets its opposite.
    cut.ink = cut.paper ^ 0x00FFFFFFu;
    for (Colour c : colours)
        if (c != cut.paper) {
            cut.ink = c;
            break;
        }
    cut.width = picture.width() / cell;
    cut.height = picture.height() / cell;

    // Each distinct glyph once, numbered in order of first appearance, row by row.
    std::unordered_map<std::uint64_t, int> number;
    std::vector<std::uint64_t> distinct;
    std::vector<int> cells;
    cells.reserve(static_cast<std::size_t>(cut.width) * cut.height);
    for (int y = 0; y < cut.height; ++y)
        for (int x = 0; x < cut.width; ++x) {
            std::uint8_t rows[8];
            if (!readCell(picture, x * cell, y * cell, scale, cut.paper, rows, error)) return false;
            std::uint64_t key = 0;
            for (std::uint8_t r : rows)
                key = key << 8 | r;
            const auto [at, added] = number.try_emplace(key, static_cast<int>(distinct.size()));
            if (added) distinct.push_back(key);
            cells.push_back(at->second);
        }
    const int room = GlyphCount - first;
    if (static_cast<int>(distinct.size()) > room) {
        error = "the picture has " + text(static_cast<std::int64_t>(distinct.size())) +
                " distinct glyphs; codes " + text(first) + " to 255 hold only " + text(room);
        return false;
    }
    cut.glyphCount = static_cast<int>(distinct.size());
    for (int i = 0; i < cut.glyphCount; ++i) {
        Glyph g = glyph(cut.set, first + i);
        for (int r = 0; r < 8; ++r)
            g[r] = static_cast<std::uint8_t>(distinct[i] >> (56 - 8 * r));
    }
    cut.codes.reserve(cells.size());
    for (int n : cells)
        cut.codes.push_back(static_cast<std::uint8_t>(first + n));
    out = std::move(cut);
    return true;
}

} // namespace tessaly::formats
