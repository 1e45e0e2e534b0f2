#pragma once

#include "charset/charset.h"
#include "platform/surface.h"

#include <string>

// Pixel rendering of the overview and the glyph editor, as plain functions on surfaces.

namespace tessaly {

constexpr Colour MarkerColour = rgb(0, 255, 127);
constexpr Colour HoverColour = rgb(0, 255, 0);
constexpr Colour DragTargetColour = rgb(255, 0, 0);

// All 256 glyphs as 16 x 16 cells of 2 x 2 blocks into a 256 x 256 surface.
void renderCharsetImage(Surface& image, const Charset& set, Colour ink, Colour paper);
// renderCharsetImage for an image that shows `shown` in the same colours: only the cells
// whose glyph differs are drawn again, so that a change to one glyph costs one cell.
void renderCharsetImageChanges(Surface& image, const Charset& set, const Charset& shown, Colour ink,
                               Colour paper);

// The checkerboard on the cell (column, row): pixels whose offsets add up to an odd
// number take the marker colour, the others keep the glyph.
void renderCursorMarker(Surface& canvas, int column, int row);

// The enlarged glyph: 8 x 8 cells of 16 pixels, ink squares of 15 x 15 from each cell's
// corner, and the dotted grid (white on even, black on odd positions) along x and
// y = 0, 16, ..., 112.
void renderGlyphEditor(Surface& canvas, ConstGlyph g, Colour ink, Colour paper);
// renderGlyphEditor for a canvas that shows the glyph `shown` in the same colours: only the
// rows of cells whose byte differs are drawn again.
void renderGlyphEditorChanges(Surface& canvas, ConstGlyph g, ConstGlyph shown, Colour ink,
                              Colour paper);

// "24,60,102,126,102,102,102,0": the row bytes in decimal.
std::string glyphDataText(ConstGlyph g);

} // namespace tessaly
