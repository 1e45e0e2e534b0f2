#pragma once

#include "charset/bit_reverse_table.h"
#include "charset/charset.h"

namespace tessaly {

enum class GlyphTransform {
    Invert = 0,
    Clear = 1,
    MirrorLeftRight = 2,
    ShiftLeft = 3,
    ShiftRight = 4,
    ShiftUp = 5,
    ShiftDown = 6,
    MirrorUpDown = 7,
};

// Transforms one glyph in place. Shifts wrap around within the glyph.
void transformGlyph(Glyph g, GlyphTransform op, const BitReverseTable& table);

} // namespace tessaly
