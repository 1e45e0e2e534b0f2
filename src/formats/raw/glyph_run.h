#pragma once

#include "charset/charset.h"

#include <cstdint>
#include <span>
#include <vector>

// Glyphs as the sequential formats (raw, prg, PSF) hold them: 8 row bytes a glyph, the
// first glyph first. The converter places such a run at a code and cuts it at the end of
// the set, as the editor's Open does from the current character.

namespace tessaly::formats {

// Copies `rows` into the set from glyph `first` on, cut at the end of the set. A last,
// partial glyph changes only the rows it reaches.
void placeGlyphs(Charset& set, std::span<const std::uint8_t> rows, int first);

// The row bytes of the glyphs first .. first+count-1 (callers keep them inside the set).
std::vector<std::uint8_t> glyphRows(const Charset& set, int first, int count);

} // namespace tessaly::formats
