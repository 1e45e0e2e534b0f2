#include "formats/pictures/png_codec.h"

#include "formats/pictures/picture.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

// libpng reports errors by longjmp back to the setjmp of the caller. Every function here
// that calls libpng where it can fail sets its own return point and holds no object with a
// destructor, so that the jump skips nothing; the C++ objects live in the callers.

namespace tessaly::formats {

namespace {

// One byte of deflate data never expands to more than 1032 bytes, whatever the data.
constexpr std::uint64_t MaxDeflateRatio = 1032;
// The most memory one ancillary chunk (text, profile) may take.
constexpr png_alloc_size_t MaxChunkBytes = 8u << 20;

struct ReadContext {
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;
    bool endedEarly = false;
    std::string message;
    std::string warning;
};

struct WriteContext {
    std::vector<std::uint8_t> out;
    std::string message;
};

// Keep libpng's message for the caller and return to its setjmp.
[[noreturn]] void keepWriteError(png_structp png, png_const_charp message) {
    static_cast<WriteContext*>(png_get_error_ptr(png))->message =
        message != nullptr ? message : "unknown error";
    png_longjmp(png, 1);
}

[[noreturn]] void keepReadError(png_structp png, png_const_charp message) {
    static_cast<ReadContext*>(png_get_error_ptr(png))->message =
        message != nullptr ? message : "unknown error";
    png_longjmp(png, 1);
}

// Warnings are not errors and are never printed; the last one is kept because it often
// explains an error that follows.
void keepWarning(png_structp png, png_const_charp message) {
    if (message != nullptr) static_cast<ReadContext*>(png_get_error_ptr(png))->warning = message;
}
void ignoreWarning(png_structp, png_const_charp) {}

void readBytes(png_structp png, png_bytep out, std::size_t length) {
    auto* c = static_cast<ReadContext*>(png_get_io_ptr(png));
    if (length > c->bytes.size() - c->position) {
        c->endedEarly = true;
        png_error(png, "the data ends early");
    }
    std::memcpy(out, c->bytes.data() + c->position, length);
    c->position += length;
}

void writeBytes(png_structp png, png_bytep data, std::size_t length) {
    auto* c = static_cast<WriteContext*>(png_get_io_ptr(png));
    bool stored = true;
    try {
        c->out.insert(c->out.end(), data, data + length);
    } catch (...) {
        stored = false;
    }
    if (!stored) png_error(png, "out of memory");
}

void flushNothing(png_structp) {}

struct Header {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitsPerPixel = 0; // as stored in the file
};

bool readHeader(png_structp png, png_infop info, Header& header) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    header.width = png_get_image_width(png, info);
    header.height = png_get_image_height(png, info);
    header.bitsPerPixel = png_get_bit_depth(png, info) * png_get_channels(png, info);
    return true;
}

// Asks for rows of 4 bytes a pixel, R, G, B and a fourth byte (alpha or filler) that the
// caller overwrites: a Surface row as it lies in memory. False on a libpng error or a
// layout other than that.
bool requestRgbx(png_structp png, png_infop info, png_uint_32 width) {
    if (setjmp(png_jmpbuf(png))) return false;
    const int colourType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (bitDepth == 16) png_set_scale_16(png);
    if ((colourType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
    // A tRNS chunk becomes alpha, so that the pixels it makes transparent are known.
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) png_set_tRNS_to_alpha(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER); // only where there is no alpha
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return png_get_bit_depth(png, info) == 8 && png_get_channels(png, info) == 4 &&
           png_get_rowbytes(png, info) == std::size_t{width} * 4;
}

// Reads the rows and the rest of the file, so that a file cut anywhere before its end is
// refused.
bool readRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

bool writeImage(png_structp png, png_infop info, const Surface& picture, png_bytep row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()),
                 static_cast<png_uint_32>(picture.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint32_t* in = picture.row(y);
        for (int x = 0; x < picture.width(); ++x) {
            row[3 * x] = static_cast<png_byte>(redOf(in[x]));
            row[3 * x + 1] = static_cast<png_byte>(greenOf(in[x]));
            row[3 * x + 2] = static_cast<png_byte>(blueOf(in[x]));
        }
        png_write_row(png, row);
    }
    png_write_end(png, info);
    return true;
}

// Frees libpng's structures whichever way decoding ends.
struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    explicit PngReader(ReadContext& context) {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, keepReadError, keepWarning);
        if (png != nullptr) info = png_create_info_struct(png);
    }
    ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
};

