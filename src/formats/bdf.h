#pragma once

#include "charset/charset.h"

#include <bitset>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// X11 bitmap fonts (BDF 2.1). The 8x8 cell has its left edge at the glyph origin and the
// baseline under row 7 - descent, where descent is the font's FONT_DESCENT (or, without
// it, the negated y offset of FONTBOUNDINGBOX); BDF row y = 0, the first above the
// baseline, is cell row 7 - descent. Glyphs are placed by their BBX.

namespace tessaly::formats {

struct BdfFont {
    Charset set;              // glyphs at their ENCODING, blank elsewhere
    std::bitset<256> present; // the codes the font defines
    int glyphCount = 0;       // every glyph in the font, those beyond 0..255 included
};

// Reads the glyphs with ENCODING 0..255; others are skipped. False with a message naming
// the line, and for a glyph its name and encoding, when the font is malformed or an inked
// pixel of a glyph lies outside the cell.
bool readBdf(std::span<const std::uint8_t> bytes, BdfFont& font, std::string& error);

// A BDF font of the glyphs first .. first+count-1 in full 8x8 cells with a descent of one
// row; `name` becomes the family of its XLFD name.
std::vector<std::uint8_t> writeBdf(const Charset& set, int first, int count,
                                   const std::string& name);

} // namespace tessaly::formats
