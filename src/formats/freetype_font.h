#pragma once

#include "formats/font_glyphs.h"

#include <cstdint>
#include <span>
#include <string>

// TrueType and OpenType (bitmap strikes, or outlines rendered monochrome), OTB, PCF and
// Windows .fon fonts, read through FreeType. The only file that uses FreeType.

namespace tessaly::formats {

// Reads the font in `bytes` (a .pcf.gz is gunzipped by the caller) at `pixelSize` rows:
// the bitmap strike of that height, or else the outlines rendered in black and white.
// A `pixelSize` of 0 reads a bitmap font of one size at its size, any other at 8.
// The cell is the face's advance wide and its ascent plus descent high; each glyph sits
// in it by the baseline, and pixels outside the cell are cut. Glyphs reachable through a
// Unicode character map carry their characters and, below 256, that code; through an
// 8-bit map only, its byte. False with a one-line message for bytes FreeType does not
// read, a size the font does not have, or glyphs wider than 8 pixels.
bool readFreeTypeFont(std::span<const std::uint8_t> bytes, int pixelSize, FontGlyphs& font,
                      std::string& error);

} // namespace tessaly::formats
