#include "formats/fonts/psf.h"

#include "formats/bytes.h"
#include "formats/raw/glyph_run.h"

#include <algorithm>

namespace tessaly::formats {

namespace {

constexpr std::uint8_t Psf1Magic[] = {0x36, 0x04};
constexpr std::uint8_t Psf2Magic[] = {0x72, 0xB5, 0x4A, 0x86};
constexpr std::size_t Psf1HeaderBytes = 4;
constexpr std::size_t Psf2HeaderBytes = 32;
constexpr int Psf1Has512 = 0x01;
constexpr int Psf1HasTable = 0x02;
constexpr std::uint32_t Psf2HasTable = 0x01;
constexpr std::uint32_t HeightLimit = 1024;

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

// The glyphs end where the header says; the file must reach that far. Gives the offset
// after the glyphs, where a Unicode table starts.
bool takeGlyphs(std::span<const std::uint8_t> bytes, std::uint64_t start, std::uint64_t count,
                std::uint64_t height, const std::string& countField, FontGlyphs& font,
                std::size_t& tableStart, std::string& error) {
    const std::uint64_t end = start + count * height;
    if (end > bytes.size()) {
        error = "the glyphs end at byte " + std::to_string(end) + " (" + countField + ": " +
                std::to_string(count) + " glyphs of " + std::to_string(height) +
                " bytes from byte " + std::to_string(start) + "), but the file ends at byte " +
                std::to_string(bytes.size());
        return false;
    }
    font.height = static_cast<int>(height);
    const std::uint64_t kept = std::min<std::uint64_t>(count, PsfGlyphLimit);
    font.droppedGlyphs = static_cast<int>(count - kept);
    font.glyphs.resize(kept);
    for (std::uint64_t i = 0; i < kept; ++i) {
        const auto from = bytes.begin() + static_cast<std::ptrdiff_t>(start + i * height);
        font.glyphs[i].rows.assign(from, from + static_cast<std::ptrdiff_t>(height));
    }
    tableStart = static_cast<std::size_t>(end);
    return true;
}

void addCharacter(FontGlyphs& font, std::size_t glyphIndex, char32_t c) {
    if (glyphIndex >= font.glyphs.size() || c > 0x10FFFF) return;
    font.glyphs[glyphIndex].unicode.push_back(c);
    font.hasUnicode = true;
}

// PSF 1: per glyph, 16-bit characters up to FFFF; a sequence starts with FFFE.
void readTable1(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t glyphs,
                FontGlyphs& font) {
    std::size_t glyphIndex = 0;
    bool inSequence = false;
    for (; at + 1 < bytes.size() && glyphIndex < glyphs; at += 2) {
        const char32_t v = static_cast<char32_t>(le16(bytes, at));
        if (v == 0xFFFF) {
            ++glyphIndex;
            inSequence = false;
        } else if (v == 0xFFFE) {
            inSequence = true;
        } else if (!inSequence) {
            addCharacter(font, glyphIndex, v);
        }
    }
}

// PSF 2: per glyph, UTF-8 characters up to FF; a sequence starts with FE.
void readTable2(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t glyphs,
                FontGlyphs& font) {
    std::size_t glyphIndex = 0;
    bool inSequence = false;
    while (at < bytes.size() && glyphIndex < glyphs) {
        const std::uint8_t b = bytes[at];
        if (b == 0xFF) {
            ++glyphIndex;
            inSequence = false;
            ++at;
            continue;
        }
        if (b == 0xFE) {
            inSequence = true;
            ++at;
            continue;
        }
        const int length = b < 0x80         ? 1
                           : (b >> 5) == 6  ? 2
                           : (b >> 4) == 14 ? 3
                           : (b >> 3) == 30 ? 4
                                            : 0;
        if (length == 0) { // a stray byte: step over it
            ++at;
            continue;
        }
        char32_t c = length == 1 ? b : (b & (0x7F >> length));
        bool whole = at + static_cast<std::size_t>(length) <= bytes.size();
        for (int i = 1; whole && i < length; ++i) {
            const std::uint8_t next = bytes[at + static_cast<std::size_t>(i)];
            whole = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!whole) {
            ++at;
            continue;
        }
        at += static_cast<std::size_t>(length);
        if (!inSequence) addCharacter(font, glyphIndex, c);
    }
}

std::string tooWide(std::uint64_t width, std::uint64_t height) {
    return "the glyphs are " + std::to_string(width) + "x" + std::to_string(height) +
           " pixels; only glyphs up to 8 pixels wide can be read";
}

bool readPsf1(std::span<const std::uint8_t> bytes, FontGlyphs& font, std::string& error) {
    if (bytes.size() < Psf1HeaderBytes) {
        error = "the PSF 1 header is cut short: " + std::to_string(bytes.size()) + " of 4 bytes";
        return false;
    }
    const int height = bytes[3];
    if (height == 0) {
        error = "the glyph height at byte 3 is 0";
        return false;
    }
    font.format = "PSF 1";
    const int count = (bytes[2] & Psf1Has512) ? 512 : 256;
    std::size_t table = 0;
    if (!takeGlyphs(bytes, Psf1HeaderBytes, static_cast<std::uint64_t>(count),
                    static_cast<std::uint64_t>(height), "mode byte 2", font, table, error))
        return false;
    if (bytes[2] & Psf1HasTable) readTable1(bytes, table, font.glyphs.size(), font);
    return true;
}

bool readPsf2(std::span<const std::uint8_t> bytes, FontGlyphs& font, std::string& error) {
    if (bytes.size() < Psf2HeaderBytes) {
        error = "the PSF 2 header is cut short: " + std::to_string(bytes.size()) + " of 32 bytes";
        return false;
    }
    const std::uint32_t version = le32(bytes, 4), headerSize = le32(bytes, 8);
    const std::uint32_t flags = le32(bytes, 12), length = le32(bytes, 16);
    const std::uint32_t charSize = le32(bytes, 20), height = le32(bytes, 24),
                        width = le32(bytes, 28);
    if (version != 0) {
        error = "unknown PSF 2 version " + std::to_string(version) + " at byte 4 (only 0 exists)";
        return false;
    }
    if (headerSize < Psf2HeaderBytes) {
        error = "the header size at byte 8 is " + std::to_string(headerSize) +
                ", less than the 32 bytes of a PSF 2 header";
        return false;
    }
    if (width > 8) {
        error = tooWide(width, height) + " (height at byte 24, width at byte 28)";
        return false;
    }
    if (width == 0 || height == 0 || height > HeightLimit) {
        error = "the glyphs are " + std::to_string(width) + "x" + std::to_string(height) +
                " pixels (height at byte 24, width at byte 28); fonts of 1 to " +
                std::to_string(HeightLimit) + " rows can be read";
        return false;
    }
    if (charSize != height) {
        error = "the glyph size at byte 20 is " + std::to_string(charSize) + " bytes; glyphs of " +
                std::to_string(width) + "x" + std::to_string(height) + " pixels take " +
                std::to_string(height);
        return false;
    }
    if (length == 0) {
        error = "the font holds no glyph (glyph count 0 at byte 16)";
        return false;
    }
    font.format = "PSF 2";
    font.width = static_cast<int>(width);
    std::size_t table = 0;
    if (!takeGlyphs(bytes, headerSize, length, height, "glyph count at byte 16", font, table,
                    error))
        return false;
    if (flags & Psf2HasTable) readTable2(bytes, table, font.glyphs.size(), font);
    return true;
}

void putUtf8(std::vector<std::uint8_t>& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<std::uint8_t>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<std::uint8_t>(0xC0 | (c >> 6)));
        out.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<std::uint8_t>(0xE0 | (c >> 12)));
        out.push_back(static_cast<std::uint8_t>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<std::uint8_t>(0xF0 | (c >> 18)));
        out.push_back(static_cast<std::uint8_t>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<std::uint8_t>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
    }
}

} // namespace

bool readPsf(std::span<const std::uint8_t> bytes, FontGlyphs& font, std::string& error) {
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

std::vector<std::uint8_t> writePsf(const Charset& set, int first, int count,
                                   const std::array<char32_t, GlyphCount>* unicode) {
    std::vector<std::uint8_t> out(std::begin(Psf2Magic), std::end(Psf2Magic));
    putLe32(out, 0);                                 // version
    putLe32(out, Psf2HeaderBytes);                   // header size
    putLe32(out, unicode ? Psf2HasTable : 0);        // flags
    putLe32(out, static_cast<std::uint32_t>(count)); // glyphs
    putLe32(out, GlyphBytes);                        // bytes a glyph
    putLe32(out, 8);                                 // height
    putLe32(out, 8);                                 // width
    const std::vector<std::uint8_t> rows = glyphRows(set, first, count);
    out.insert(out.end(), rows.begin(), rows.end());
    if (unicode) {
        for (int code = first; code < first + count; ++code) {
            const char32_t c = (*unicode)[static_cast<std::size_t>(code)];
            if (c != 0) putUtf8(out, c);
            out.push_back(0xFF);
        }
    }
    return out;
}

} // namespace tessaly::formats
