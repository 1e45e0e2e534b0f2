#include "formats/pictures/bmp.h"

#include "formats/bytes.h"
#include "formats/pictures/picture_limits.h"

namespace tessaly::formats {

namespace {

std::string text(std::int64_t n) {
    return std::to_string(n);
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

} // namespace

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

std::vector<std::uint8_t> encodeBmp(const Surface& image) {
    const std::uint32_t width = static_cast<std::uint32_t>(image.width());
    const std::uint32_t height = static_cast<std::uint32_t>(image.height());
    const std::uint32_t rowBytes = (width * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowBytes * height;
    constexpr std::uint32_t headerBytes = 14 + 40;

    std::vector<std::uint8_t> out;
    out.reserve(headerBytes + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    putLe32(out, headerBytes + pixelBytes);
    putLe32(out, 0); // reserved
    putLe32(out, headerBytes);
    putLe32(out, 40);
    putLe32(out, width);
    putLe32(out, height); // positive: bottom-up rows
    putLe16(out, 1);      // planes
    putLe16(out, 24);     // bits per pixel
    putLe32(out, 0);      // no compression
    putLe32(out, pixelBytes);
    putLe32(out, 2835); // 72 dpi
    putLe32(out, 2835);
    putLe32(out, 0);
    putLe32(out, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            const Colour c = image.pixel(x, y);
            out.push_back(static_cast<std::uint8_t>(blueOf(c)));
            out.push_back(static_cast<std::uint8_t>(greenOf(c)));
            out.push_back(static_cast<std::uint8_t>(redOf(c)));
        }
        for (std::uint32_t pad = width * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    return out;
}

} // namespace tessaly::formats
