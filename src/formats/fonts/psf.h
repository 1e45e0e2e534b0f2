#pragma once

#include "charset/charset.h"
#include "formats/fonts/font_glyphs.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Linux console fonts, PSF 1 and PSF 2. Glyphs up to 8 pixels wide and of any height are
// read, with the single characters of a Unicode table (sequences are skipped); the glyphs
// have no codes of their own, only their place. Written fonts are PSF 2 of 8x8 glyphs.

namespace tessaly::formats {

// Glyphs beyond this many are counted in `droppedGlyphs`, not kept.
constexpr int PsfGlyphLimit = 65536;

// False with a message naming the header field (by byte offset) that is wrong, or the
// width over 8 that the glyphs have.
bool readPsf(std::span<const std::uint8_t> bytes, FontGlyphs& font, std::string& error);

// A PSF 2 font of the glyphs first .. first+count-1; with `unicode` (each code's character,
// 0 for none) it carries a Unicode table, so the console shows a character by its glyph.
std::vector<std::uint8_t> writePsf(const Charset& set, int first, int count,
                                   const std::array<char32_t, GlyphCount>* unicode = nullptr);

} // namespace tessaly::formats
