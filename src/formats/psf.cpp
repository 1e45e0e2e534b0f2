#include "formats/psf.h"

#include "formats/glyph_run.h"

#include <algorithm>

namespace tessaly::formats {

namespace {

constexpr std::uint8_t Psf1Magic[] = {0x36, 0x04};
constexpr std::uint8_t Psf2Magic[] = {0x72, 0xB5, 0x4A, 0x86};
constexpr std::size_t Psf1HeaderBytes = 4;
constexpr std::size_t Psf2HeaderBytes = 32;
constexpr int Psf1Has512 = 0x01;

std::uint32_t u32At(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16)) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::string hexBytes(std::span<const std::uint8_t> b) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (std::uint8_t v : b) {
        if (!out.empty()) out += ' ';
        out += digits[v >> 4];
        out += digits[v & 15];
    }
    return out;
}

// The glyphs end where the header says; the file must reach that far.
bool takeGlyphs(std::span<const std::uint8_t> bytes, std::uint64_t start, std::uint64_t count,
                const std::string& countField, PsfFont& font, std::string& error) {
    const std::uint64_t end = start + count * GlyphBytes;
    if (end > bytes.size()) {
        error = "the glyphs end at byte " + std::to_string(end) + " (" + countField + ": " +
                std::to_string(count) + " glyphs of 8 bytes from byte " + std::to_string(start) +
                "), but the file ends at byte " + std::to_string(bytes.size());
        return false;
    }
    font.glyphCount = static_cast<int>(count);
    const std::uint64_t kept = std::min<std::uint64_t>(count, GlyphCount) * GlyphBytes;
    font.rows.assign(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                     bytes.begin() + static_cast<std::ptrdiff_t>(start + kept));
    return true;
}

std::string onlyEightByEight(std::uint64_t width, std::uint64_t height) {
    return "the glyphs are " + std::to_string(width) + "x" + std::to_string(height) +
           " pixels; only 8x8 glyphs can be read";
}

bool readPsf1(std::span<const std::uint8_t> bytes, PsfFont& font, std::string& error) {
    if (bytes.size() < Psf1HeaderBytes) {
        error = "the PSF 1 header is cut short: " + std::to_string(bytes.size()) + " of 4 bytes";
        return false;
    }
    const int charSize = bytes[3];
    if (charSize != GlyphBytes) {
        error =
            onlyEightByEight(8, static_cast<std::uint64_t>(charSize)) + " (glyph height at byte 3)";
        return false;
    }
    font.version = 1;
    const int count = (bytes[2] & Psf1Has512) ? 512 : 256;
    return takeGlyphs(bytes, Psf1HeaderBytes, static_cast<std::uint64_t>(count), "mode byte 2",
                      font, error);
}

bool readPsf2(std::span<const std::uint8_t> bytes, PsfFont& font, std::string& error) {
    if (bytes.size() < Psf2HeaderBytes) {
        error = "the PSF 2 header is cut short: " + std::to_string(bytes.size()) + " of 32 bytes";
        return false;
    }
    const std::uint32_t version = u32At(bytes, 4), headerSize = u32At(bytes, 8);
    const std::uint32_t length = u32At(bytes, 16), charSize = u32At(bytes, 20);
    const std::uint32_t height = u32At(bytes, 24), width = u32At(bytes, 28);
    if (version != 0) {
        error = "unknown PSF 2 version " + std::to_string(version) + " at byte 4 (only 0 exists)";
        return false;
    }
    if (headerSize < Psf2HeaderBytes) {
        error = "the header size at byte 8 is " + std::to_string(headerSize) +
                ", less than the 32 bytes of a PSF 2 header";
        return false;
    }
    if (width != 8 || height != 8) {
        error = onlyEightByEight(width, height) + " (height at byte 24, width at byte 28)";
        return false;
    }
    if (charSize != GlyphBytes) {
        error = "the glyph size at byte 20 is " + std::to_string(charSize) +
                " bytes; 8x8 glyphs take 8";
        return false;
    }
    if (length == 0) {
        error = "the font holds no glyph (glyph count 0 at byte 16)";
        return false;
    }
    font.version = 2;
    return takeGlyphs(bytes, headerSize, length, "glyph count at byte 16", font, error);
}

} // namespace

bool readPsf(std::span<const std::uint8_t> bytes, PsfFont& font, std::string& error) {
    font = {};
    if (bytes.size() >= 2 && std::equal(std::begin(Psf1Magic), std::end(Psf1Magic), bytes.begin()))
        return readPsf1(bytes, font, error);
    if (bytes.size() >= 4 && std::equal(std::begin(Psf2Magic), std::end(Psf2Magic), bytes.begin()))
        return readPsf2(bytes, font, error);
    error = "not a PSF font: it starts with " +
            (bytes.empty() ? std::string("nothing")
                           : hexBytes(bytes.first(std::min<std::size_t>(bytes.size(), 4)))) +
            ", not 36 04 (PSF 1) or 72 B5 4A 86 (PSF 2)";
    return false;
}

std::vector<std::uint8_t> writePsf(const Charset& set, int first, int count) {
    std::vector<std::uint8_t> out(std::begin(Psf2Magic), std::end(Psf2Magic));
    putU32(out, 0);                                 // version
    putU32(out, Psf2HeaderBytes);                   // header size
    putU32(out, 0);                                 // flags: no Unicode table
    putU32(out, static_cast<std::uint32_t>(count)); // glyphs
    putU32(out, GlyphBytes);                        // bytes a glyph
    putU32(out, 8);                                 // height
    putU32(out, 8);                                 // width
    const std::vector<std::uint8_t> rows = glyphRows(set, first, count);
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

} // namespace tessaly::formats
