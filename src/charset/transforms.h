#pragma once

#include "charset/bit_reverse_table.h"
#include "charset/charset.h"

namespace tessaly {

struct App;

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

// Transforms the current character, or every code of the range when the range check
// box is set, then refreshes once.
void applyTransform(App& app, GlyphTransform op);

// Clears the whole store, whatever the range, then refreshes.
void eraseAll(App& app);

} // namespace tessaly
