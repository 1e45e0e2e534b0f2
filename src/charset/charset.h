#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

// The character store: 256 glyphs of 8 row bytes, the glyph of code c at bytes
// c*8 .. c*8+7. Row 0 is the top row; pixel column x (0 = leftmost) is the bit 0x80 >> x.

namespace tessaly {

constexpr int GlyphCount = 256;
constexpr int GlyphBytes = 8;
constexpr int CharsetBytes = GlyphCount * GlyphBytes;

struct Charset {
    std::array<std::uint8_t, CharsetBytes> bytes{};
};

using Glyph = std::span<std::uint8_t, GlyphBytes>;
using ConstGlyph = std::span<const std::uint8_t, GlyphBytes>;

// The glyph of `code`; callers pass 0..255.
inline Glyph glyph(Charset& set, int code) {
    return Glyph(set.bytes.data() + (code & 0xFF) * GlyphBytes, GlyphBytes);
}
inline ConstGlyph glyph(const Charset& set, int code) {
    return ConstGlyph(set.bytes.data() + (code & 0xFF) * GlyphBytes, GlyphBytes);
}

// Whether the glyph of `code` is the same in both sets.
inline bool sameGlyph(const Charset& a, const Charset& b, int code) {
    const ConstGlyph x = glyph(a, code);
    const ConstGlyph y = glyph(b, code);
    // std::equal, not std::ranges::equal: the browser build's library lacks the latter.
    return std::equal(x.begin(), x.end(), y.begin(), y.end());
}

constexpr std::uint8_t pixelMask(int column) { return static_cast<std::uint8_t>(0x80u >> column); }

} // namespace tessaly