struct PngWriter {
    png_structp png = nullptr;
    png_infop info = nullptr;
    explicit PngWriter(WriteContext& context) {
        png =
            png_create_write_struct(PNG_LIBPNG_VER_STRING, &context, keepWriteError, ignoreWarning);
        if (png != nullptr) info = png_create_info_struct(png);
    }
    ~PngWriter() { png_destroy_write_struct(&png, &info); }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;
};

} // namespace

bool looksLikePng(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
}

bool decodePng(std::span<const std::uint8_t> bytes, Surface& picture, std::string& error) {
    if (!looksLikePng(bytes)) {
        error = "PNG: no PNG signature in the first 8 bytes";
        return false;
    }
    ReadContext context;
    context.bytes = bytes;
    PngReader reader(context);
    if (reader.info == nullptr) {
        error = "PNG: out of memory";
        return false;
    }
    const auto failure = [&] {
        error = context.endedEarly
                    ? "PNG: the data ends early, at byte " + std::to_string(bytes.size())
                    : "PNG: " + context.message +
                          (context.warning.empty() ? "" : ": " + context.warning) + " (near byte " +
                          std::to_string(context.position) + ")";
        return false;
    };
    png_set_read_fn(reader.png, &context, readBytes);
    png_set_chunk_malloc_max(reader.png, MaxChunkBytes);
    // Only the pixels count: text, profiles and the like are skipped, never inflated.
    png_set_keep_unknown_chunks(reader.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);

    Header header;
    if (!readHeader(reader.png, reader.info, header)) return failure();
    if (const std::string problem = pictureSizeProblem(header.width, header.height);
        !problem.empty()) {
        error = "PNG: " + problem;
        return false;
    }
    // A truncated or lying file must not make us allocate the picture it claims.
    const std::uint64_t storedBytes =
        (std::uint64_t{header.width} * header.height * header.bitsPerPixel + 7) / 8;
    const std::uint64_t rest = bytes.size() - context.position;
    if (storedBytes > rest * MaxDeflateRatio) {
        error = "PNG: " + std::to_string(header.width) + " x " + std::to_string(header.height) +
                " pixels cannot be held in the " + std::to_string(rest) + " bytes after byte " +
                std::to_string(context.position);
        return false;
    }
    if (!requestRgbx(reader.png, reader.info, header.width)) {
        if (context.message.empty()) context.message = "an unsupported pixel layout";
        return failure();
    }

    Surface decoded(static_cast<int>(header.width), static_cast<int>(header.height));
    std::vector<png_bytep> rows(header.height);
    for (int y = 0; y < decoded.height(); ++y)
        rows[static_cast<std::size_t>(y)] = reinterpret_cast<png_bytep>(decoded.row(y));
    if (!readRows(reader.png, rows.data())) return failure();
    // The fourth byte is alpha or filler (opaque): only alpha 0 counts.
    std::uint32_t* pixel = decoded.data();
    const std::size_t count = std::size_t{header.width} * header.height;
    for (std::size_t i = 0; i < count; ++i)
        pixel[i] = (pixel[i] >> 24) == 0 ? TransparentPixel : Surface::stored(pixel[i]);
    picture = std::move(decoded);
    return true;
}

std::vector<std::uint8_t> encodePng(const Surface& picture) {
    if (picture.empty()) return {};
    WriteContext context;
    PngWriter writer(context);
    if (writer.info == nullptr) return {};
    std::vector<png_byte> row(static_cast<std::size_t>(picture.width()) * 3);
    png_set_write_fn(writer.png, &context, writeBytes, flushNothing);
    if (!writeImage(writer.png, writer.info, picture, row.data())) return {};
    return std::move(context.out);
}

} // namespace tessaly::formats
