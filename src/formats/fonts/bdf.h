#pragma once

#include "charset/charset.h"

#include "formats/fonts/font_glyphs.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// X11 bitmap fonts (BDF 2.1). The font's cell has its left edge at the glyph origin, the
// font's descent (FONT_DESCENT, or the negated y offset of FONTBOUNDINGBOX) at its bottom
// and at least 8 rows, more when FONT_ASCENT + FONT_DESCENT are more. Glyphs are placed in
// it by their BBX. A font whose CHARSET_REGISTRY is ISO10646 carries Unicode: ENCODING
// is the character.

namespace tessaly::formats {

// Keeps the glyphs with ENCODING 0..255 as their codes and, in a Unicode font, every
// other character too; the rest are counted in `droppedGlyphs` (as are Unicode glyphs
// beyond 255 that do not fit the cell). False with a message naming the line, and for a
// glyph its name and encoding, when the font is malformed or an inked pixel of a glyph
// with a code lies outside the cell.
bool readBdf(std::span<const std::uint8_t> bytes, FontGlyphs& font, std::string& error);

// A family name the XLFD name and FAMILY_NAME can hold: printable ASCII, spaces inside,
// none of the XLFD's '-', its wildcards '*' and '?', nor '"' or ','.
bool bdfFamilyAllowed(std::string_view name);

// A BDF font of the glyphs first .. first+count-1 in full 8x8 cells with a descent of one
// row, ENCODING the code; `name` becomes the family of its XLFD name. With `unicode`
// (each code's character, 0 for none) each glyph is named for its character as fonts
// name glyphs (uni0041, u1FB00), so tools that go by glyph names find the characters.
// With `held`, only the codes it has among them.
std::vector<std::uint8_t> writeBdf(const Charset& set, int first, int count,
                                   const std::string& name,
                                   const std::array<char32_t, GlyphCount>* unicode = nullptr,
                                   const std::bitset<GlyphCount>* held = nullptr);

} // namespace tessaly::formats
