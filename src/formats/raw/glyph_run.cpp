#include "formats/raw/glyph_run.h"

#include <algorithm>

namespace tessaly::formats {

void placeGlyphs(Charset& set, std::span<const std::uint8_t> rows, int first) {
    const std::size_t offset = static_cast<std::size_t>(first) * GlyphBytes;
    if (offset >= set.bytes.size()) return;
    const std::size_t n = std::min(rows.size(), set.bytes.size() - offset);
    std::copy_n(rows.begin(), n, set.bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

std::vector<std::uint8_t> glyphRows(const Charset& set, int first, int count) {
    const auto begin = set.bytes.begin() + static_cast<std::ptrdiff_t>(first) * GlyphBytes;
    return {begin, begin + static_cast<std::ptrdiff_t>(count) * GlyphBytes};
}

} // namespace tessaly::formats
