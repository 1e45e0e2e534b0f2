#pragma once

#include "charset/charset.h"

#include <cstdint>
#include <span>
#include <vector>

// A run of glyphs as files without codes hold them: 8 row bytes a glyph, the first glyph
// first. placeGlyphs is the one place such a run goes into a set: the editor's Open puts a
// file's bytes from the current character, the converter's font layout the glyphs of a
// raw, prg or PSF file (fitted to 8x8 first) from --at; both are cut at the set's end.

namespace tessaly::formats {

// Copies `rows` into the set from glyph `first` on, cut at the end of the set. A last,
// partial glyph changes only the rows it reaches.
void placeGlyphs(Charset& set, std::span<const std::uint8_t> rows, int first);

// The row bytes of the glyphs first .. first+count-1 (callers keep them inside the set).
std::vector<std::uint8_t> glyphRows(const Charset& set, int first, int count);

} // namespace tessaly::formats
