#pragma once

#include "charset/charset.h"
#include "formats/fonts/font_glyphs.h"
#include "formats/machines/machine_orders.h"

#include <bitset>
#include <optional>
#include <string>
#include <vector>

// From a font as its reader finds it to the 256 glyphs of a set: each glyph fitted into
// the 8x8 cell by one rule for every format, then placed by its code, by its place in the
// file, or through Unicode in a machine's order.
//
// The fit: the glyph's left edge is the cell's left edge. A font up to 8 rows high sits
// with the bottom of its descent on the cell's bottom row, so its baseline is under row
// 7 - descent. A taller font gives the 8 rows from `firstRow` on and none without it.

namespace tessaly::formats {

struct FontLayout {
    std::optional<int> firstRow;         // of a font taller than 8 rows
    int at = 0;                          // by place: the code of the first glyph kept
    int skip = 0;                        // by place: glyphs left out at the start
    const MachineOrder* order = nullptr; // through Unicode in this order
};

struct LaidOutFont {
    Charset set;
    std::bitset<GlyphCount> present; // the codes a glyph went to
    std::vector<std::string> notes;  // what was left out, for standard error
};

// "the glyphs are 8x16 pixels..." when the font cannot be fitted as asked; "" when it can.
std::string fitProblem(const FontGlyphs& font, std::optional<int> firstRow);

// A glyph's 8 rows in the cell (the font fits, as fitProblem says).
std::array<std::uint8_t, GlyphBytes> fitGlyph(const FontGlyphs& font, const FontGlyph& glyph,
                                              std::optional<int> firstRow);

// False with a one-line message when the font cannot be laid out so.
bool layOutFont(const FontGlyphs& font, const FontLayout& layout, LaidOutFont& out,
                std::string& error);

// "U+00A3".
std::string codePointName(char32_t c);

// The codes of `present` as ranges: "0-9, 32, 65-90"; "none" for none.
std::string codeRanges(const std::bitset<GlyphCount>& present);

} // namespace tessaly::formats
